#include "lists/FolderRowsCsv.h"

#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "util/CsvWriter.h"

namespace vyp {

std::string CsvBytes(std::string_view sizeText) {
    const auto value = TryParseSizeText(sizeText);
    return value ? std::to_string(*value) : std::string();
}

void AppendFolderRowsCsvHeader(std::string& out) {
    CsvWriter(out).Row({"Soubor", "Velikost", "Přesná velikost", "Datum", "Čas", kCsvBytesCaption});
}

void AppendFolderRowCsv(const FolderRows& rows, size_t row, const RegionalSettings& regional,
                        std::string& out) {
    CsvWriter(out).Row({rows.Caption(row), FormatMB(rows.Size(row), regional),
                        FormatExactSize(rows.SizeText(row)), rows.DateText(row), rows.TimeText(row),
                        CsvBytes(rows.SizeText(row))});
}

} // namespace vyp
