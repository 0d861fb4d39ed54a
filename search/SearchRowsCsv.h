// The search results as CSV: the columns the results table shows ("Seznam", "Soubor / složka",
// "Velikost", "Přesná velikost", "Datum", "Čas") and the exact size in bytes as a plain number.
// The caller appends the rows in the order it shows them.
#pragma once

#include "lists/RegionalSettings.h"
#include "search/SearchRow.h"

#include <array>
#include <string>
#include <string_view>

namespace vyp {

void AppendSearchRowsCsvHeader(std::string& out);
// The caption of each column, in order.
const std::array<std::string_view, 7>& SearchRowsCsvCaptions();
// The cells of a row, in the order of the captions.
std::array<std::string, 7> SearchRowCsvCells(const SearchRow& row, std::string_view listName,
                                             const RegionalSettings& regional);
// listName is the name of the row's list as the table shows it.
void AppendSearchRowCsv(const SearchRow& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out);
void AppendSearchRowCsv(const SearchRowTexts& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out);

// The "Velikost" cell of a search row: the megabyte form, empty for a size that is no number
// (a damaged list); the exact column shows such a text as it is.
std::string SearchSizeCell(std::string_view sizeText, const RegionalSettings& regional);

} // namespace vyp
