#include "search/FoldedNameKey.h"

#include "util/CaseFolding.h"

#include <bit>
#include <cstring>
#include <memory>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VYPISNIK_HAS_WIDE_FOLDING 1
#include <immintrin.h>
#endif

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
    static constexpr uint8_t kWideLongWay = 0x40;
    uint32_t twoBytes[0x800];
    uint64_t selfFolding[0x10000 / 64] = {}; // a bit per code point of three bytes
    // For folding 64 bytes at once: by two neighbouring lead bytes of two (C0 and C1, C2 and
    // C3, ...), what folding changes in the lead byte and in the byte after it, by the lead's
    // last bit and the next byte's low six bits. A lead folds to a lead (a change below 0x20)
    // or to ASCII ("ß" to "ss": 0x80 or more), so kWideLongWay can stand for a character that
    // goes the long way.
    alignas(64) uint8_t pairLead[16][128];
    alignas(64) uint8_t pairNext[16][128];
    // By a lead byte's low six bits, for the leads of three bytes (E0 to EF): 0xFF when every
    // character it starts folds to itself.
    alignas(64) uint8_t selfFoldingLead[64] = {};

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
        for (unsigned code = 0; code < 0x800; ++code) {
            const unsigned at = (code >> 6 & 1) << 6 | (code & 0x3F);
            const uint32_t changed = twoBytes[code];
            pairLead[code >> 7][at] =
                changed == kLongWay ? kWideLongWay : static_cast<uint8_t>(changed & 0xFF);
            pairNext[code >> 7][at] = changed == kLongWay ? 0 : static_cast<uint8_t>(changed >> 8);
        }
        for (unsigned lead = 0; lead < 16; ++lead) {
            bool all = true;
            for (unsigned code = lead << 12; code < (lead + 1) << 12; code += 64)
                all = all && selfFolding[code / 64] == ~uint64_t{0};
            selfFoldingLead[0x20 | lead] = all ? 0xFF : 0;
        }
    }
};

const FoldingTables& Tables() {
    static const auto tables = std::make_unique<FoldingTables>();
    return *tables;
}

#ifdef VYPISNIK_HAS_WIDE_FOLDING
// A name of 1 to 64 bytes folded in one register of 64 bytes, where the processor has
// AVX-512 with its byte permutes: ASCII, every character of two bytes that folds to two, and
// characters of three bytes whose lead starts none with a case. No step waits on the one before
// and the name's bytes decide no branch, so a list of names in many scripts costs no
// mispredictions. No key where a character asks for more (the words of eight do the rest).
#define VYPISNIK_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))

VYPISNIK_WIDE __m512i Bytes(uint8_t byte) {
    return _mm512_set1_epi8(static_cast<char>(byte));
}

// What folding changes in the lead bytes of the pair whose first lead is pair's and in the byte
// after each, at the leads of that pair in leads, put into lead and next.
VYPISNIK_WIDE void PairChanges(const FoldingTables& tables, unsigned pair, __mmask64 leads,
                               __m512i at, __m512i& lead, __m512i& next) {
    const auto* l = reinterpret_cast<const __m512i*>(tables.pairLead[pair]);
    const auto* n = reinterpret_cast<const __m512i*>(tables.pairNext[pair]);
    lead = _mm512_or_si512(lead, _mm512_maskz_permutex2var_epi8(leads, _mm512_load_si512(l), at,
                                                                _mm512_load_si512(l + 1)));
    next = _mm512_or_si512(next, _mm512_maskz_permutex2var_epi8(leads, _mm512_load_si512(n), at,
                                                                _mm512_load_si512(n + 1)));
}

} // namespace

