#include "search/FoldedNameKey.h"

#include "util/CaseFolding.h"

#include <bit>
#include <cstring>
#include <memory>

namespace vyp {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// The finaliser of MurmurHash3: every bit of the key depends on every bit put in.
uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 33;
    return h;
}

// The two halves of a 128-bit product folded into one.
uint64_t MultiplyFold(uint64_t a, uint64_t b) {
#if defined(__SIZEOF_INT128__)
    __extension__ typedef unsigned __int128 Product;
    const Product product = static_cast<Product>(a) * b;
    return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
#else
    const uint64_t aLow = a & 0xFFFFFFFFU, aHigh = a >> 32;
    const uint64_t bLow = b & 0xFFFFFFFFU, bHigh = b >> 32;
    const uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh;
    const uint64_t highLow = aHigh * bLow, highHigh = aHigh * bHigh;
    const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFU) + (highLow & 0xFFFFFFFFU);
    const uint64_t low = (middle << 32) | (lowLow & 0xFFFFFFFFU);
    const uint64_t high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    return low ^ high;
#endif
}

// A name is hashed sixteen bytes at a time, each pair of words multiplied on its own with
// constants of its place and the products summed: no product waits for the one before, so a
// name of a few words costs about one multiplication's wait, not one per word. The size and
// the length go in through a product of their own, then the sum is mixed.
constexpr uint64_t kFirstPlace = 0xA0761D6478BD642FULL;
constexpr uint64_t kSecondPlace = 0xE7037ED1A0B428DBULL;
constexpr uint64_t kNextPlace = 0x8EBC6AF09C88C6E3ULL;

struct PairHash {
    uint64_t sum = 0;
    uint64_t first = kFirstPlace;
    uint64_t second = kSecondPlace;

    void Add(uint64_t a, uint64_t b) {
        sum += MultiplyFold(a ^ first, b ^ second);
        first += kNextPlace;
        second += kNextPlace;
    }
    uint64_t End(size_t length, int64_t size) const {
        const uint64_t sized =
            0x9E3779B97F4A7C15ULL ^ (static_cast<uint64_t>(size) * 0xC2B2AE3D27D4EB4FULL);
        return Mix(sum ^
                   MultiplyFold(sized, static_cast<uint64_t>(length) ^ 0x589965CC75374CC3ULL));
    }
};

// The hash of folded bytes; the sixteen bytes after them are readable and zero.
uint64_t HashOfFolded(const char* folded, size_t length, int64_t size) {
    PairHash hash;
    for (size_t i = 0; i < length; i += 16) {
        uint64_t pair[2];
        std::memcpy(pair, folded + i, 16);
        hash.Add(pair[0], pair[1]);
    }
    return hash.End(length, size);
}

// Eight bytes with A-Z made a-z and every other byte as it was, high bytes included (no byte
// carries into the next, unlike LowerAsciiWord).
uint64_t LowerAsciiBytes(uint64_t word) {
    const uint64_t low = word & 0x7F7F7F7F7F7F7F7FULL;
    const uint64_t atLeastA = low + 0x3F3F3F3F3F3F3F3FULL;
    const uint64_t aboveZ = low + 0x2525252525252525ULL;
    return word | ((atLeastA & ~aboveZ & ~word & kHighBits) >> 2);
}

// Which characters fold to as many bytes as they take, so that a name of them alone folds in
// place: for every character of two bytes (U+0080 to U+07FF), the bits that its folding changes
// (or kLongWay), and which characters of three bytes fold to themselves. Taken from
// WriteCaseFolded itself, so that the two cannot disagree.
struct FoldingTables {
    static constexpr uint32_t kLongWay = 1U << 16;
    uint32_t twoBytes[0x800];
    uint64_t selfFolding[0x10000 / 64] = {}; // a bit per code point of three bytes

    FoldingTables() {
        char folded[CaseFoldingRoom(3)];
        for (unsigned code = 0; code < 0x800; ++code) {
            twoBytes[code] = kLongWay;
            if (code < 0x80)
                continue;
            const unsigned char utf8[2] = {static_cast<unsigned char>(0xC0 | (code >> 6)),
                                           static_cast<unsigned char>(0x80 | (code & 0x3F))};
            const char* end =
                WriteCaseFolded(std::string_view(reinterpret_cast<const char*>(utf8), 2), folded);
            if (end - folded == 2) {
                const unsigned changed = (utf8[0] ^ static_cast<unsigned char>(folded[0])) |
                                         (utf8[1] ^ static_cast<unsigned char>(folded[1])) << 8;
                twoBytes[code] = changed;
            }
        }
        for (unsigned code = 0x800; code < 0x10000; ++code) {
            if (code >= 0xD800 && code < 0xE000)
                continue; // surrogates are no characters
            const char utf8[3] = {static_cast<char>(0xE0 | (code >> 12)),
                                  static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                                  static_cast<char>(0x80 | (code & 0x3F))};
            const char* end = WriteCaseFolded(std::string_view(utf8, 3), folded);
            if (end - folded == 3 && std::memcmp(folded, utf8, 3) == 0)
                selfFolding[code / 64] |= uint64_t{1} << (code % 64);
        }
    }
};

