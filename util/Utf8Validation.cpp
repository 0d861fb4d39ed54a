#include "util/Utf8Validation.h"

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

// The classes each half allows, by its value.
constexpr uint8_t kByte1High[16] = {kTooLong,
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
constexpr uint8_t kByte1Low[16] = {kCarry | kOverlong3 | kOverlong2 | kOverlong4,
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
constexpr uint8_t kByte2High[16] = {kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 |
                                        kOverlong4,
                                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
                                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
                                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort,
                                    kTooShort};

__attribute__((target("avx2"))) inline __m256i Lookup(__m256i table, __m256i nibbles) {
    return _mm256_shuffle_epi8(table, nibbles);
}

__attribute__((target("avx2"))) inline __m256i Table(const uint8_t (&t)[16]) {
    const __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t));
    return _mm256_broadcastsi128_si256(half);
}

__attribute__((target("avx2"))) inline __m256i Load(const char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

struct Avx2Tables {
    __m256i byte1High, byte1Low, byte2High;
};

// Checks the 32 bytes at p against the three bytes before each, which are loaded from memory
// (p - 3 must be readable) rather than shifted in from the block before: shifting across the
// two 16-byte halves is the slowest step on processors that run 256-bit work as two halves.
// Every block is checked whole, ASCII or not: on lists that mix accented and plain names,
// skipping ASCII blocks costs more in mispredicted branches than it saves.
__attribute__((target("avx2"))) inline __m256i BlockErrors(const char* p, const Avx2Tables& t) {
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);
    const __m256i block = Load(p);
    const __m256i prev1 = Load(p - 1);
    const __m256i special = _mm256_and_si256(
        _mm256_and_si256(
            Lookup(t.byte1High, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), lowNibble)),
            Lookup(t.byte1Low, _mm256_and_si256(prev1, lowNibble))),
        Lookup(t.byte2High, _mm256_and_si256(_mm256_srli_epi16(block, 4), lowNibble)));
    // The third and fourth bytes of a sequence must be continuations, and only they may
    // follow a continuation: that is where kTwoConts is no error.
    const __m256i third =
        _mm256_subs_epu8(Load(p - 2), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m256i fourth =
        _mm256_subs_epu8(Load(p - 3), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m256i must23 =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    return _mm256_xor_si256(must23, special);
}

__attribute__((target("avx2"))) bool IsValidUtf8Avx2(std::string_view bytes) {
    const Avx2Tables tables{Table(kByte1High), Table(kByte1Low), Table(kByte2High)};
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    // The edges are checked in a copy with ASCII spaces around them: before the start, where no
    // sequence can be open, and after the end, where a sequence cut short meets a space.
    alignas(32) char edge[64];
    std::memset(edge, ' ', sizeof edge);
    if (bytes.empty())
        return true; // and no copy from a view that may point nowhere
    if (bytes.size() < 32) {
        std::memcpy(edge + 32, p, bytes.size());
        const __m256i error = BlockErrors(edge + 32, tables);
        return _mm256_testz_si256(error, error) != 0;
    }
    std::memcpy(edge + 32, p, 32);
    __m256i error = BlockErrors(edge + 32, tables);
    p += 32;
    while (end - p >= 32) {
        // Damaged files stop early, after a few KiB.
        const char* stop = end - p >= 4096 + 32 ? p + 4096 : end - 31;
        for (; p < stop; p += 32) {
            _mm_prefetch(p + 2048, _MM_HINT_T0); // as in the AVX-512 check below
            error = _mm256_or_si256(error, BlockErrors(p, tables));
        }
        if (!_mm256_testz_si256(error, error))
            return false;
    }
    std::memcpy(edge, p - 32, static_cast<size_t>(end - p) + 32);
    std::memset(edge + 32 + (end - p), ' ', static_cast<size_t>(32 - (end - p)));
    error = _mm256_or_si256(error, BlockErrors(edge + 32, tables));
    return _mm256_testz_si256(error, error) != 0;
}

// The same check 64 bytes at a time, where the processor has AVX-512 (its byte instructions):
// the lookups work within each 16-byte quarter as AVX2's do within each half.
#define VYPISNIK_AVX512 __attribute__((target("avx512f,avx512bw"), always_inline)) inline

struct Avx512Tables {
    __m512i byte1High, byte1Low, byte2High;
};

VYPISNIK_AVX512 __m512i Table512(const uint8_t (&t)[16]) {
    // The zero-masking form: the plain one starts from an undefined value that GCC warns about.
    return _mm512_maskz_broadcast_i32x4(0xFFFF,
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(t)));
}