VYPISNIK_WIDE FoldedNameKey::WideKey FoldedNameKey::FoldWide(const void* folding, const char* name,
                                                             size_t length, const char*,
                                                             int64_t size) {
    const FoldingTables& tables = *static_cast<const FoldingTables*>(folding);
    const __mmask64 inName = length >= 64 ? ~__mmask64{0} : (__mmask64{1} << length) - 1;
    // Bytes past the name are neither read nor kept: they are zero.
    const __m512i bytes = _mm512_maskz_loadu_epi8(inName, name);
    const __m512i indexes = _mm512_set_epi8(
        63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44, 43, 42, 41,
        40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18,
        17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    // The byte after each (zero past the end).
    const __m512i after = _mm512_maskz_permutexvar_epi8(~__mmask64{0} >> 1,
                                                        _mm512_add_epi8(indexes, Bytes(1)), bytes);
    const __mmask64 high = _mm512_movepi8_mask(bytes);
    const __mmask64 continuation =
        _mm512_cmpeq_epi8_mask(_mm512_and_si512(bytes, Bytes(0xC0)), Bytes(0x80));
    const __mmask64 lead3 =
        _mm512_cmpeq_epi8_mask(_mm512_and_si512(bytes, Bytes(0xF0)), Bytes(0xE0));
    const __mmask64 lead4 = _mm512_cmpge_epu8_mask(bytes, Bytes(0xF0));
    const __mmask64 lead2 = high & ~continuation & ~lead3 & ~lead4;
    // Every lead followed by as many continuations as it says, and no continuation elsewhere;
    // then every lead of three one whose characters all fold to themselves.
    __mmask64 refused =
        lead4 | (continuation ^ (lead2 << 1 | lead3 << 1 | lead3 << 2)) | lead2 >> 63 | lead3 >> 62;
    // (The zero-masking form: the plain one starts from an undefined value GCC warns about.)
    refused |=
        lead3 & ~_mm512_test_epi8_mask(_mm512_maskz_permutexvar_epi8(
                                           lead3, bytes, _mm512_load_si512(tables.selfFoldingLead)),
                                       Bytes(0xFF));
    // Leads of two: their changes looked up by the lead's last bit and the next byte's low six,
    // the pairs of leads of Latin-1, Latin Extended-A and Cyrillic always, others as they come.
    const __m512i at = _mm512_or_si512(_mm512_slli_epi16(_mm512_and_si512(bytes, Bytes(1)), 6),
                                       _mm512_and_si512(after, Bytes(0x3F)));
    const __m512i pairs = _mm512_and_si512(bytes, Bytes(0xFE));
    __m512i lead = _mm512_setzero_si512();
    __m512i next = _mm512_setzero_si512();
    __mmask64 rest = lead2;
    for (const uint8_t first : {0xC2, 0xC4, 0xD0}) {
        const __mmask64 leads = lead2 & _mm512_cmpeq_epi8_mask(pairs, Bytes(first));
        PairChanges(tables, (first & 0x1F) >> 1, leads, at, lead, next);
        rest &= ~leads;
    }
    while (rest != 0) {
        const auto first =
            static_cast<uint8_t>(static_cast<unsigned char>(name[std::countr_zero(rest)]) & 0xFE);
        const __mmask64 leads = lead2 & _mm512_cmpeq_epi8_mask(pairs, Bytes(first));
        PairChanges(tables, (first & 0x1F) >> 1, leads, at, lead, next);
        rest &= ~leads;
    }
    refused |= _mm512_cmpeq_epi8_mask(lead, Bytes(FoldingTables::kWideLongWay));
    if (refused != 0)
        return {0, false};
    // The changes of the bytes after leads moved onto them.
    next = _mm512_maskz_permutexvar_epi8(~__mmask64{1}, _mm512_sub_epi8(indexes, Bytes(1)), next);
    __m512i folded = _mm512_xor_si512(_mm512_xor_si512(bytes, lead), next);
    const __mmask64 upper =
        _mm512_cmpge_epu8_mask(folded, Bytes('A')) & _mm512_cmple_epu8_mask(folded, Bytes('Z'));
    folded = _mm512_xor_si512(folded, _mm512_maskz_mov_epi8(upper, Bytes(0x20)));
    // The pairs of words hashed as HashOfFolded hashes them, each pair taken from the register
    // (a store of the whole register read back in words waits for the store); most names take
    // two pairs.
    PairHash hash;
    const __m128i first = _mm512_maskz_extracti32x4_epi32(0xF, folded, 0);
    hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(first)),
             static_cast<uint64_t>(_mm_extract_epi64(first, 1)));
    if (length > 16) {
        const __m128i second = _mm512_maskz_extracti32x4_epi32(0xF, folded, 1);
        hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(second)),
                 static_cast<uint64_t>(_mm_extract_epi64(second, 1)));
    }
    if (length > 32) {
        const __m128i third = _mm512_maskz_extracti32x4_epi32(0xF, folded, 2);
        hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(third)),
                 static_cast<uint64_t>(_mm_extract_epi64(third, 1)));
    }
    if (length > 48) {
        const __m128i fourth = _mm512_maskz_extracti32x4_epi32(0xF, folded, 3);
        hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(fourth)),
                 static_cast<uint64_t>(_mm_extract_epi64(fourth, 1)));
    }
    return {hash.End(length, size), true};
}

namespace {

#define VYPISNIK_AVX2 __attribute__((target("avx2,bmi2")))

VYPISNIK_AVX2 __m256i Bytes32(uint8_t byte) {
    return _mm256_set1_epi8(static_cast<char>(byte));
}

} // namespace

