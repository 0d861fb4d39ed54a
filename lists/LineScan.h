// Lines of list text taken apart in one pass: the TABs, line ends and "\" of 64 bytes at a time
// become bit masks, and each line (its end, its first two TABs, its first "\") is read from the
// masks' bits, so a line costs a few steps however long it is. For readers that look at every
// line of whole lists: the duplicates and the comparison of two lists.
//
// Lines end as SplitLines ends them: at CR LF, a lone CR or a lone LF; a last line without an
// end is still a line.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Each line is handed on in the scan's own loop: called out of line, the call and the line
// passed through memory cost as much as finding the line.
#if defined(__GNUC__)
#define VYP_LINE_SCAN_INLINE __attribute__((always_inline))
#else
#define VYP_LINE_SCAN_INLINE
#endif

namespace vyp {

// One line: without its line end, its first two TABs (nullptr where it has fewer) and its
// first "\" (nullptr where it has none).
struct ScannedLine {
    const char* begin;
    const char* end;
    const char* tab1;
    const char* tab2;
    const char* backslash;

    std::string_view Text() const {
        return std::string_view(begin, static_cast<size_t>(end - begin));
    }
    // The first field: up to the first TAB, or the whole line.
    std::string_view FirstField() const {
        return std::string_view(begin, static_cast<size_t>((tab1 != nullptr ? tab1 : end) - begin));
    }
    // Whether the first field holds a "\": a folder line (or the header).
    bool FirstFieldHasBackslash() const {
        return backslash != nullptr && (tab1 == nullptr || backslash < tab1);
    }
};

// The bits below bit n (every bit from 64 on).
inline uint64_t BitsBelow(size_t n) {
    return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
}

namespace line_scan {

// Bit i of a mask stands for byte i of a block of 64 bytes.
struct BlockMasks {
    uint64_t tab, cr, lf, backslash;
};

inline BlockMasks MasksOf(const char* p) {
    BlockMasks masks{};
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        auto bits = [&](__m128i c) {
            return static_cast<uint64_t>(
                       static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c))))
                   << (16 * k);
        };
        masks.tab |= bits(tab);
        masks.cr |= bits(cr);
        masks.lf |= bits(lf);
        masks.backslash |= bits(backslash);
    }
#else
    for (int i = 0; i < 64; ++i) {
        const uint64_t bit = uint64_t{1} << i;
        masks.tab |= p[i] == '\t' ? bit : 0;
        masks.cr |= p[i] == '\r' ? bit : 0;
        masks.lf |= p[i] == '\n' ? bit : 0;
        masks.backslash |= p[i] == '\\' ? bit : 0;
    }
#endif
    return masks;
}

// The first few marks (TABs, "\") of a line as far as it has been looked through.
template <int Count> struct FirstMarks {
    static constexpr size_t kNone = SIZE_MAX;
    size_t at[Count];
    int found = 0;

    FirstMarks() {
        for (size_t& a : at)
            a = kNone;
    }
    // Takes the marks of mask, bits of the line in the block at blockStart.
    void Take(uint64_t marks, size_t blockStart) {
        for (; found < Count && marks != 0; marks &= marks - 1)
            at[found++] = blockStart + static_cast<size_t>(std::countr_zero(marks));
    }
};

} // namespace line_scan

// Calls onLine(const ScannedLine&) for every line of lines; when onLine returns bool, false
// stops the scan. Returns the number of lines passed. masksOf(block, p) gives the masks of the
// block at offset block, whose bytes p points to (the last block padded with zeros), so that a
// reader may have them found for many blocks at once beforehand (lists/LineMasks.h).
template <typename MasksOf, typename OnLine>
VYP_LINE_SCAN_INLINE inline size_t ForEachScannedLineOf(std::string_view lines, MasksOf masksOf,
                                                        OnLine onLine) {
    using line_scan::FirstMarks;
    const char* const base = lines.data();
    const size_t size = lines.size();
    size_t count = 0;
    size_t lineStart = 0;    // of the line in progress
    FirstMarks<2> tabs;      // of the line in progress, from blocks before this one
    FirstMarks<1> backslash; // the same
    uint64_t crBefore = 0;   // 1 when the byte before the block is a CR
    char padded[64];
    auto at = [base](size_t offset) {
        return offset == FirstMarks<1>::kNone ? nullptr : base + offset;
    };
    // Passes the line in progress, ending at end; false when onLine said to stop.
    auto pass = [&](size_t end) VYP_LINE_SCAN_INLINE {
        const ScannedLine line{base + lineStart, base + end, at(tabs.at[0]), at(tabs.at[1]),
                               at(backslash.at[0])};
        ++count;
        if constexpr (std::is_same_v<decltype(onLine(line)), bool>) {
            return onLine(line);
        } else {
            onLine(line);
            return true;
        }
    };
    for (size_t block = 0; block < size; block += 64) {
        const char* p = base + block;
        if (size - block < 64) { // the last bytes, padded with bytes that are nothing special
            std::memset(padded, 0, sizeof padded);
            std::memcpy(padded, p, size - block);
            p = padded;
        }
        const line_scan::BlockMasks masks = masksOf(block, static_cast<const char*>(p));
        // A LF right after a CR ends no line: the CR has.
        const uint64_t lfAfterCr = masks.lf & ((masks.cr << 1) | crBefore);
        crBefore = masks.cr >> 63;
        if ((lfAfterCr & 1) != 0 && lineStart == block)
            lineStart = block + 1;
        // Where the line in progress starts in the block: 0 when it began in a block before.
        size_t from = lineStart > block ? lineStart - block : 0;
        for (uint64_t ends = (masks.cr | masks.lf) & ~lfAfterCr; ends != 0; ends &= ends - 1) {
            const auto end = static_cast<size_t>(std::countr_zero(ends));
            const uint64_t line = BitsBelow(end) & ~BitsBelow(from);
            tabs.Take(masks.tab & line, block);
            backslash.Take(masks.backslash & line, block);
            if (!pass(block + end))
                return count;
            tabs = FirstMarks<2>();
            backslash = FirstMarks<1>();
            lineStart = block + end + 1 + ((lfAfterCr >> end) >> 1 & 1);
            from = lineStart - block;
        }
        const uint64_t rest = ~BitsBelow(from);
        tabs.Take(masks.tab & rest, block);
        backslash.Take(masks.backslash & rest, block);
    }
    if (lineStart < size) // the last line, without a line end
        pass(size);
    return count;
}

// The same, each block's masks found as it comes.
template <typename OnLine> size_t ForEachScannedLine(std::string_view lines, OnLine onLine) {
    return ForEachScannedLineOf(
        lines, [](size_t, const char* p) VYP_LINE_SCAN_INLINE { return line_scan::MasksOf(p); },
        onLine);
}

} // namespace vyp
