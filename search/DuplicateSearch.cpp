#include "search/DuplicateSearch.h"

#include "lists/Groups.h"
#include "lists/LineMasks.h"
#include "lists/LineScan.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/PackedTexts.h"
#include "lists/RegionFolders.h"
#include "lists/SizeText.h"
#include "platform/FileContents.h"
#include "platform/ParallelInOrder.h"
#include "search/FoldedNameKey.h"
#include "util/CaseFolding.h"
#include "util/Encoding.h"
#include "util/Errors.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vyp {

namespace {

// The keys of file lines that may have a twin are kept by bucket, the top bits of the key, as
// they are made: the lines of every list that fall in one bucket are then found side by side,
// a bucket small enough for the processor's caches, with no ordering pass over them.
constexpr int kBucketBits = 9;
constexpr size_t kBuckets = size_t{1} << kBucketBits;
size_t BucketOf(uint64_t key) {
    return static_cast<size_t>(key >> (64 - kBucketBits));
}
// Each line keeps 32 more bits of its key, below the bucket's: lines whose 42 bits agree are
// candidates, which the second reading keys again in full and compares exactly.
uint32_t KeptBitsOf(uint64_t key) {
    return static_cast<uint32_t>(key >> (64 - kBucketBits - 32));
}
uint64_t TopBitsOf(uint64_t key) {
    return key >> (64 - kBucketBits - 32);
}

// Where a line starts among all the searched lists: the list's position among them above, the
// line's offset in its file below.
constexpr int kOffsetBits = 40;
uint64_t PlaceOf(size_t list, int64_t offset) {
    return static_cast<uint64_t>(list) << kOffsetBits | static_cast<uint64_t>(offset);
}

// Keys of one bucket in eight bytes each: the kept bits of the key above, the line's place less
// the block's first place below. Blocks are filled one after another as lines come.
struct KeyBlock {
    static constexpr size_t kEntries = 508; // a block of 4 KiB
    KeyBlock* older;
    uint64_t base; // the place of the first entry
    size_t count;
    uint64_t entries[kEntries];
};

// The keys one worker made, bucket by bucket, over the lists it read one after another.
class BucketedKeys {
public:
    BucketedKeys() : m_open(kBuckets) {}

    void Add(uint64_t key, uint64_t place) {
        Open& open = m_open[BucketOf(key)];
        uint64_t delta = place - open.base;
        if (open.next == open.end || delta > UINT32_MAX) {
            NewBlock(open, place);
            delta = 0;
        }
        *open.next++ = static_cast<uint64_t>(KeptBitsOf(key)) << 32 | delta;
    }

    // Counts the keys of the blocks still open, once adding is done.
    void Finish() {
        for (Open& open : m_open) {
            if (open.block != nullptr)
                open.block->count = static_cast<size_t>(open.next - open.block->entries);
        }
    }
    // The newest block of bucket; each holds the one before it.
    const KeyBlock* Newest(size_t bucket) const { return m_open[bucket].block; }
    // How many keys bucket holds, once adding is done: known without going through its blocks,
    // each of which is a fresh miss of the caches.
    size_t Count(size_t bucket) const {
        const Open& open = m_open[bucket];
        return open.block == nullptr ? 0 : open.closed + open.block->count;
    }

    struct Open {
        uint64_t* next = nullptr;
        uint64_t* end = nullptr;
        uint64_t base = 0;
        KeyBlock* block = nullptr;
        size_t closed = 0; // keys in the blocks before block
    };
    // What has been added so far, to go back to: the keys added after it are forgotten (their
    // blocks stay taken until the keys are released).
    using Mark = std::vector<Open>;
    Mark MarkNow() const { return m_open; }
    void GoBackTo(const Mark& mark) { m_open = mark; }

private:
    static constexpr size_t kBlocksAtOnce = 1024;