// A name of 1 to 32 bytes folded in one register of 32 bytes, where the processor has AVX2:
// the same characters as in one register of 64. What folding changes in a character of two bytes
// is looked up by its code point, one character after another (ASCII names have none); byte
// shuffles of every lead byte's changes, one pass for each lead the name has, took longer on a
// processor that does each 32-byte step as two of 16, and guessed the passes' number wrong
// name after name.
VYPISNIK_AVX2 FoldedNameKey::WideKey FoldedNameKey::FoldAvx2(const void* folding, const char* name,
                                                             size_t length, const char* readable,
                                                             int64_t size) {
    const FoldingTables& tables = *static_cast<const FoldingTables*>(folding);
    __m256i bytes;
    if (static_cast<size_t>(readable - name) >= 32) {
        bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(name));
    } else {
        // Near the end of its text (seldom): no byte after readable is read.
        alignas(32) char copy[32] = {};
        std::memcpy(copy, name, length);
        bytes = _mm256_load_si256(reinterpret_cast<const __m256i*>(copy));
    }
    const __m256i indexes =
        _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                         21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    // Bytes past the name are zero.
    bytes = _mm256_and_si256(
        bytes, _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(length)), indexes));
    const auto high = static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
    const auto continuation = static_cast<uint32_t>(_mm256_movemask_epi8(
        _mm256_cmpeq_epi8(_mm256_and_si256(bytes, Bytes32(0xC0)), Bytes32(0x80))));
    const __m256i threes = _mm256_cmpeq_epi8(_mm256_and_si256(bytes, Bytes32(0xF0)), Bytes32(0xE0));
    const auto lead3 = static_cast<uint32_t>(_mm256_movemask_epi8(threes));
    const auto lead4 = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_max_epu8(bytes, Bytes32(0xF0)), bytes)));
    const uint32_t lead2 = high & ~continuation & ~lead3 & ~lead4;
    // Every lead followed by as many continuations as it says, and no continuation elsewhere;
    // then every lead of three one whose characters all fold to themselves.
    uint32_t refused =
        lead4 | (continuation ^ (lead2 << 1 | lead3 << 1 | lead3 << 2)) | lead2 >> 31 | lead3 >> 30;
    const __m256i selfFolding = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables.selfFoldingLead + 0x20)));
    refused |= lead3 & ~static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_shuffle_epi8(
                           selfFolding, _mm256_and_si256(bytes, Bytes32(0x0F)))));
    // Leads of two: what folding changes in each such character, looked up by its code point
    // (a lead in the last place is refused above already).
    alignas(32) unsigned char text[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(text), bytes);
    alignas(32) unsigned char changes[32] = {};
    uint32_t longWay = 0;
    for (uint32_t rest = lead2 & 0x7FFFFFFFU; rest != 0; rest &= rest - 1) {
        const auto i = static_cast<size_t>(std::countr_zero(rest));
        const uint32_t change = tables.twoBytes[(text[i] & 0x1FU) << 6 | (text[i + 1] & 0x3FU)];
        longWay |= change;
        const auto pair = static_cast<uint16_t>(change);
        std::memcpy(changes + i, &pair, 2);
    }
    refused |= longWay & FoldingTables::kLongWay;
    if (refused != 0)
        return {0, false};
    __m256i folded =
        _mm256_xor_si256(bytes, _mm256_load_si256(reinterpret_cast<const __m256i*>(changes)));
    // A to Z (bytes of 128 and more compare as negative).
    const __m256i upper = _mm256_and_si256(_mm256_cmpgt_epi8(folded, Bytes32('A' - 1)),
                                           _mm256_cmpgt_epi8(Bytes32('Z' + 1), folded));
    folded = _mm256_xor_si256(folded, _mm256_and_si256(upper, Bytes32(0x20)));
    PairHash hash;
    const __m128i first = _mm256_castsi256_si128(folded);
    hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(first)),
             static_cast<uint64_t>(_mm_extract_epi64(first, 1)));
    if (length > 16) {
        const __m128i second = _mm256_extracti128_si256(folded, 1);
        hash.Add(static_cast<uint64_t>(_mm_cvtsi128_si64(second)),
                 static_cast<uint64_t>(_mm_extract_epi64(second, 1)));
    }
    return {hash.End(length, size), true};
}

namespace {

bool ProcessorFoldsWide() {
    static const bool can = __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return can;
}

bool ProcessorFoldsAvx2() {
    static const bool can = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
    return can;
}
#else
bool ProcessorFoldsWide() {
    return false;
}

bool ProcessorFoldsAvx2() {
    return false;
}
#endif

} // namespace

FoldedNameKey::FoldedNameKey(FoldingWay way)
    : m_tables(&Tables()), m_wide(nullptr), m_wideLength(0) {
#ifdef VYPISNIK_HAS_WIDE_FOLDING
    if (way == FoldingWay::Fastest && CanFoldWide()) {
        m_wide = &FoldWide;
        m_wideLength = 64;
    } else if (way != FoldingWay::Words && CanFoldAvx2()) {
        m_wide = &FoldAvx2;
        m_wideLength = 32;
    }
#else
    (void)way;
#endif
}

bool FoldedNameKey::CanFoldWide() {
    return ProcessorFoldsWide();
}

bool FoldedNameKey::CanFoldAvx2() {
    return ProcessorFoldsAvx2();
}

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

uint64_t FoldedNameKey::OfInWords(std::string_view utf8, int64_t size, const char* readable) {
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
                // Nothing past the name counts, nor may be read where the name ends its text.
                const unsigned c1 = at + 1 < length ? p[at + 1] : 0;
                if ((c1 & 0xC0) != 0x80)
                    return OfFoldedLongWay(utf8, size);
                if (c >= 0xE0) {
                    const unsigned c2 = at + 2 < length ? p[at + 2] : 0;
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
