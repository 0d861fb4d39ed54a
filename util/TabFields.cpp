#include "util/TabFields.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

size_t SplitAtTabs(std::string_view text, std::string_view* fields, size_t most) {
    if (most == 0)
        return 0;
    const char* const base = text.data();
    const size_t size = text.size();
    size_t count = 0;
    size_t start = 0; // of the field in progress
    // Ends the field in progress at the TAB at tab; true once `most` fields are put.
    auto tabAt = [&](size_t tab) {
        fields[count++] = std::string_view(base + start, tab - start);
        start = tab + 1;
        return count == most;
    };
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
        for (auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
             tabs != 0; tabs &= tabs - 1) {
            if (tabAt(i + static_cast<size_t>(std::countr_zero(tabs))))
                return count;
        }
    }
#endif
    for (; i < size; ++i) {
        if (base[i] == '\t' && tabAt(i))
            return count;
    }
    fields[count++] = std::string_view(base + start, size - start);
    return count;
}

void SplitAtLastTabs(std::string_view text, std::string_view* fields, size_t count) {
    if (count == 0)
        return;
    const char* const base = text.data();
    size_t end = text.size(); // of the field in progress
    size_t k = count - 1;     // the field in progress
    // Ends field k at the TAB at tab; true once only the first field is left.
    auto tabAt = [&](size_t tab) {
        fields[k--] = std::string_view(base + tab + 1, end - tab - 1);
        end = tab;
        return k == 0;
    };
    size_t i = text.size(); // the bytes from i on are looked through
    bool done = k == 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; !done && i >= 16; i -= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i - 16));
        for (auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
             tabs != 0 && !done;) {
            const int last = 31 - std::countl_zero(tabs);
            done = tabAt(i - 16 + static_cast<size_t>(last));
            tabs &= ~(1U << last);
        }
    }
#endif
    while (!done && i > 0) {
        --i;
        if (base[i] == '\t')
            done = tabAt(i);
    }
    for (; k > 0; --k)
        fields[k] = std::string_view();
    fields[0] = std::string_view(base, end);
}

} // namespace vyp
