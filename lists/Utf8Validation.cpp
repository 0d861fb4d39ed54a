#include "lists/Utf8Validation.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VYPISNIK_HAS_AVX2_PATH 1
#include <immintrin.h>
#endif

namespace vyp {

bool IsValidUtf8Plain(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        while (end - p >= 8) { // list files are mostly ASCII: eight plain bytes at a time
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char b0 = *p;
        if (b0 < 0x80) {
            ++p;
            continue;
        }
        // The second byte's range depends on the lead: it rules out overlongs, surrogates and
        // code points above U+10FFFF.
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            if (b0 == 0xE0)
                low = 0xA0;
            if (b0 == 0xED)
                high = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            if (b0 == 0xF0)
                low = 0x90;
            if (b0 == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
        }
        p += length;
    }
    return true;
}

#ifdef VYPISNIK_HAS_AVX2_PATH
namespace {

// The error classes a pair of neighbouring bytes can show; a pair is wrong when the classes
// its first byte's high half, its first byte's low half and its second byte's high half allow
// have one in common.
constexpr uint8_t kTooShort = 1 << 0;  // a lead or ASCII where a continuation was due
constexpr uint8_t kTooLong = 1 << 1;   // a continuation after ASCII
constexpr uint8_t kOverlong3 = 1 << 2; // E0 followed by 80..9F
constexpr uint8_t kTooLarge = 1 << 3;  // F4 followed by 90..BF, or F5..FF
constexpr uint8_t kSurrogate = 1 << 4; // ED followed by A0..BF
constexpr uint8_t kOverlong2 = 1 << 5; // C0 or C1
constexpr uint8_t kTooLarge1000 = 1 << 6;
constexpr uint8_t kOverlong4 = 1 << 6; // F0 followed by 80..8F
constexpr uint8_t kTwoConts = 1 << 7;  // two continuations in a row (checked against leads)
constexpr uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("avx2"))) inline __m256i Lookup(__m256i table, __m256i nibbles) {
    return _mm256_shuffle_epi8(table, nibbles);
}

__attribute__((target("avx2"))) inline __m256i Table(const uint8_t (&t)[16]) {
    const __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t));
    return _mm256_broadcastsi128_si256(half);
}

// The block shifted by n bytes towards its end, the last n bytes of previous coming in first.
template <int N>
__attribute__((target("avx2"))) inline __m256i Previous(__m256i block, __m256i previous) {
    return _mm256_alignr_epi8(block, _mm256_permute2x128_si256(previous, block, 0x21), 16 - N);
}

struct Avx2State {
    __m256i byte1High, byte1Low, byte2High, incompleteMax;
    __m256i error;              // every error class seen so far
    __m256i previous;           // the block before
    __m256i previousIncomplete; // where the block before ended inside a sequence
};

__attribute__((target("avx2"))) inline void CheckBlock(__m256i block, Avx2State& s) {
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);
    if (_mm256_movemask_epi8(block) == 0) { // plain ASCII: only a sequence cut short is wrong
        s.error = _mm256_or_si256(s.error, s.previousIncomplete);
    } else {
        const __m256i prev1 = Previous<1>(block, s.previous);
        const __m256i special = _mm256_and_si256(
            _mm256_and_si256(
                Lookup(s.byte1High, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), lowNibble)),
                Lookup(s.byte1Low, _mm256_and_si256(prev1, lowNibble))),
            Lookup(s.byte2High, _mm256_and_si256(_mm256_srli_epi16(block, 4), lowNibble)));
        // The third and fourth bytes of a sequence must be continuations, and only they may
        // follow a continuation: that is where kTwoConts is no error.
        const __m256i third = _mm256_subs_epu8(Previous<2>(block, s.previous),
                                               _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
        const __m256i fourth = _mm256_subs_epu8(Previous<3>(block, s.previous),
                                                _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
        const __m256i must23 = _mm256_and_si256(_mm256_or_si256(third, fourth),
                                                _mm256_set1_epi8(static_cast<char>(0x80)));
        s.error = _mm256_or_si256(s.error, _mm256_xor_si256(must23, special));
        s.previousIncomplete = _mm256_subs_epu8(block, s.incompleteMax);
    }
    s.previous = block;
}

__attribute__((target("avx2"))) bool IsValidUtf8Avx2(std::string_view bytes) {
    static constexpr uint8_t kByte1High[16] = {kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTooLong,
                                               kTwoConts,
                                               kTwoConts,
                                               kTwoConts,
                                               kTwoConts,
                                               kTooShort | kOverlong2,
                                               kTooShort,
                                               kTooShort | kOverlong3 | kSurrogate,
                                               kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
    static constexpr uint8_t kByte1Low[16] = {kCarry | kOverlong3 | kOverlong2 | kOverlong4,
                                              kCarry | kOverlong2,
                                              kCarry,
                                              kCarry,
                                              kCarry | kTooLarge,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
                                              kCarry | kTooLarge | kTooLarge1000,
                                              kCarry | kTooLarge | kTooLarge1000};
    static constexpr uint8_t kByte2High[16] = {
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
        kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
        kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
        kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
        kTooShort,
        kTooShort,
        kTooShort,
        kTooShort};
    // A block may end inside a sequence only if the next block completes it.
    static constexpr uint8_t kIncompleteMax[32] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,     0xFF,     0xFF,    0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,     0xFF,     0xFF,    0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0 - 1, 0xE0 - 1, 0xC0 - 1};

    Avx2State state;
    state.byte1High = Table(kByte1High);
    state.byte1Low = Table(kByte1Low);
    state.byte2High = Table(kByte2High);
    state.incompleteMax = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kIncompleteMax));
    state.error = _mm256_setzero_si256();
    state.previous = _mm256_setzero_si256();
    state.previousIncomplete = _mm256_setzero_si256();

    const char* p = bytes.data();
    const char* end = p + bytes.size();
    for (; end - p >= 32; p += 32) {
        CheckBlock(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), state);
        if ((reinterpret_cast<uintptr_t>(p) & 0xFFF) < 32 &&
            !_mm256_testz_si256(state.error, state.error))
            return false; // now and then, so damaged files stop early
    }
    if (p < end) { // the rest, padded with ASCII spaces
        alignas(32) char last[32];
        std::memset(last, ' ', sizeof last);
        std::memcpy(last, p, static_cast<size_t>(end - p));
        CheckBlock(_mm256_load_si256(reinterpret_cast<const __m256i*>(last)), state);
    }
    state.error = _mm256_or_si256(state.error, state.previousIncomplete);
    return _mm256_testz_si256(state.error, state.error) != 0;
}

} // namespace
#endif

bool IsValidUtf8Fast(std::string_view bytes) {
#ifdef VYPISNIK_HAS_AVX2_PATH
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2)
        return IsValidUtf8Avx2(bytes);
#endif
    return IsValidUtf8Plain(bytes);
}

} // namespace vyp
