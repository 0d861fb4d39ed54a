#include "search/DuplicateSearch.h"

#include "lists/Groups.h"
#include "lists/LineScan.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/PackedTexts.h"
#include "lists/RegionFolders.h"
#include "lists/SizeText.h"
#include "platform/FileContents.h"
#include "platform/ParallelInOrder.h"
#include "util/CaseFolding.h"
#include "util/Encoding.h"
#include "util/Errors.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>

namespace vyp {

namespace {

// A file line that may have a twin: a hash of its folded name and its size, and where it
// starts in its list file.
struct LineKey {
    uint64_t key;
    int64_t offset;
};

// The lines of one list are kept ordered by the top bits of their keys, so that the lines of
// every list that fall in one bucket are found side by side, a bucket small enough for the
// processor's caches.
constexpr int kBucketBits = 10;
constexpr size_t kBuckets = size_t{1} << kBucketBits;
size_t BucketOf(uint64_t key) {
    return static_cast<size_t>(key >> (64 - kBucketBits));
}

struct Stopped {};

// A hash of bytes of good enough quality that lines of different names rarely meet: a
// multiply-rotate over eight bytes at a time and the finaliser of MurmurHash3. Twins are
// compared exactly afterwards, so a collision costs time, never a wrong set.
uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 33;
    return h;
}

uint64_t KeySeed(size_t length, int64_t size) {
    return 0x9E3779B97F4A7C15ULL ^ (static_cast<uint64_t>(size) * 0xC2B2AE3D27D4EB4FULL) ^ length;
}

uint64_t KeyStep(uint64_t h, uint64_t word) {
    return std::rotl(h ^ (word * 0x87C37B91114253D5ULL), 31) * 0x4CF5AD432745937FULL;
}

// bytes is followed by at least eight zero bytes, so the last word is read whole.
uint64_t KeyOf(std::string_view bytes, int64_t size) {
    uint64_t h = KeySeed(bytes.size(), size);
    for (size_t i = 0; i < bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = KeyStep(h, word);
    }
    return Mix(h);
}

// The name of a file line folded for comparing, through a buffer reused line after line; eight
// zero bytes follow the folded name, as KeyOf reads them.
class NameFolder {
public:
    explicit NameFolder(TextEncoding encoding) : m_encoding(encoding) {}

    // KeyOf(Fold(name), size). A name of ASCII alone, as many are, is folded a word at a time
    // as it is hashed, without writing its folding out; readable is how far bytes may be read.
    uint64_t FoldedKey(std::string_view name, int64_t size, const char* readable) {
        if (m_encoding == TextEncoding::Utf8 &&
            static_cast<size_t>(readable - name.data()) >= name.size() + 8) {
            uint64_t h = KeySeed(name.size(), size);
            size_t i = 0;
            for (; i < name.size(); i += 8) {
                uint64_t word;
                std::memcpy(&word, name.data() + i, 8);
                word &= BitsBelow(8 * (name.size() - i));
                if ((word & 0x8080808080808080ULL) != 0)
                    break; // folded the long way, from the start
                h = KeyStep(h, LowerAsciiWord(word));
            }
            if (i >= name.size())
                return Mix(h);
        }
        return KeyOf(Fold(name), size);
    }

