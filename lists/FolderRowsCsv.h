// The file table of a folder as CSV: the columns the table shows ("Soubor", "Velikost",
// "Přesná velikost", "Datum", "Čas") and the exact size in bytes as a plain number, so a
// spreadsheet can add sizes up. The caller appends the rows in the order it shows them.
#pragma once

#include "lists/FolderRows.h"
#include "lists/RegionalSettings.h"

#include <string>

namespace vyp {

// The caption of the last column of every CSV table.
inline constexpr std::string_view kCsvBytesCaption = "Velikost v bajtech";

void AppendFolderRowsCsvHeader(std::string& out);
void AppendFolderRowCsv(const FolderRows& rows, size_t row, const RegionalSettings& regional,
                        std::string& out);

// The bytes of a size text as a plain number; empty for a size that is no number.
std::string CsvBytes(std::string_view sizeText);

} // namespace vyp
