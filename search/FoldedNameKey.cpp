#include "search/FoldedNameKey.h"

#include "util/CaseFolding.h"

#include <bit>
#include <cstring>
#include <memory>

namespace vyp {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// A multiply-rotate over eight bytes at a time and the finaliser of MurmurHash3: good enough
// that lines of different names rarely meet.
uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 33;
    return h;
}

uint64_t Step(uint64_t h, uint64_t word) {
    return std::rotl(h ^ (word * 0x87C37B91114253D5ULL), 31) * 0x4CF5AD432745937FULL;
}

// The hash of folded bytes, eight at a time; the eight bytes after them are readable and zero.
uint64_t HashOfFolded(const char* folded, size_t length, int64_t size) {
    uint64_t h = 0x9E3779B97F4A7C15ULL ^ (static_cast<uint64_t>(size) * 0xC2B2AE3D27D4EB4FULL);
    for (size_t i = 0; i < length; i += 8) {
        uint64_t word;
        std::memcpy(&word, folded + i, 8);
        h = Step(h, word);
    }
    return Mix(Step(h, length));
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
    padded.append(8, '\0');
    return HashOfFolded(padded.data(), folded.size(), size);
}

uint64_t FoldedNameKey::OfFoldedLongWay(std::string_view utf8, int64_t size) {
    if (m_folded.size() < CaseFoldingRoom(utf8.size()) + 8)
        m_folded.resize(CaseFoldingRoom(utf8.size()) + 64);
    char* end = WriteCaseFolded(utf8, m_folded.data());
    std::memset(end, 0, 8);
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
    uint64_t h = 0x9E3779B97F4A7C15ULL ^ (static_cast<uint64_t>(size) * 0xC2B2AE3D27D4EB4FULL);
    if (high == 0) {
        for (size_t j = 0; j + 1 < words; ++j)
            h = Step(h, LowerAsciiBytes(wordAt(j)));
        h = Step(h, LowerAsciiBytes(wordAt(words - 1) & lastMask));
        return Mix(Step(h, length));
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
    for (size_t j = 0; j < words; ++j)
        h = Step(h, LowerAsciiBytes(word[j]));
    return Mix(Step(h, length));
}

} // namespace vyp
