#include "search/SearchRowsCsv.h"

#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "lists/ListFile.h"
#include "lists/SizeText.h"
#include "util/CsvWriter.h"

#include <charconv>
#include <optional>

namespace vyp {

std::string SearchSizeCell(std::string_view sizeText, const RegionalSettings& regional) {
    const auto value = TryParseSizeText(sizeText);
    return value ? FormatMB(*value, regional) : std::string();
}

const std::array<std::string_view, 7>& SearchRowsCsvCaptions() {
    static const std::array<std::string_view, 7> captions = {
        "Seznam", "Soubor / složka", "Velikost", "Přesná velikost", "Datum",
        "Čas",    kCsvBytesCaption};
    return captions;
}

std::array<std::string, 7> SearchRowCsvCells(const SearchRow& row, std::string_view listName,
                                             const RegionalSettings& regional) {
    return {std::string(listName),
            std::string(row.Path()),
            SearchSizeCell(row.SizeText(), regional),
            FormatExactSize(row.SizeText()),
            std::string(row.DateText()),
            std::string(row.TimeText()),
            CsvBytes(row.SizeText())};
}

void AppendSearchRowsCsvHeader(std::string& out) {
    const auto& captions = SearchRowsCsvCaptions();
    CsvWriter(out).Row(std::span<const std::string_view>(captions.data(), captions.size()));
}

void AppendSearchRowCsv(const SearchRow& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out) {
    AppendSearchRowCsv(row.AllTexts(), listName, regional, out);
}

void AppendSearchRowCsv(const SearchRowTexts& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out) {
    // The cells SearchRowCsvCells gives, made in place and the size read once: this runs once a
    // row, and a search may print millions.
    const std::string_view size = row.size;
    const std::optional<int64_t> bytes = TryParseSizeText(size);
    CsvWriter::AppendField(listName, out);
    out.push_back(',');
    const size_t pathFrom = out.size();
    out.append(row.folder).append(row.name);
    CsvWriter::QuoteFieldFrom(pathFrom, out);
    out.push_back(',');
    if (bytes) {
        const size_t from = out.size();
        AppendMB(*bytes, regional, out);
        CsvWriter::QuoteFieldFrom(from, out);
    }
    out.push_back(',');
    const size_t exactFrom = out.size();
    out.append(size).append(" B");
    CsvWriter::QuoteFieldFrom(exactFrom, out);
    out.push_back(',');
    CsvWriter::AppendField(row.date, out);
    out.push_back(',');
    const size_t timeFrom = out.size();
    AppendTimeForDisplay(row.time, out);
    CsvWriter::QuoteFieldFrom(timeFrom, out);
    out.push_back(',');
    if (bytes) {
        // The number as it is written plainly, which is the stored text unless that has a sign
        // or leading zeros.
        const bool plain = !size.empty() && size[0] != '+' && size[0] != '0' &&
                           !(size[0] == '-' && (size.size() == 1 || size[1] == '0'));
        if (plain || size == "0") {
            out.append(size);
        } else {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, *bytes).ptr;
            out.append(digits, static_cast<size_t>(end - digits));
        }
    }
    out.append("\r\n");
}

} // namespace vyp