VYPISNIK_AVX512 __m512i Load512(const char* p) {
    return _mm512_loadu_si512(p);
}

VYPISNIK_AVX512 __m512i BlockErrors512(const char* p, const Avx512Tables& t) {
    const __m512i lowNibble = _mm512_set1_epi8(0x0F);
    const __m512i block = Load512(p);
    const __m512i prev1 = Load512(p - 1);
    const __m512i special = _mm512_and_si512(
        _mm512_and_si512(_mm512_shuffle_epi8(
                             t.byte1High, _mm512_and_si512(_mm512_srli_epi16(prev1, 4), lowNibble)),
                         _mm512_shuffle_epi8(t.byte1Low, _mm512_and_si512(prev1, lowNibble))),
        _mm512_shuffle_epi8(t.byte2High, _mm512_and_si512(_mm512_srli_epi16(block, 4), lowNibble)));
    const __m512i third =
        _mm512_subs_epu8(Load512(p - 2), _mm512_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m512i fourth =
        _mm512_subs_epu8(Load512(p - 3), _mm512_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m512i must23 =
        _mm512_and_si512(_mm512_or_si512(third, fourth), _mm512_set1_epi8(static_cast<char>(0x80)));
    return _mm512_xor_si512(must23, special);
}

VYPISNIK_AVX512 bool NoErrors512(__m512i error) {
    return _mm512_test_epi64_mask(error, error) == 0;
}

__attribute__((target("avx512f,avx512bw"))) bool IsValidUtf8Avx512(std::string_view bytes) {
    const Avx512Tables tables{Table512(kByte1High), Table512(kByte1Low), Table512(kByte2High)};
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    // The edges are checked in a copy with spaces around them, as in the AVX2 check.
    char edge[128];
    std::memset(edge, ' ', sizeof edge);
    if (bytes.empty())
        return true;
    if (bytes.size() < 64) {
        std::memcpy(edge + 64, p, bytes.size());
        return NoErrors512(BlockErrors512(edge + 64, tables));
    }
    std::memcpy(edge + 64, p, 64);
    __m512i error = BlockErrors512(edge + 64, tables);
    p += 64;
    while (end - p >= 64) {
        const char* stop = end - p >= 4096 + 64 ? p + 4096 : end - 63;
        for (; p < stop; p += 64) {
            // Lists are read from their mapping, page by page of the system's cache that lie
            // anywhere in memory, where the processor's own prefetching stops at every page: a
            // hint half a page ahead keeps the loads from waiting (a third less time here).
            _mm_prefetch(p + 2048, _MM_HINT_T0);
            error = _mm512_or_si512(error, BlockErrors512(p, tables));
        }
        if (!NoErrors512(error))
            return false;
    }
    std::memcpy(edge, p - 64, static_cast<size_t>(end - p) + 64);
    std::memset(edge + 64 + (end - p), ' ', static_cast<size_t>(64 - (end - p)));
    error = _mm512_or_si512(error, BlockErrors512(edge + 64, tables));
    return NoErrors512(error);
}

} // namespace
#endif

bool CanRunUtf8Check(Utf8FastCheck check) {
#ifdef VYPISNIK_HAS_AVX2_PATH
    switch (check) {
    case Utf8FastCheck::Avx2:
        return __builtin_cpu_supports("avx2");
    case Utf8FastCheck::Avx512:
#ifdef _WIN32
        // MinGW's GCC keeps the stack aligned to 16 bytes only, short of what 64-byte registers
        // spilled there need: Windows keeps to AVX2.
        return false;
#else
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
#endif
    }
#endif
    (void)check;
    return false;
}

bool IsValidUtf8With(Utf8FastCheck check, std::string_view bytes) {
#ifdef VYPISNIK_HAS_AVX2_PATH
    if (check == Utf8FastCheck::Avx512)
        return IsValidUtf8Avx512(bytes);
    if (check == Utf8FastCheck::Avx2)
        return IsValidUtf8Avx2(bytes);
#endif
    (void)check;
    return IsValidUtf8Plain(bytes);
}

bool IsValidUtf8Fast(std::string_view bytes) {
#ifdef VYPISNIK_HAS_AVX2_PATH
    static const bool hasAvx512 = CanRunUtf8Check(Utf8FastCheck::Avx512);
    static const bool hasAvx2 = CanRunUtf8Check(Utf8FastCheck::Avx2);
    if (hasAvx512)
        return IsValidUtf8Avx512(bytes);
    if (hasAvx2)
        return IsValidUtf8Avx2(bytes);
#endif
    return IsValidUtf8Plain(bytes);
}

} // namespace vyp