    std::string_view Fold(std::string_view name) {
        if (m_encoding != TextEncoding::Utf8) {
            m_decoded.clear();
            AppendAsUtf8(name, m_encoding, m_decoded);
            name = m_decoded;
        }
        if (m_folded.size() < CaseFoldingRoom(name.size()) + 8)
            m_folded.resize(CaseFoldingRoom(name.size()) + 64);
        char* end = WriteCaseFolded(name, m_folded.data());
        std::memset(end, 0, 8);
        return std::string_view(m_folded.data(), static_cast<size_t>(end - m_folded.data()));
    }

private:
    TextEncoding m_encoding;
    std::string m_decoded;
    std::string m_folded;
};

// Up to 18 plain digits, read eight at a time where eight bytes can be read; false for
// anything else. (Results go through a reference: an optional returned through memory costs
// a stall per line here.)
bool PlainDigits(const char* begin, const char* end, const char* readable, int64_t& value) {
    const auto count = static_cast<size_t>(end - begin);
    if (count >= 1 && count <= 8 && readable - begin >= 8) {
        uint64_t word;
        std::memcpy(&word, begin, 8);
        const uint64_t mine = BitsBelow(8 * count);
        const uint64_t threes = 0x3030303030303030ULL & mine;
        const uint64_t highNibbles = 0xF0F0F0F0F0F0F0F0ULL;
        if ((word & highNibbles & mine) != threes ||
            ((word + 0x0606060606060606ULL) & highNibbles & mine) != threes)
            return false;
        // The digits moved up so that zero bytes lead, then combined in pairs, fours, eights.
        word = (word & mine) << (8 * (8 - count));
        word = ((word & 0x0F0F0F0F0F0F0F0FULL) * 2561) >> 8;
        word = ((word & 0x00FF00FF00FF00FFULL) * 6553601) >> 16;
        value = static_cast<int64_t>(((word & 0x0000FFFF0000FFFFULL) * 42949672960001ULL) >> 32);
        return true;
    }
    if (count < 1 || count > 18)
        return false;
    value = 0;
    for (const char* p = begin; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    return true;
}

// A file line's size, when it has one that is a number of at least minSize; readable is how
// far bytes may be read. Sizes other than plain digits are read as every reader of sizes reads
// them.
bool SizeOf(const ScannedLine& line, int64_t minSize, const char* readable, int64_t& size) {
    if (line.tab1 == nullptr)
        return false;
    const char* begin = line.tab1 + 1;
    const char* end = line.tab2 != nullptr ? line.tab2 : line.end;
    if (!PlainDigits(begin, end, readable, size)) {
        const auto parsed =
            TryParseSizeText(std::string_view(begin, static_cast<size_t>(end - begin)));
        if (!parsed)
            return false;
        size = *parsed;
    }
    return size >= minSize;
}

std::string_view NameOf(const ScannedLine& line) {
    return std::string_view(line.begin, static_cast<size_t>(line.tab1 - line.begin));
}

// A list's keys ordered by bucket, in memory of their own that nothing writes before the keys:
// millions of them are written once each.
class OrderedKeys {
public:
    OrderedKeys() = default;
    explicit OrderedKeys(size_t size)
        : m_keys(std::make_unique_for_overwrite<LineKey[]>(size)), m_size(size) {}
    const LineKey* begin() const { return m_keys.get(); }
    const LineKey* end() const { return m_keys.get() + m_size; }
    LineKey* data() { return m_keys.get(); }
    size_t size() const { return m_size; }
    const LineKey& operator[](size_t i) const { return m_keys[i]; }

private:
    std::unique_ptr<LineKey[]> m_keys;
    size_t m_size = 0;
};

// The first reading of one list: the key of every file line that can join a set.
struct ListKeys {
    OrderedKeys keys; // ordered by bucket
    FileStamp stamp;
    TextEncoding encoding = TextEncoding::Utf8;
    std::string error;
};

// The keys of a list ordered by bucket; perBucket counts them, bucket by bucket.
OrderedKeys OrderedByBucket(std::vector<LineKey>& keys, const std::vector<size_t>& perBucket) {
    OrderedKeys ordered(keys.size());
    if (keys.size() < 4 * kBuckets) {
        std::sort(keys.begin(), keys.end(),
                  [](const LineKey& a, const LineKey& b) { return a.key < b.key; });
        std::copy(keys.begin(), keys.end(), ordered.data());
        return ordered;
    }
    std::vector<size_t> start(kBuckets, 0);
    std::exclusive_scan(perBucket.begin(), perBucket.end(), start.begin(), size_t{0});
    LineKey* out = ordered.data();
    for (const LineKey& key : keys)
        out[start[BucketOf(key.key)]++] = key;
    return ordered;
}

// Vectors that the keys of a list are gathered in, handed from one list to the next: each list
// after the first fills memory that is in use already, not fresh pages the system must supply.
class KeyBuffers {
public:
    std::vector<LineKey> Take() {
        const std::lock_guard lock(m_mutex);
        if (m_free.empty())
            return {};
        std::vector<LineKey> keys = std::move(m_free.back());
        m_free.pop_back();
        return keys;
    }
    void Give(std::vector<LineKey>&& keys) {
        keys.clear();
        const std::lock_guard lock(m_mutex);
        m_free.push_back(std::move(keys));
    }

private:
    std::mutex m_mutex;
    std::vector<std::vector<LineKey>> m_free;
};

// Opens a list to read. A replace is no single step for a reader on Windows: the name of a list
// being replaced can be missing for a moment, so a failed open is tried a few times more before
// its error counts.
void OpenList(std::optional<ListRegionReader>& reader, const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        try {
            reader.emplace(path);
            return;
        } catch (const VypisnikError&) {
            if (attempt == 4)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(attempt));
    }
}

// Opens a list's whole text, as OpenList opens it to read.
void OpenText(FileContents& text, const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        const int err = text.Open(path);
        if (err == 0)
            return;
        if (attempt == 4)
            throw VypisnikError(FileOpenErrorText(path, err));
        std::this_thread::sleep_for(std::chrono::milliseconds(attempt));
    }
}

