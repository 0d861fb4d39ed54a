#include "search/CaseInsensitiveFinder.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VYPISNIK_HAS_AVX2_PATH 1
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// How common a byte is in list files, higher is more common: digits, dots, TABs and line ends
// fill every line, lower-case letters the names. Bytes above 0x7F are common too in lists of
// accented and non-Latin names: the UTF-8 lead bytes of Latin letters with accents (C3..C5) and
// of Cyrillic (D0, D1) above all, then continuation bytes and the lead bytes of CJK; so a text
// with accents is found by its plain letters where it has any. Everything else is rare.
constexpr std::array<unsigned char, 256> MakeFrequencyRank() {
    std::array<unsigned char, 256> rank{};
    for (int b = 0x80; b <= 0xBF; ++b)
        rank[static_cast<size_t>(b)] = 110;
    for (int b = 0xC2; b <= 0xDF; ++b)
        rank[static_cast<size_t>(b)] = 100;
    for (int b = 0xE0; b <= 0xEF; ++b)
        rank[static_cast<size_t>(b)] = 120;
    for (int b = 0xC3; b <= 0xC5; ++b)
        rank[static_cast<size_t>(b)] = 150;
    rank[0xD0] = 150;
    rank[0xD1] = 150;
    const char* common = "qjzxkvbywfgpmhucdlrsnotiae"; // rarest first
    for (int i = 0; common[i] != '\0'; ++i) {
        rank[static_cast<unsigned char>(common[i])] = static_cast<unsigned char>(60 + 4 * i);
        rank[static_cast<unsigned char>(common[i] - 'a' + 'A')] =
            static_cast<unsigned char>(60 + 4 * i);
    }
    for (char c = '0'; c <= '9'; ++c)
        rank[static_cast<unsigned char>(c)] = 230;
    rank[static_cast<unsigned char>('.')] = 250;
    rank[static_cast<unsigned char>('\t')] = 250;
    rank[static_cast<unsigned char>('\r')] = 240;
    rank[static_cast<unsigned char>('\n')] = 240;
    rank[static_cast<unsigned char>(' ')] = 170;
    rank[static_cast<unsigned char>('_')] = 120;
    rank[static_cast<unsigned char>('-')] = 120;
    rank[static_cast<unsigned char>('\\')] = 160;
    rank[static_cast<unsigned char>(':')] = 200;
    return rank;
}
constexpr std::array<unsigned char, 256> kFrequencyRank = MakeFrequencyRank();

unsigned RankOf(char c) {
    return kFrequencyRank[static_cast<unsigned char>(c)];
}

} // namespace

CaseInsensitiveFinder::CaseInsensitiveFinder(std::string_view needle) {
    m_upper.reserve(needle.size());
    for (char c : needle)
        m_upper.push_back(UpperAscii(c));
    // The rarest byte, then the rarest other one at a different offset.
    for (size_t i = 1; i < m_upper.size(); ++i) {
        if (RankOf(m_upper[i]) < RankOf(m_upper[m_rare1]))
            m_rare1 = i;
    }
    m_rare2 = m_rare1 == 0 && m_upper.size() > 1 ? 1 : 0;
    for (size_t i = 0; i < m_upper.size(); ++i) {
        if (i != m_rare1 && RankOf(m_upper[i]) < RankOf(m_upper[m_rare2]))
            m_rare2 = i;
    }
}

bool CaseInsensitiveFinder::MatchesAt(const char* p) const {
    for (size_t i = 0; i < m_upper.size(); ++i) {
        if (UpperAscii(p[i]) != m_upper[i])
            return false;
    }
    return true;
}

const char* CaseInsensitiveFinder::FindScalar(const char* begin, const char* end) const {
    const size_t n = m_upper.size();
    for (const char* p = begin; p + n <= end; ++p) {
        if (UpperAscii(p[m_rare1]) == m_upper[m_rare1] && MatchesAt(p))
            return p;
    }
    return nullptr;
}

#if defined(VYPISNIK_HAS_AVX2_PATH) || defined(__SSE2__)
namespace {

// The two rare bytes as the scans compare them: a letter after setting its 0x20 bit, which folds
// A-Z onto a-z; the few other bytes that fold onto a letter's value are weeded out by MatchesAt.
char FoldBit(char c) {
    return IsLetter(c) ? 0x20 : 0;
}
char Folded(char c) {
    return static_cast<char>(IsLetter(c) ? (c | 0x20) : c);
}

} // namespace
#endif

#ifdef VYPISNIK_HAS_AVX2_PATH

