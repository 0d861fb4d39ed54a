#include "search/FoundLine.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

namespace {

// The fields of a line of length bytes from the positions of its TABs (bit i of tabs: a TAB at
// byte i, none at or after the line's end).
void TakeFields(FoundLine& found, uint64_t tabs, size_t length) {
    int tabCount = 0;
    size_t at[4];
    for (size_t& tab : at) {
        tabCount += tabs != 0 ? 1 : 0;
        tab = tabs != 0 ? static_cast<size_t>(std::countr_zero(tabs)) : length;
        tabs &= tabs - 1;
    }
    // Field i runs from after TAB i - 1 to TAB i or the line's end; a fifth field is dropped.
    found.fields.count = length == 0 ? 0 : tabCount < 4 ? tabCount + 1 : 4;
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        found.fields.field[i] =
            i < found.fields.count ? found.line.substr(start, at[i] - start) : std::string_view();
        start = at[i] + 1;
    }
}

} // namespace

void TakeFoundLineApart(const char* begin, const char* end, FoundLine& found) {
    uint64_t tabs = 0; // of the first 64 bytes, which hold the four TABs of any usual line
    bool backslash = false;
    const char* p = begin;
    const char* lineEnd = nullptr;
#if defined(__SSE2__)
    // Sixteen bytes at a time: the line breaks, TABs and "\" of a block in three masks. The
    // first 64 bytes, which hold the usual line, are compared whatever the line's length, so
    // that where it ends costs no guess.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i slash = _mm_set1_epi8('\\');
    auto compare = [&](const char* at, uint64_t& breaks, uint64_t& tabsThere,
                       uint64_t& backslashes) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        breaks = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        tabsThere = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        backslashes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, slash)));
    };
    if (end - begin >= 64) {
        uint64_t breaks = 0;
        uint64_t backslashes = 0;
        for (int block = 0; block < 4; ++block) {
            uint64_t b = 0;
            uint64_t t = 0;
            uint64_t s = 0;
            compare(begin + 16 * block, b, t, s);
            breaks |= b << (16 * block);
            tabs |= t << (16 * block);
            backslashes |= s << (16 * block);
        }
        const uint64_t before = breaks != 0 ? (breaks & (0 - breaks)) - 1 : ~uint64_t{0};
        tabs &= before;
        backslash = (backslashes & before) != 0;
        p = begin + 64;
        if (breaks != 0)
            lineEnd = begin + std::countr_zero(breaks);
    }
    for (; lineEnd == nullptr && end - p >= 16; p += 16) {
        uint64_t breaks = 0;
        uint64_t t = 0;
        uint64_t backslashes = 0;
        compare(p, breaks, t, backslashes);
        const uint64_t before = breaks != 0 ? (breaks & (0 - breaks)) - 1 : 0xFFFF;
        if (p - begin < 64)
            tabs |= (t & before) << (p - begin);
        backslash = backslash || (backslashes & before) != 0;
        if (breaks != 0)
            lineEnd = p + std::countr_zero(breaks);
    }
#endif
    if (lineEnd == nullptr) {
        // The last bytes before end, one at a time.
        for (; p < end && *p != '\r' && *p != '\n'; ++p) {
            if (*p == '\\')
                backslash = true;
            else if (*p == '\t' && p - begin < 64)
                tabs |= uint64_t{1} << (p - begin);
        }
        lineEnd = p;
    }
    const auto length = static_cast<size_t>(lineEnd - begin);
    found.line = std::string_view(begin, length);
    found.isFolder = backslash;
    if (length > 64 && std::popcount(tabs) < 4)
        found.fields = SplitListLine(found.line); // a TAB past the first 64 bytes
    else
        TakeFields(found, tabs, length);
}

} // namespace vyp
