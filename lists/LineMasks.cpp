#include "lists/LineMasks.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VYPISNIK_HAS_WIDE_MASKS 1
#include <immintrin.h>
#endif

namespace vyp {

namespace {

void PlainMasks(std::string_view bytes, line_scan::BlockMasks* masks) {
    size_t block = 0;
    for (; bytes.size() - block >= 64; block += 64)
        *masks++ = line_scan::MasksOf(bytes.data() + block);
    if (block < bytes.size()) {
        char padded[64] = {};
        std::memcpy(padded, bytes.data() + block, bytes.size() - block);
        *masks = line_scan::MasksOf(padded);
    }
}

#ifdef VYPISNIK_HAS_WIDE_MASKS
#define VYPISNIK_AVX2 __attribute__((target("avx2"))) inline

VYPISNIK_AVX2 uint64_t Avx2Bits(__m256i bytes, char c) {
    return static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c))));
}

VYPISNIK_AVX2 line_scan::BlockMasks Avx2BlockMasks(const char* p) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {Avx2Bits(low, '\t') | Avx2Bits(high, '\t') << 32,
            Avx2Bits(low, '\r') | Avx2Bits(high, '\r') << 32,
            Avx2Bits(low, '\n') | Avx2Bits(high, '\n') << 32,
            Avx2Bits(low, '\\') | Avx2Bits(high, '\\') << 32};
}

__attribute__((target("avx2"))) void Avx2Masks(std::string_view bytes,
                                               line_scan::BlockMasks* masks) {
    size_t block = 0;
    for (; bytes.size() - block >= 64; block += 64)
        *masks++ = Avx2BlockMasks(bytes.data() + block);
    if (block < bytes.size()) {
        char padded[64] = {};
        std::memcpy(padded, bytes.data() + block, bytes.size() - block);
        *masks = Avx2BlockMasks(padded);
    }
}

__attribute__((target("avx512f,avx512bw"))) void Avx512Masks(std::string_view bytes,
                                                             line_scan::BlockMasks* masks) {
    const __m512i tab = _mm512_set1_epi8('\t');
    const __m512i cr = _mm512_set1_epi8('\r');
    const __m512i lf = _mm512_set1_epi8('\n');
    const __m512i backslash = _mm512_set1_epi8('\\');
    const char* p = bytes.data();
    for (size_t block = 0; block < bytes.size(); block += 64) {
        const size_t left = bytes.size() - block;
        // The last block loaded as far as it goes, the rest zero (never read).
        const __m512i b = left >= 64
                              ? _mm512_loadu_si512(p + block)
                              : _mm512_maskz_loadu_epi8((__mmask64{1} << left) - 1, p + block);
        *masks++ = {_mm512_cmpeq_epi8_mask(b, tab), _mm512_cmpeq_epi8_mask(b, cr),
                    _mm512_cmpeq_epi8_mask(b, lf), _mm512_cmpeq_epi8_mask(b, backslash)};
    }
}
#endif

} // namespace

bool CanFindLineMasks(LineMaskWay way) {
    switch (way) {
    case LineMaskWay::Plain:
        return true;
#ifdef VYPISNIK_HAS_WIDE_MASKS
    case LineMaskWay::Avx2:
        return __builtin_cpu_supports("avx2");
    case LineMaskWay::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
#else
    case LineMaskWay::Avx2:
    case LineMaskWay::Avx512:
        return false;
#endif
    }
    return false;
}

LineMaskWay FastestLineMasks() {
    static const LineMaskWay fastest = CanFindLineMasks(LineMaskWay::Avx512) ? LineMaskWay::Avx512
                                       : CanFindLineMasks(LineMaskWay::Avx2) ? LineMaskWay::Avx2
                                                                             : LineMaskWay::Plain;
    return fastest;
}

void FindLineMasks(LineMaskWay way, std::string_view bytes, line_scan::BlockMasks* masks) {
    switch (way) {
#ifdef VYPISNIK_HAS_WIDE_MASKS
    case LineMaskWay::Avx512:
        Avx512Masks(bytes, masks);
        return;
    case LineMaskWay::Avx2:
        Avx2Masks(bytes, masks);
        return;
#endif
    default:
        PlainMasks(bytes, masks);
    }
}

} // namespace vyp