// Thirty-two positions a step; the same work as the SSE2 scan below in half the instructions.
__attribute__((target("avx2"))) const char* CaseInsensitiveFinder::FindAvx2(const char* begin,
                                                                            const char* end) const {
    const size_t n = m_upper.size();
    const __m256i fold1 = _mm256_set1_epi8(FoldBit(m_upper[m_rare1]));
    const __m256i fold2 = _mm256_set1_epi8(FoldBit(m_upper[m_rare2]));
    const __m256i want1 = _mm256_set1_epi8(Folded(m_upper[m_rare1]));
    const __m256i want2 = _mm256_set1_epi8(Folded(m_upper[m_rare2]));
    const char* p = begin;
    const char* lastStart = end - n; // the last position a match may start at
    while (p + 32 <= lastStart + 1) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + m_rare1));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + m_rare2));
        const __m256i hit = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, fold1), want1),
                                             _mm256_cmpeq_epi8(_mm256_or_si256(b, fold2), want2));
        unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        while (mask != 0) {
            const int bit = __builtin_ctz(mask);
            if (MatchesAt(p + bit))
                return p + bit;
            mask &= mask - 1;
        }
        p += 32;
    }
    return FindSse2(p, end);
}

// Sixty-four positions a step, the two bytes' comparisons giving masks in one step each.
__attribute__((target("avx512f,avx512bw"))) const char*
CaseInsensitiveFinder::FindAvx512(const char* begin, const char* end) const {
    const size_t n = m_upper.size();
    const __m512i fold1 = _mm512_set1_epi8(FoldBit(m_upper[m_rare1]));
    const __m512i fold2 = _mm512_set1_epi8(FoldBit(m_upper[m_rare2]));
    const __m512i want1 = _mm512_set1_epi8(Folded(m_upper[m_rare1]));
    const __m512i want2 = _mm512_set1_epi8(Folded(m_upper[m_rare2]));
    const char* p = begin;
    const char* lastStart = end - n; // the last position a match may start at
    while (p + 64 <= lastStart + 1) {
        const __m512i a = _mm512_loadu_si512(p + m_rare1);
        const __m512i b = _mm512_loadu_si512(p + m_rare2);
        uint64_t mask =
            _mm512_mask_cmpeq_epi8_mask(_mm512_cmpeq_epi8_mask(_mm512_or_si512(a, fold1), want1),
                                        _mm512_or_si512(b, fold2), want2);
        while (mask != 0) {
            const int bit = __builtin_ctzll(mask);
            if (MatchesAt(p + bit))
                return p + bit;
            mask &= mask - 1;
        }
        p += 64;
    }
    return FindAvx2(p, end);
}
#endif

bool CaseInsensitiveFinder::CanRun(Scan scan) {
    switch (scan) {
    case Scan::Sse2:
        return true;
    case Scan::Avx2:
#ifdef VYPISNIK_HAS_AVX2_PATH
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    case Scan::Avx512:
#if defined(VYPISNIK_HAS_AVX2_PATH) && !defined(_WIN32)
        // Not under Windows, where MinGW's GCC keeps the stack aligned to 16 bytes only, short
        // of what 64-byte registers spilled there need.
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
#else
        return false;
#endif
    }
    return false;
}

const char* CaseInsensitiveFinder::FindWith(Scan scan, const char* begin, const char* end) const {
    if (static_cast<size_t>(end - begin) < m_upper.size())
        return nullptr;
#ifdef VYPISNIK_HAS_AVX2_PATH
    if (scan == Scan::Avx512)
        return FindAvx512(begin, end);
    if (scan == Scan::Avx2)
        return FindAvx2(begin, end);
#endif
    (void)scan;
    return FindSse2(begin, end);
}

const char* CaseInsensitiveFinder::Find(const char* begin, const char* end) const {
    if (static_cast<size_t>(end - begin) < m_upper.size())
        return nullptr;
#ifdef VYPISNIK_HAS_AVX2_PATH
    static const bool hasAvx512 = CanRun(Scan::Avx512);
    static const bool hasAvx2 = CanRun(Scan::Avx2);
    if (hasAvx512)
        return FindAvx512(begin, end);
    if (hasAvx2)
        return FindAvx2(begin, end);
#endif
    return FindSse2(begin, end);
}

const char* CaseInsensitiveFinder::FindSse2(const char* begin, const char* end) const {
    const size_t n = m_upper.size();
    if (static_cast<size_t>(end - begin) < n)
        return nullptr;
#if defined(__SSE2__)
    const __m128i fold1 = _mm_set1_epi8(FoldBit(m_upper[m_rare1]));
    const __m128i fold2 = _mm_set1_epi8(FoldBit(m_upper[m_rare2]));
    const __m128i want1 = _mm_set1_epi8(Folded(m_upper[m_rare1]));
    const __m128i want2 = _mm_set1_epi8(Folded(m_upper[m_rare2]));
    const char* p = begin;
    const char* lastStart = end - n; // the last position a match may start at
    while (p + 16 <= lastStart + 1) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_rare1));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_rare2));
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, fold1), want1),
                                          _mm_cmpeq_epi8(_mm_or_si128(b, fold2), want2));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask != 0) {
            const int bit = __builtin_ctz(mask);
            if (MatchesAt(p + bit))
                return p + bit;
            mask &= mask - 1;
        }
        p += 16;
    }
    return FindScalar(p, end);
#else
    return FindScalar(begin, end);
#endif
}

} // namespace vyp