// Where the line after the one that from lies in starts: past its line end (CR LF, CR or LF).
size_t NextLineStart(std::string_view text, size_t from) {
    const size_t end = text.find_first_of("\r\n", from);
    if (end == std::string_view::npos)
        return text.size();
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

// The first reading goes through a list's bytes as the file holds them (mapped where the system
// can), without copying them: their encoding is known before the first line, and lines are
// taken in pieces of this many bytes, between which the stop flag and the count are seen to.
constexpr size_t kKeyPiece = size_t{4} << 20;

ListKeys ReadKeys(const std::string& path, int64_t minSize, std::atomic<uint64_t>* linesRead,
                  const std::atomic<bool>* stop, KeyBuffers& buffers) {
    ListKeys result;
    std::vector<LineKey> keys = buffers.Take();
    std::vector<size_t> perBucket(kBuckets, 0);
    try {
        FileContents file;
        OpenText(file, path);
        result.stamp = file.Stamp();
        const std::string_view text = file.Bytes();
        result.encoding = IsValidUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Windows1250;
        // Lines of real lists take some 40 bytes: room for them at once rather than by doubling.
        keys.reserve(text.size() / 40);
        NameFolder folder(result.encoding);
        const char* const textEnd = text.data() + text.size();
        for (size_t from = NextLineStart(text, 0); from < text.size();) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                throw Stopped{};
            const size_t to = text.size() - from <= kKeyPiece
                                  ? text.size()
                                  : NextLineStart(text, from + kKeyPiece);
            const size_t lines =
                ForEachScannedLine(text.substr(from, to - from), [&](const ScannedLine& line) {
                    if (line.backslash != nullptr)
                        return; // a folder line
                    int64_t size = 0;
                    if (!SizeOf(line, minSize, textEnd, size) || line.tab1 == line.begin)
                        return;
                    const uint64_t key = folder.FoldedKey(NameOf(line), size, textEnd);
                    ++perBucket[BucketOf(key)];
                    keys.push_back({key, line.begin - text.data()});
                });
            if (linesRead != nullptr)
                linesRead->fetch_add(lines, std::memory_order_relaxed);
            from = to;
        }
    } catch (const VypisnikError& error) {
        result.error = error.what();
    }
    result.keys = OrderedByBucket(keys, perBucket);
    buffers.Give(std::move(keys));
    return result;
}

// A line of some list whose key another line shares.
struct Candidate {
    uint64_t key;
    int64_t offset;
    uint32_t list; // position among the searched lists
};