    void NewBlock(Open& open, uint64_t place) {
        if (m_free == m_freeEnd) {
            // Nothing writes the blocks before the keys: millions of keys are written once each.
            m_chunks.push_back(std::make_unique_for_overwrite<KeyBlock[]>(kBlocksAtOnce));
            m_free = m_chunks.back().get();
            m_freeEnd = m_free + kBlocksAtOnce;
        }
        KeyBlock* block = m_free++;
        if (open.block != nullptr) {
            open.block->count = static_cast<size_t>(open.next - open.block->entries);
            open.closed += open.block->count;
        }
        block->older = open.block;
        block->base = place;
        block->count = 0;
        open.block = block;
        open.next = block->entries;
        open.end = block->entries + KeyBlock::kEntries;
        open.base = place;
    }

    std::vector<Open> m_open; // by bucket
    std::vector<std::unique_ptr<KeyBlock[]>> m_chunks;
    KeyBlock* m_free = nullptr;
    KeyBlock* m_freeEnd = nullptr;
};

// The keys of every worker: each list is read by one worker into keys that no other worker
// writes at the time.
class KeyStore {
public:
    BucketedKeys* Take() {
        const std::lock_guard lock(m_mutex);
        if (m_free.empty()) {
            m_all.push_back(std::make_unique<BucketedKeys>());
            return m_all.back().get();
        }
        BucketedKeys* keys = m_free.back();
        m_free.pop_back();
        return keys;
    }
    void Give(BucketedKeys* keys) {
        const std::lock_guard lock(m_mutex);
        m_free.push_back(keys);
    }
    // Every worker's keys, once all lists are read.
    const std::vector<std::unique_ptr<BucketedKeys>>& Finished() {
        for (auto& keys : m_all)
            keys->Finish();
        return m_all;
    }
    void Release() {
        m_free.clear();
        m_all.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<BucketedKeys*> m_free;
    std::vector<std::unique_ptr<BucketedKeys>> m_all;
};

struct Stopped {};

// The name of a file line keyed and folded for comparing, through buffers reused line after
// line; a list in Windows-1250 is keyed by its decoded names.
class NameFolder {
public:
    explicit NameFolder(TextEncoding encoding) : m_encoding(encoding) {}

    // The key of name and size; readable is how far bytes may be read.
    uint64_t Key(std::string_view name, int64_t size, const char* readable) {
        if (m_encoding == TextEncoding::Utf8)
            return m_key.Of(name, size, readable);
        m_decoded.clear();
        AppendAsUtf8(name, m_encoding, m_decoded);
        return m_key.Of(m_decoded, size);
    }