const FoldingTables& Tables() {
    static const auto tables = std::make_unique<FoldingTables>();
    return *tables;
}

} // namespace

FoldedNameKey::FoldedNameKey() : m_tables(&Tables()) {}

uint64_t FoldedNameKey::OfFolded(std::string_view folded, int64_t size) {
    std::string padded(folded);
    padded.append(16, '\0');
    return HashOfFolded(padded.data(), folded.size(), size);
}

uint64_t FoldedNameKey::OfFoldedLongWay(std::string_view utf8, int64_t size) {
    if (m_folded.size() < CaseFoldingRoom(utf8.size()) + 16)
        m_folded.resize(CaseFoldingRoom(utf8.size()) + 64);
    char* end = WriteCaseFolded(utf8, m_folded.data());
    std::memset(end, 0, 16);
    return HashOfFolded(m_folded.data(), static_cast<size_t>(end - m_folded.data()), size);
}

uint64_t FoldedNameKey::Of(std::string_view utf8, int64_t size, const char* readable) {
    // Names of up to this many bytes whose characters all fold in place (ASCII, most letters
    // of two bytes, letters of three bytes without case) are folded in words of eight held
    // here, each character of more than one byte changed where it stands, with no step that
    // waits on the one before: the name's own bytes say where its characters are.
    constexpr size_t kWords = 8;
    const size_t length = utf8.size();
    if (length > 8 * kWords || length == 0)
        return OfFoldedLongWay(utf8, size);
    if (static_cast<size_t>(readable - utf8.data()) < 8 * kWords) {
        m_padded.assign(utf8);
        m_padded.resize(8 * kWords, '\0');
        utf8 = std::string_view(m_padded.data(), length);
    }
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t words = (length + 7) / 8;
    const uint64_t lastMask = ~uint64_t{0} >> (8 * (8 * words - length));
    auto wordAt = [p](size_t j) {
        uint64_t word;
        std::memcpy(&word, p + 8 * j, 8);
        return word;
    };
    // Read from the name itself, not from words stored just before: a wide read of what was
    // stored in narrower pieces waits for the stores to finish.
    uint64_t high = wordAt(words - 1) & lastMask;
    for (size_t j = 0; j + 1 < words; ++j)
        high |= wordAt(j);
    high &= kHighBits;
    PairHash hash;
    if (high == 0) {
        // Each word lowered where it lies; the one after the last is zero.
        auto lowered = [&](size_t j) {
            if (j + 1 < words)
                return LowerAsciiBytes(wordAt(j));
            return j + 1 == words ? LowerAsciiBytes(wordAt(j) & lastMask) : 0;
        };
        for (size_t j = 0; j < words; j += 2)
            hash.Add(lowered(j), lowered(j + 1));
        return hash.End(length, size);
    }
    uint64_t word[kWords + 1];
    std::memcpy(word, p, 8 * kWords); // of a fixed size: no loop of moves for a few words
    word[words - 1] &= lastMask;
    word[words] = 0;
    {
        const FoldingTables& tables = *static_cast<const FoldingTables*>(m_tables);
        for (size_t j = 0; j < words; ++j) {
            // The first byte of each character of two bytes or more: 11xxxxxx.
            for (uint64_t leads = word[j] & (word[j] << 1) & kHighBits; leads != 0;
                 leads &= leads - 1) {
                const size_t at = 8 * j + static_cast<size_t>(std::countr_zero(leads)) / 8;
                const unsigned c = p[at];
                const unsigned c1 = p[at + 1];
                if ((c1 & 0xC0) != 0x80)
                    return OfFoldedLongWay(utf8, size);
                if (c >= 0xE0) {
                    const unsigned c2 = p[at + 2];
                    const unsigned code = (c & 0x0F) << 12 | (c1 & 0x3F) << 6 | (c2 & 0x3F);
                    if (c >= 0xF0 || (c2 & 0xC0) != 0x80 ||
                        (tables.selfFolding[code / 64] >> (code % 64) & 1) == 0)
                        return OfFoldedLongWay(utf8, size);
                    continue;
                }
                const uint32_t changed = tables.twoBytes[(c & 0x1F) << 6 | (c1 & 0x3F)];
                if (changed == FoldingTables::kLongWay)
                    return OfFoldedLongWay(utf8, size);
                const size_t shift = 8 * (at % 8);
                word[j] ^= static_cast<uint64_t>(changed) << shift;
                // A character across two words changes the next one's first byte too.
                word[j + 1] ^= shift == 56 ? changed >> 8 : 0;
            }
        }
    }
    for (size_t j = 0; j < words; j += 2)
        hash.Add(LowerAsciiBytes(word[j]), LowerAsciiBytes(word[j + 1]));
    return hash.End(length, size);
}

} // namespace vyp
