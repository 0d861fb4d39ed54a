// Puts millions of items (node numbers of a table) in the order of integer keys, stably, in a
// few passes over them rather than some twenty comparisons each: a sort by a column whose rows
// were ranked once, or by sizes, compares nothing and moves each item a handful of times, spread
// over the cores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vyp {

// Sorts items[0 .. count) by keys[items[i]], ascending or descending; items with equal keys keep
// the order they had, in both directions. Items are 32-bit numbers below keys.size() (nodes of a
// tree, rows of a table in the order shown).
template <typename Item>
void StableSortByKeys(Item* items, size_t count, const std::vector<uint64_t>& keys,
                      bool descending);

extern template void StableSortByKeys(int32_t*, size_t, const std::vector<uint64_t>&, bool);
extern template void StableSortByKeys(uint32_t*, size_t, const std::vector<uint64_t>&, bool);

// Sorts items[0 .. count) by ranks[items[i]], ascending or descending, stably as StableSortByKeys,
// for ranks below ranks.size(), with no key beside each item to fill first; items in the
// opposite order already (a column sorted the other way last) are only turned over, run by run.
// False when the items were in that order already and nothing moved.
bool StableSortByRanks(uint32_t* items, size_t count, const std::vector<uint32_t>& ranks,
                       bool descending);

// The place of each key among all of them (0, 1, ...), equal keys sharing one: what a table sorts
// by, 4 bytes a row, after it has read 8-byte keys once. The keys' memory serves the ranking:
// hand them over (std::move) where they are not needed after.
std::vector<uint32_t> RanksOfKeys(std::vector<uint64_t> keys);

} // namespace vyp
