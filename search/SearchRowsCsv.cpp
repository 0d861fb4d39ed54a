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

void AppendSearchRowsCsvHeader(std::string& out) {
    CsvWriter(out).Row({"Seznam", "Soubor / složka", "Velikost", "Přesná velikost", "Datum", "Čas",
                        kCsvBytesCaption});
}

void AppendSearchRowCsv(const SearchRow& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out) {
    CsvWriter(out).Row({listName, row.Path(), SearchSizeCell(row.SizeText(), regional),
                        FormatExactSize(row.SizeText()), row.DateText(), row.TimeText(),
                        CsvBytes(row.SizeText())});
}

} // namespace vyp
