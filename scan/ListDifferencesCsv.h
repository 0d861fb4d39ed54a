// The differences of two lists as CSV: "Změna", "Cesta", then the exact size in bytes, the date
// as stored and the time with ":" of the first list and of the second, empty where a list lacks
// the entry. The command line and the comparison window write the same lines.
#pragma once

#include "scan/ListDifferences.h"

#include <string>

namespace vyp {

void AppendListDifferencesCsvHeader(std::string& out);
void AppendListDifferenceCsv(const ListDifferences& differences, size_t i, std::string& out);

} // namespace vyp