// The candidates of the buckets [first, last): lines whose key occurs twice or more over all
// lists. Each bucket's lines are counted in a small table of their own.
std::vector<Candidate> CandidatesOf(const std::vector<ListKeys>& lists, size_t first, size_t last) {
    std::vector<Candidate> candidates;
    std::vector<size_t> cursor(lists.size());
    for (size_t l = 0; l < lists.size(); ++l) {
        const OrderedKeys& keys = lists[l].keys;
        cursor[l] = static_cast<size_t>(
            std::partition_point(keys.begin(), keys.end(),
                                 [first](const LineKey& k) { return BucketOf(k.key) < first; }) -
            keys.begin());
    }
    std::vector<Candidate> gathered;
    std::vector<uint32_t> table;
    std::vector<unsigned char> twin;
    constexpr uint32_t kEmpty = UINT32_MAX;
    for (size_t bucket = first; bucket < last; ++bucket) {
        gathered.clear();
        for (size_t l = 0; l < lists.size(); ++l) {
            const OrderedKeys& keys = lists[l].keys;
            size_t& i = cursor[l];
            for (; i < keys.size() && BucketOf(keys[i].key) == bucket; ++i)
                gathered.push_back({keys[i].key, keys[i].offset, static_cast<uint32_t>(l)});
        }
        if (gathered.size() < 2)
            continue;
        table.assign(std::bit_ceil(gathered.size() * 2), kEmpty);
        twin.assign(gathered.size(), 0);
        const size_t mask = table.size() - 1;
        for (uint32_t g = 0; g < gathered.size(); ++g) {
            size_t slot = static_cast<size_t>(gathered[g].key) & mask;
            while (table[slot] != kEmpty && gathered[table[slot]].key != gathered[g].key)
                slot = (slot + 1) & mask;
            if (table[slot] == kEmpty) {
                table[slot] = g;
            } else {
                twin[table[slot]] = 1;
                twin[g] = 1;
            }
        }
        for (size_t g = 0; g < gathered.size(); ++g) {
            if (twin[g] != 0)
                candidates.push_back(gathered[g]);
        }
    }
    return candidates;
}

// The candidates of one list taken whole on the second reading.
struct Copies {
    SearchRows rows;              // file rows, decoded
    PackedTexts<1> foldedNames;   // by row
    std::vector<uint64_t> keys;   // by row
    std::vector<int64_t> sizes;   // by row
    std::vector<int64_t> offsets; // by row
    std::string error;
};

Copies ReadCopies(const std::string& path, const std::string& listName, const ListKeys& first,
                  int32_t listIndex, std::vector<Candidate>::const_iterator begin,
                  std::vector<Candidate>::const_iterator end, int64_t minSize,
                  const std::atomic<bool>* stop) {
    Copies copies;
    std::optional<ListRegionReader> opened;
    try {
        OpenList(opened, path);
    } catch (const VypisnikError&) {
        // Read in the first pass: a list that cannot be opened now was replaced or removed
        // since.
        copies.error = ListChangedWhileReadText(listName);
        return copies;
    }
    try {
        ListRegionReader& reader = *opened;
        if (reader.Stamp() != first.stamp) {
            copies.error = ListChangedWhileReadText(listName);
            return copies;
        }
        NameFolder folder(first.encoding);
        ListRegion region;
        auto next = begin;
        while (next != end && reader.Next(region)) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                throw Stopped{};
            const char* floor = region.lines.data();
            const char* regionEnd = floor + region.lines.size();
            const int64_t regionEndOffset =
                region.offset + static_cast<int64_t>(region.lines.size());
            RegionFolders folders(region);
            for (; next != end && next->offset < regionEndOffset; ++next) {
                if (next->offset < region.offset)
                    continue; // not a line start any more: the list changed
                const char* lineBegin = floor + (next->offset - region.offset);
                if (lineBegin != floor && lineBegin[-1] != '\n' && lineBegin[-1] != '\r')
                    continue;
                ScannedLine line{lineBegin, LineEndAfter(lineBegin, regionEnd), nullptr, nullptr,
                                 nullptr};
                const std::string_view text(line.begin, static_cast<size_t>(line.end - line.begin));
                if (text.find('\\') != std::string_view::npos)
                    continue;
                const size_t tab1 = text.find('\t');
                if (tab1 == std::string_view::npos || tab1 == 0)
                    continue;
                line.tab1 = line.begin + tab1;
                const size_t tab2 = text.find('\t', tab1 + 1);
                line.tab2 = tab2 == std::string_view::npos ? nullptr : line.begin + tab2;
                int64_t size = 0;
                if (!SizeOf(line, minSize, regionEnd, size))
                    continue;
                const std::string_view folded = folder.Fold(NameOf(line));
                if (KeyOf(folded, size) != next->key)
                    continue; // the line is not the one read before
                const ListLineFields fields = SplitListLine(text);
                copies.rows.Add(listIndex, false, folders.FolderOf(lineBegin), fields.field[0],
                                fields.field[1], fields.count > 2 ? fields.field[2] : "",
                                fields.count > 3 ? fields.field[3] : "");
                copies.foldedNames.Add({folded});
                copies.keys.push_back(next->key);
                copies.sizes.push_back(size);
                copies.offsets.push_back(next->offset);
            }
        }
    } catch (const VypisnikError& error) {
        copies.error = error.what();
    }
    copies.rows.DecodeFrom(0, first.encoding);
    return copies;
}

