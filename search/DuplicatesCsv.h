// The duplicate sets as CSV: "Sada", the set's number from 1 in the order of the sets, then the
// columns of the search's CSV for each copy (its list, its path with the folder prefix, sizes,
// date, time, the exact size in bytes), one row a copy.
#pragma once

#include "lists/RegionalSettings.h"
#include "search/DuplicateSearch.h"

#include <string>
#include <string_view>

namespace vyp {

void AppendDuplicatesCsvHeader(std::string& out);
// setNumber counts from 1; listName is the copy's list as the windows show it.
void AppendDuplicateCopyCsv(size_t setNumber, const SearchRow& copy, std::string_view listName,
                            const RegionalSettings& regional, std::string& out);

} // namespace vyp