    std::string_view Fold(std::string_view name) {
        if (m_encoding != TextEncoding::Utf8) {
            m_decoded.clear();
            AppendAsUtf8(name, m_encoding, m_decoded);
            name = m_decoded;
        }
        if (m_folded.size() < CaseFoldingRoom(name.size()))
            m_folded.resize(CaseFoldingRoom(name.size()) + 64);
        char* end = WriteCaseFolded(name, m_folded.data());
        return std::string_view(m_folded.data(), static_cast<size_t>(end - m_folded.data()));
    }

private:
    TextEncoding m_encoding;
    FoldedNameKey m_key;
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

// The first reading of one list: what the second needs to know the list again by.
struct ListKeys {
    FileStamp stamp;
    TextEncoding encoding = TextEncoding::Utf8;
    std::string error;
};

// Opens a list's whole text to read. A replace is no single step for a reader on Windows: the
// name of a list being replaced can be missing for a moment, so a failed open is tried a few
// times more before its error counts.
void OpenText(FileContents& text, const std::string& path, FileContents::Reading reading) {
    for (int attempt = 1;; ++attempt) {
        const int err = text.Open(path, reading);
        if (err == 0)
            return;
        if (attempt == 4)
            throw VypisnikError(FileOpenErrorText(path, err));
        std::this_thread::sleep_for(std::chrono::milliseconds(attempt));
    }
}

// Where the line after the one that from lies in starts: past its line end (CR LF, CR or LF).
size_t NextLineStart(std::string_view text, size_t from) {
    const char* end = text.data() + text.size();
    return static_cast<size_t>(PastLineBreak(LineEndAfter(text.data() + from, end), end) -
                               text.data());
}

// The first reading goes through a list's bytes as the file holds them (mapped where the system
// can), without copying them, in pieces of this many bytes: small enough to stay in the
// processor's nearest cache from their UTF-8 check through their line masks to their keys
// (pieces of 64 and 512 KiB took some 3 % more); between pieces the stop flag and the count are
// seen to.
constexpr size_t kKeyPiece = size_t{16} << 10;
// The line masks of so many blocks of 64 bytes are found at once: a piece with the line it ends
// in, mostly, in 8 KiB of masks.
constexpr size_t kMaskBatch = 264;

ListKeys ReadKeys(const std::string& path, const std::string& listName, size_t list,
                  int64_t minSize, std::atomic<uint64_t>* linesRead, const std::atomic<bool>* stop,
                  BucketedKeys& keys) {
    ListKeys result;
    try {
        FileContents file;
        OpenText(file, path, FileContents::Reading::Through);
        result.stamp = file.Stamp();
        const std::string_view text = file.Bytes();
        if (text.size() >> kOffsetBits != 0)
            throw VypisnikError(FileOpenErrorText(path, EFBIG));
        // Each piece is checked for UTF-8 just before its lines are keyed, while its bytes are
        // in the processor's cache; lines end at ASCII bytes, so the pieces are valid UTF-8
        // exactly when the whole text is. Should a piece not be, the list is Windows-1250 and
        // its keys so far are made again.
        const size_t firstLine = NextLineStart(text, 0);
        result.encoding =
            IsValidUtf8(text.substr(0, firstLine)) ? TextEncoding::Utf8 : TextEncoding::Windows1250;
        std::optional<BucketedKeys::Mark> before;
        if (result.encoding == TextEncoding::Utf8)
            before = keys.MarkNow();
        uint64_t counted = 0;
        NameFolder folder(result.encoding);
        const LineMaskWay maskWay = FastestLineMasks();
        line_scan::BlockMasks masks[kMaskBatch];
        const char* const textEnd = text.data() + text.size();
        const uint64_t listPlace = PlaceOf(list, 0);
        for (size_t from = firstLine; from < text.size();) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                throw Stopped{};
            const size_t to = text.size() - from <= kKeyPiece
                                  ? text.size()
                                  : NextLineStart(text, from + kKeyPiece);
            if (result.encoding == TextEncoding::Utf8 &&
                !IsValidUtf8(text.substr(from, to - from))) {
                result.encoding = TextEncoding::Windows1250;
                folder = NameFolder(result.encoding);
                keys.GoBackTo(*before);
                before.reset();
                if (linesRead != nullptr)
                    linesRead->fetch_sub(counted, std::memory_order_relaxed);
                from = firstLine;
                continue;
            }
            // The masks of the piece's blocks found a batch at a time, ahead of the lines.
            const std::string_view piece = text.substr(from, to - from);
            size_t batchFirst = 0; // the block of masks[0]
            FindLineMasks(maskWay, piece.substr(0, std::min(piece.size(), 64 * kMaskBatch)), masks);
            auto masksOf = [&](size_t block, const char*) VYP_LINE_SCAN_INLINE {
                size_t at = block / 64 - batchFirst;
                if (at == kMaskBatch) {
                    batchFirst += kMaskBatch;
                    at = 0;
                    const size_t start = 64 * batchFirst;
                    FindLineMasks(
                        maskWay,
                        piece.substr(start, std::min(piece.size() - start, 64 * kMaskBatch)),
                        masks);
                }
                return masks[at];
            };
            const size_t lines = ForEachScannedLineOf(
                piece, masksOf, [&](const ScannedLine& line) VYP_LINE_SCAN_INLINE {
                    if (line.backslash != nullptr)
                        return; // a folder line
                    int64_t size = 0;
                    if (!SizeOf(line, minSize, textEnd, size) || line.tab1 == line.begin)
                        return;
                    keys.Add(folder.Key(NameOf(line), size, textEnd),
                             listPlace + static_cast<uint64_t>(line.begin - text.data()));
                });
            if (linesRead != nullptr)
                linesRead->fetch_add(lines, std::memory_order_relaxed);
            counted += lines;
            from = to;
        }
        if (file.CutShort()) {
            // Its keys may come from zeros: the second reading, finding no such stamp, skips it.
            result.error = ListChangedWhileReadText(listName);
            result.stamp.size = -1;
        }
    } catch (const VypisnikError& error) {
        result.error = error.what();
    }
    return result;
}

// A line of some list whose key another line shares, as far as the kept bits tell.
struct Candidate {
    uint64_t topBits; // of its key
    int64_t offset;
    uint32_t list; // position among the searched lists
};

// The candidates of the buckets [first, last): lines whose kept bits occur twice or more over
// all lists. Each bucket's lines are gone through twice. First their kept bits' low bits are
// marked in a filter of two bits a value (met, met again) small enough for the processor's second
// cache, with no branch on what is found: nearly every line of a large catalogue is met once, and
// a table looked up line by line guessed wrong wherever a slot was taken. Then the lines whose
// low bits were met again, a few in a hundred, are gathered and sorted by their kept bits, which
// tells the lines that share them.
std::vector<Candidate> CandidatesOf(const std::vector<std::unique_ptr<BucketedKeys>>& workers,
                                    size_t first, size_t last) {
    std::vector<Candidate> candidates;
    struct FilterWord {
        uint64_t met = 0;
        uint64_t again = 0;
    };
    std::vector<FilterWord> filter;
    struct Gathered {
        uint32_t kept;
        uint64_t place;
    };
    std::vector<Gathered> gathered;
    auto forEachEntry = [&](size_t bucket, auto onEntry) {
        for (const auto& keys : workers) {
            for (const KeyBlock* block = keys->Newest(bucket); block != nullptr;
                 block = block->older) {
                __builtin_prefetch(block->older); // the next block's head, while this one is read
                for (size_t e = 0; e < block->count; ++e)
                    onEntry(block->entries[e], block->base);
            }
        }
    };
    for (size_t bucket = first; bucket < last; ++bucket) {
        size_t count = 0;
        for (const auto& keys : workers)
            count += keys->Count(bucket);
        if (count < 2)
            continue;
        // Some 32 bits a line: 3 % of the lines met once are let through by the filter.
        const size_t bits = std::bit_ceil(count * 32);
        filter.assign(bits / 64, FilterWord{});
        const size_t mask = bits - 1;
        forEachEntry(bucket, [&](uint64_t entry, uint64_t) {
            const auto low = static_cast<size_t>(entry >> 32) & mask;
            FilterWord& word = filter[low / 64];
            const uint64_t bit = uint64_t{1} << (low % 64);
            word.again |= word.met & bit;
            word.met |= bit;
        });
        gathered.clear();
        forEachEntry(bucket, [&](uint64_t entry, uint64_t base) {
            const auto low = static_cast<size_t>(entry >> 32) & mask;
            if ((filter[low / 64].again >> (low % 64) & 1) != 0)
                gathered.push_back(
                    {static_cast<uint32_t>(entry >> 32), base + static_cast<uint32_t>(entry)});
        });
        std::sort(gathered.begin(), gathered.end(),
                  [](const Gathered& a, const Gathered& b) { return a.kept < b.kept; });
        for (size_t from = 0; from < gathered.size();) {
            size_t to = from + 1;
            while (to < gathered.size() && gathered[to].kept == gathered[from].kept)
                ++to;
            for (size_t g = from; to - from >= 2 && g < to; ++g) {
                const uint64_t place = gathered[g].place;
                candidates.push_back(
                    {static_cast<uint64_t>(bucket) << 32 | gathered[g].kept,
                     static_cast<int64_t>(place & ((uint64_t{1} << kOffsetBits) - 1)),
                     static_cast<uint32_t>(place >> kOffsetBits)});
            }
            from = to;
        }
    }
    return candidates;
}

// The candidates of one list taken whole on the second reading.
struct Copies {
    SearchRows rows;                     // file rows, decoded
    PackedTexts<1> foldedNames;          // by row
    std::vector<uint64_t> keys;          // by row
    std::vector<int64_t> sizes;          // by row
    std::vector<uint32_t> folderLengths; // by row: where the name starts in the row's path
    std::string error;
};

// The second reading goes to the candidates' lines in the list's bytes (mapped where the system
// can) and to nothing else: the work is that of the candidates, however long the list.
Copies ReadCopies(const std::string& path, const std::string& listName, const ListKeys& first,
                  int32_t listIndex, std::vector<Candidate>::const_iterator begin,
                  std::vector<Candidate>::const_iterator end, int64_t minSize,
                  const std::atomic<bool>* stop) {
    Copies copies;
    FileContents file;
    try {
        OpenText(file, path, FileContents::Reading::HereAndThere);
    } catch (const VypisnikError&) {
        // Read in the first pass: a list that cannot be opened now was replaced or removed
        // since.
        copies.error = ListChangedWhileReadText(listName);
        return copies;
    }
    if (file.Stamp() != first.stamp) {
        copies.error = ListChangedWhileReadText(listName);
        return copies;
    }
    const std::string_view text = file.Bytes();
    const size_t linesStart = NextLineStart(text, 0);
    ListRegion whole;
    whole.lines = text.substr(linesStart);
    whole.folder = FirstField(text.substr(0, std::min(text.find_first_of("\r\n"), text.size())));
    whole.folderOffset = 0;
    whole.offset = static_cast<int64_t>(linesStart);
    RegionFolders folders(whole);
    NameFolder folder(first.encoding);
    const char* const floor = text.data();
    const char* const textEnd = floor + text.size();
    size_t seen = 0;
    for (auto next = begin; next != end; ++next) {
        if (stop != nullptr && (++seen & 0xFFF) == 0 && stop->load(std::memory_order_relaxed))
            throw Stopped{};
        if (next->offset < whole.offset || next->offset >= static_cast<int64_t>(text.size()))
            continue; // not a line of the list any more
        const char* lineBegin = floor + next->offset;
        if (lineBegin[-1] != '\n' && lineBegin[-1] != '\r')
            continue;
        ScannedLine line{lineBegin, LineEndAfter(lineBegin, textEnd), nullptr, nullptr, nullptr};
        const std::string_view lineText(line.begin, static_cast<size_t>(line.end - line.begin));
        if (lineText.find('\\') != std::string_view::npos)
            continue;
        const size_t tab1 = lineText.find('\t');
        if (tab1 == std::string_view::npos || tab1 == 0)
            continue;
        line.tab1 = line.begin + tab1;
        const size_t tab2 = lineText.find('\t', tab1 + 1);
        line.tab2 = tab2 == std::string_view::npos ? nullptr : line.begin + tab2;
        int64_t size = 0;
        if (!SizeOf(line, minSize, textEnd, size))
            continue;
        const uint64_t key = folder.Key(NameOf(line), size, textEnd);
        if (TopBitsOf(key) != next->topBits)
            continue; // the line is not the one read before
        const ListLineFields fields = SplitListLine(lineText);
        const std::string_view folderPath = folders.FolderOf(lineBegin);
        copies.rows.Add(listIndex, false, folderPath, fields.field[0], fields.field[1],
                        fields.count > 2 ? fields.field[2] : "",
                        fields.count > 3 ? fields.field[3] : "");
        copies.foldedNames.Add({folder.Fold(NameOf(line))});
        copies.keys.push_back(key);
        copies.sizes.push_back(size);
        copies.folderLengths.push_back(static_cast<uint32_t>(folderPath.size()));
    }
    if (file.CutShort()) { // what was taken may be zeros
        copies = Copies{};
        copies.error = ListChangedWhileReadText(listName);
        return copies;
    }
    copies.rows.DecodeFrom(0, first.encoding);
    if (first.encoding != TextEncoding::Utf8) { // the folders' lengths decoded
        for (size_t r = 0; r < copies.rows.size(); ++r) {
            const SearchRow row = copies.rows[r];
            copies.folderLengths[r] = static_cast<uint32_t>(row.Path().size() - row.Name().size());
        }
    }
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
        KeyStore store;
        ParallelInOrder<ListKeys>(
            searched.size(),
            [&](size_t k) {
                BucketedKeys* keys = store.Take();
                ListKeys read;
                try {
                    read = ReadKeys(registry.ListPaths[searched[k]],
                                    ListNameOf(registry.ListInfos[searched[k]]), k, query.minSize,
                                    linesRead, stop, *keys);
                } catch (...) {
                    store.Give(keys);
                    throw;
                }
                store.Give(keys);
                return read;
            },
            [&](size_t k, ListKeys&& keys) {
                if (!keys.error.empty())
                    result.errors.push_back(keys.error);
                lists[k] = std::move(keys);
            });

        // The lines whose kept bits occur twice or more, bucket by bucket on every core.
        constexpr size_t kChunks = 64;
        const auto& allKeys = store.Finished();
        std::vector<Candidate> candidates;
        ParallelInOrder<std::vector<Candidate>>(
            kChunks,
            [&](size_t chunk) {
                if (stop != nullptr && stop->load(std::memory_order_relaxed))
                    throw Stopped{};
                return CandidatesOf(allKeys, chunk * kBuckets / kChunks,
                                    (chunk + 1) * kBuckets / kChunks);
            },
            [&](size_t, std::vector<Candidate>&& found) {
                candidates.insert(candidates.end(), found.begin(), found.end());
            });
        store.Release();
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

        // The sets: copies of one folded name and one size, by key first. What the order needs
        // is held in the entries themselves; folded names are looked at where keys meet.
        struct CopyRef {
            uint64_t key;
            int64_t size;
            uint32_t list; // in copies
            uint32_t row;
        };
        std::vector<CopyRef> all;
        for (uint32_t k = 0; k < copies.size(); ++k) {
            for (uint32_t r = 0; r < copies[k].rows.size(); ++r)
                all.push_back({copies[k].keys[r], copies[k].sizes[r], k, r});
        }
        auto foldedOf = [&](const CopyRef& c) {
            return copies[c.list].foldedNames.Field(c.row, 0);
        };
        // Copies of a set end up by list and line: the lists are in registry order already.
        std::sort(all.begin(), all.end(), [](const CopyRef& a, const CopyRef& b) {
            if (a.key != b.key)
                return a.key < b.key;
            if (a.size != b.size)
                return a.size < b.size;
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
            while (end < all.size() && all[end].key == all[begin].key &&
                   all[end].size == all[begin].size)
                ++end;
            if (end - begin >= 2) {
                // Names that differ under one key: each name its own set, copies in order.
                const std::string_view name = foldedOf(all[begin]);
                if (!std::all_of(all.begin() + static_cast<ptrdiff_t>(begin + 1),
                                 all.begin() + static_cast<ptrdiff_t>(end),
                                 [&](const CopyRef& c) { return foldedOf(c) == name; })) {
                    std::stable_sort(all.begin() + static_cast<ptrdiff_t>(begin),
                                     all.begin() + static_cast<ptrdiff_t>(end),
                                     [&](const CopyRef& x, const CopyRef& y) {
                                         return foldedOf(x) < foldedOf(y);
                                     });
                }
                for (size_t from = begin; from < end;) {
                    size_t to = from + 1;
                    while (to < end && foldedOf(all[to]) == foldedOf(all[from]))
                        ++to;
                    if (to - from >= 2)
                        sets.push_back(
                            {from, to - from, SaturatingProduct(all[from].size, to - from - 1)});
                    from = to;
                }
            }
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
            return all[a.first].size > all[b.first].size;
        });
        for (const FoundSet& set : sets) {
            result.sets.push_back(
                {result.copies.size(), set.count, all[set.first].size, set.wasted});
            result.wasted = SaturatingSum(result.wasted, set.wasted);
            for (size_t c = set.first; c < set.first + set.count; ++c) {
                const Copies& taken = copies[all[c].list];
                const SearchRow row = taken.rows[all[c].row];
                const auto [path, size, date, time] = row.Texts();
                const size_t folderLength = taken.folderLengths[all[c].row];
                result.copies.Add(row.ListIndex(), false, path.substr(0, folderLength),
                                  path.substr(folderLength), size, date, time);
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