int64_t SaturatingProduct(int64_t size, size_t times) {
    if (size <= 0 || times == 0)
        return 0;
    if (static_cast<uint64_t>(size) > static_cast<uint64_t>(INT64_MAX) / times)
        return INT64_MAX;
    return size * static_cast<int64_t>(times);
}

int64_t SaturatingSum(int64_t a, int64_t b) {
    return a > INT64_MAX - b ? INT64_MAX : a + b;
}

} // namespace

std::string ListChangedWhileReadText(std::string_view listName) {
    return "Seznam \"" + std::string(listName) +
           "\" se během hledání změnil; jeho soubory nejsou mezi duplicitami. Hledejte znovu.";
}

DuplicateResult FindDuplicates(const ListRegistry& registry, const DuplicateQuery& query,
                               const NameComparison& compareNames, std::atomic<uint64_t>* linesRead,
                               const std::atomic<bool>* stop) {
    DuplicateResult result;
    std::vector<size_t> searched; // registry indexes
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (query.groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) -
                                             kFirstGroup)])
            searched.push_back(i);
    }
    try {
        // First reading: the keys of every list, side by side.
        std::vector<ListKeys> lists(searched.size());
        KeyBuffers buffers;
        ParallelInOrder<ListKeys>(
            searched.size(),
            [&](size_t k) {
                return ReadKeys(registry.ListPaths[searched[k]], query.minSize, linesRead, stop,
                                buffers);
            },
            [&](size_t k, ListKeys&& keys) {
                if (!keys.error.empty())
                    result.errors.push_back(keys.error);
                lists[k] = std::move(keys);
            });

        // The lines whose key occurs twice or more, bucket by bucket on every core.
        constexpr size_t kChunks = 64;
        std::vector<Candidate> candidates;
        ParallelInOrder<std::vector<Candidate>>(
            kChunks,
            [&](size_t chunk) {
                if (stop != nullptr && stop->load(std::memory_order_relaxed))
                    throw Stopped{};
                return CandidatesOf(lists, chunk * kBuckets / kChunks,
                                    (chunk + 1) * kBuckets / kChunks);
            },
            [&](size_t, std::vector<Candidate>&& found) {
                candidates.insert(candidates.end(), found.begin(), found.end());
            });
        for (ListKeys& list : lists)
            list.keys = {};
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return a.list != b.list ? a.list < b.list : a.offset < b.offset;
        });

        // Second reading: the candidates whole, list by list, side by side.
        std::vector<size_t> listStart; // where each list's candidates start, and the end
        std::vector<uint32_t> withCandidates;
        for (size_t c = 0; c < candidates.size(); ++c) {
            if (c == 0 || candidates[c].list != candidates[c - 1].list) {
                listStart.push_back(c);
                withCandidates.push_back(candidates[c].list);
            }
        }
        listStart.push_back(candidates.size());
        std::vector<Copies> copies(withCandidates.size());
        ParallelInOrder<Copies>(
            withCandidates.size(),
            [&](size_t k) {
                const size_t registryIndex = searched[withCandidates[k]];
                return ReadCopies(registry.ListPaths[registryIndex],
                                  ListNameOf(registry.ListInfos[registryIndex]),
                                  lists[withCandidates[k]], static_cast<int32_t>(registryIndex),
                                  candidates.begin() + static_cast<ptrdiff_t>(listStart[k]),
                                  candidates.begin() + static_cast<ptrdiff_t>(listStart[k + 1]),
                                  query.minSize, stop);
            },
            [&](size_t k, Copies&& taken) {
                if (!taken.error.empty() && lists[withCandidates[k]].error.empty())
                    result.errors.push_back(taken.error);
                copies[k] = std::move(taken);
            });
        candidates = {};

        // The sets: copies of one folded name and one size, by key first.
        struct CopyRef {
            uint32_t list; // in copies
            uint32_t row;
        };
        std::vector<CopyRef> all;
        for (uint32_t k = 0; k < copies.size(); ++k) {
            for (uint32_t r = 0; r < copies[k].rows.size(); ++r)
                all.push_back({k, r});
        }
        auto keyOf = [&](const CopyRef& c) {
            return copies[c.list].keys[c.row];
        };
        auto sizeOf = [&](const CopyRef& c) {
            return copies[c.list].sizes[c.row];
        };
        auto foldedOf = [&](const CopyRef& c) {
            return copies[c.list].foldedNames.Field(c.row, 0);
        };
        auto sameSet = [&](const CopyRef& a, const CopyRef& b) {
            return keyOf(a) == keyOf(b) && sizeOf(a) == sizeOf(b) && foldedOf(a) == foldedOf(b);
        };
        // Copies of a set end up by list and line: the lists are in registry order already.
        std::sort(all.begin(), all.end(), [&](const CopyRef& a, const CopyRef& b) {
            if (keyOf(a) != keyOf(b))
                return keyOf(a) < keyOf(b);
            if (sizeOf(a) != sizeOf(b))
                return sizeOf(a) < sizeOf(b);
            if (const int names = foldedOf(a).compare(foldedOf(b)); names != 0)
                return names < 0;
            if (a.list != b.list)
                return a.list < b.list;
            return a.row < b.row;
        });
        struct FoundSet {
            size_t first; // in all
            size_t count;
            int64_t wasted;
        };
        std::vector<FoundSet> sets;
        for (size_t begin = 0; begin < all.size();) {
            size_t end = begin + 1;
            while (end < all.size() && sameSet(all[begin], all[end]))
                ++end;
            if (end - begin >= 2)
                sets.push_back(
                    {begin, end - begin, SaturatingProduct(sizeOf(all[begin]), end - begin - 1)});
            begin = end;
        }
        auto nameOf = [&](const FoundSet& set) {
            const CopyRef& c = all[set.first];
            return copies[c.list].rows[c.row].Name();
        };
        std::stable_sort(sets.begin(), sets.end(), [&](const FoundSet& a, const FoundSet& b) {
            if (a.wasted != b.wasted)
                return a.wasted > b.wasted;
            if (compareNames) {
                if (const int names = compareNames(nameOf(a), nameOf(b)); names != 0)
                    return names < 0;
            }
            if (const int folded = foldedOf(all[a.first]).compare(foldedOf(all[b.first]));
                folded != 0)
                return folded < 0;
            return sizeOf(all[a.first]) > sizeOf(all[b.first]);
        });
        for (const FoundSet& set : sets) {
            result.sets.push_back(
                {result.copies.size(), set.count, sizeOf(all[set.first]), set.wasted});
            result.wasted = SaturatingSum(result.wasted, set.wasted);
            for (size_t c = set.first; c < set.first + set.count; ++c) {
                const SearchRow row = copies[all[c].list].rows[all[c].row];
                const std::string_view path = row.Path();
                const std::string_view name = row.Name();
                result.copies.Add(row.ListIndex(), false, path.substr(0, path.size() - name.size()),
                                  name, row.SizeText(), row.DateText(), row.TimeText());
            }
        }
        result.copies.ShrinkToFit();
    } catch (const Stopped&) {
        DuplicateResult stopped;
        stopped.stopped = true;
        return stopped;
    }
    return result;
}

} // namespace vyp
