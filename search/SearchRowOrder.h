// The first order of search results: by the name of the list a row was found in, rows of one
// list (and of lists whose names compare equal) in the order they were found. The names are
// compared by the caller's collation once per list, never once per row, so ordering millions
// of rows costs one pass over them.
#pragma once

#include "search/SearchRow.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

// Compares two names: < 0, 0 or > 0 when the first comes before, with or after the second.
using NameComparison = std::function<int(std::string_view, std::string_view)>;

// The rank of each name: names that compare equal share a rank, a lower rank comes first.
std::vector<uint32_t> RankListNames(const std::vector<std::string>& names,
                                    const NameComparison& compare);

// The indices of the names ordered by rank, names of one rank in their own order.
std::vector<size_t> ListsByRank(const std::vector<uint32_t>& ranks);

// The positions of rows ordered by the rank of their list, stable. A row whose list has no
// rank (a registry that changed since) comes after every ranked one.
std::vector<size_t> OrderByListName(const SearchRows& rows, const std::vector<uint32_t>& ranks);

} // namespace vyp
