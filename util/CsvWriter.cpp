#include "util/CsvWriter.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

// A table rather than find_first_of, which asks memchr once for every byte: a CSV of millions of
// rows spent most of its time there.
bool CsvWriter::NeedsQuotes(std::string_view field) {
    static constexpr std::array<bool, 256> kSpecial = [] {
        std::array<bool, 256> special{};
        for (unsigned char c : {',', '"', '\r', '\n'})
            special[c] = true;
        return special;
    }();
    const char* p = field.data();
    const char* end = p + field.size();
#if defined(__SSE2__)
    // Sixteen bytes at a time: every cell of every row goes through here.
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i special =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (_mm_movemask_epi8(special) != 0)
            return true;
    }
#endif
    // The last bytes, most cells whole, gathered without a jump for each: a byte is special
    // seldom, and the cells' lengths vary from row to row.
    bool special = false;
    for (; p < end; ++p)
        special |= kSpecial[static_cast<unsigned char>(*p)];
    return special;
}

void CsvWriter::AppendField(std::string_view field, std::string& out) {
    if (!NeedsQuotes(field)) {
        out.append(field);
        return;
    }
    out.push_back('"');
    if (field.find('"') == std::string_view::npos) {
        out.append(field); // the usual, a comma of a number such as "1,50 MB"
    } else {
        for (char c : field) {
            if (c == '"')
                out.push_back('"');
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void CsvWriter::QuoteFieldFrom(size_t from, std::string& out) {
    const std::string_view field = std::string_view(out).substr(from);
    if (!NeedsQuotes(field))
        return;
    if (field.find('"') == std::string_view::npos) {
        // Put in quotes where it stands: this runs for a cell of every row of a search.
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(from), '"');
        out.push_back('"');
        return;
    }
    const std::string made(field);
    out.resize(from);
    AppendField(made, out);
}

void CsvWriter::Row(std::span<const std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            m_out.push_back(',');
        AppendField(field, m_out);
        first = false;
    }
    m_out.append("\r\n");
}

} // namespace vyp
