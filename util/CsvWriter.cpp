#include "util/CsvWriter.h"

namespace vyp {

void CsvWriter::AppendField(std::string_view field, std::string& out) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
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
