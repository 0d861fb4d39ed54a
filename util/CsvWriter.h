// Writes tables as CSV that spreadsheets and scripts read alike: UTF-8, fields separated by
// commas, rows ended by CR LF; a field holding a comma, a quote, CR or LF is put in quotes, its
// quotes doubled. Rows are appended to a text the caller owns.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vyp {

class CsvWriter {
public:
    explicit CsvWriter(std::string& out) : m_out(out) {}

    void Row(std::span<const std::string_view> fields);
    void Row(std::initializer_list<std::string_view> fields) {
        Row(std::span<const std::string_view>(fields.begin(), fields.size()));
    }

    // Whether a field must be quoted: it holds a comma, a quote, CR or LF.
    static bool NeedsQuotes(std::string_view field);
    // Appends one field, quoted where it must be.
    static void AppendField(std::string_view field, std::string& out);
    // Quotes, where it must be, the field that was appended to out from offset from on: for a
    // field made in place.
    static void QuoteFieldFrom(size_t from, std::string& out);

private:
    std::string& m_out;
};

} // namespace vyp
