#include "util/CsvWriter.h"

#include <array>

namespace vyp {

namespace {

// Whether the field must be quoted. A table rather than find_first_of, which asks memchr once
// for every byte: a CSV of millions of rows spent most of its time there.
bool NeedsQuotes(std::string_view field) {
    static constexpr std::array<bool, 256> kSpecial = [] {
        std::array<bool, 256> special{};
        for (unsigned char c : {',', '"', '\r', '\n'})
            special[c] = true;
        return special;
    }();
    for (const char c : field) {
        if (kSpecial[static_cast<unsigned char>(c)])
            return true;
    }
    return false;
}

} // namespace

void CsvWriter::AppendField(std::string_view field, std::string& out) {
    if (!NeedsQuotes(field)) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
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
