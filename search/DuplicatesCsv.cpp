#include "search/DuplicatesCsv.h"

#include "search/SearchRowsCsv.h"
#include "util/CsvWriter.h"

namespace vyp {

void AppendDuplicatesCsvHeader(std::string& out) {
    const auto& search = SearchRowsCsvCaptions();
    CsvWriter(out).Row(
        {"Sada", search[0], search[1], search[2], search[3], search[4], search[5], search[6]});
}

void AppendDuplicateCopyCsv(size_t setNumber, const SearchRow& copy, std::string_view listName,
                            const RegionalSettings& regional, std::string& out) {
    const std::string number = std::to_string(setNumber);
    const std::array<std::string, 7> cells = SearchRowCsvCells(copy, listName, regional);
    CsvWriter(out).Row(
        {number, cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
}

} // namespace vyp
