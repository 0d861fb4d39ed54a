// Duplicates across the lists of the chosen groups: a set is two or more file lines (never
// folder lines or headers) whose names are one when letter case does not count (full Unicode
// case folding of the decoded name; accents count) and whose sizes are equal to the byte and at
// least a minimum, in one list or in several. Lists are read again from disk, side by side; a
// list that cannot be read is skipped and named once, as the search does.
//
// The lists are read twice: once to find which lines may have a twin (by part of a hash of the
// folded name and the size, 8 bytes a file line), then again only at those lines, to take them
// whole and compare their names exactly; so millions of lines cost a few hundred megabytes.
#pragma once

#include "lists/ListRegistry.h"
#include "search/ListSearch.h"
#include "search/SearchRow.h"
#include "search/SearchRowOrder.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vyp {

struct DuplicateQuery {
    GroupFilter groups{true, true, true, true, true, true, true};
    int64_t minSize = 1; // in bytes; empty files are never duplicates by default
};

struct DuplicateSet {
    size_t firstCopy = 0; // in DuplicateResult::copies
    size_t copies = 0;
    int64_t size = 0;   // of each copy, in bytes
    int64_t wasted = 0; // size × (copies − 1), at most INT64_MAX
};

struct DuplicateResult {
    // The copies, set after set; a set's copies by list (registry order), then in line order.
    // Each is a file row of the search (path with its folder prefix, UTF-8).
    SearchRows copies;
    // Most wasted bytes first, then by name (the first copy's), then the larger size first.
    std::vector<DuplicateSet> sets;
    int64_t wasted = 0; // of all sets, at most INT64_MAX
    // One text for each list that could not be read or changed while it was read.
    std::vector<std::string> errors;
    bool stopped = false; // the stop flag was raised: nothing was found

    std::string_view NameOf(const DuplicateSet& set) const { return copies[set.firstCopy].Name(); }
};

// Finds the duplicate sets in the lists of registry whose group query ticks. compareNames
// orders sets of equal waste by name (the byte order of the folded names when empty). linesRead,
// when given, counts the lines read so far, for a window to paint while this runs on a worker;
// raising stop ends the work soon, with nothing found.
DuplicateResult FindDuplicates(const ListRegistry& registry, const DuplicateQuery& query,
                               const NameComparison& compareNames = {},
                               std::atomic<uint64_t>* linesRead = nullptr,
                               const std::atomic<bool>* stop = nullptr);

// The text that names a list which changed while the duplicates were looked for.
std::string ListChangedWhileReadText(std::string_view listName);

} // namespace vyp
