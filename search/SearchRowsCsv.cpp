#include "search/SearchRowsCsv.h"

#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "lists/SizeText.h"
#include "util/CsvWriter.h"

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
    // The cells SearchRowCsvCells gives, the stored ones not copied: this runs once a row.
    const auto [path, size, date, time] = row.Texts();
    const std::string megabytes = SearchSizeCell(size, regional);
    const std::string exact = FormatExactSize(size);
    const std::string bytes = CsvBytes(size);
    CsvWriter(out).Row({listName, path, megabytes, exact, date, time, bytes});
}

} // namespace vyp
