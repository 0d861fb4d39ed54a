// The list search: every line of the ticked groups' list files that holds the search text
// (ASCII letters without regard to case, the raw line with its TABs, sizes and dates) gives one
// result row, in the order found: lists in registry order, lines in file order. List files are
// read again from disk at every search.
#pragma once

#include "lists/ListRegistry.h"
#include "search/SearchHits.h"
#include "search/SearchRow.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

// Which groups are searched: index 0 is group 2 ("Gamesy") … index 6 group 8 ("Neurčeno").
using GroupFilter = std::array<bool, 7>;

template <typename Rows> struct SearchOutcome {
    Rows rows;
    int32_t filesFound = 0;
    int32_t foldersFound = 0;
    // One "Cannot open file ..." text for each list that could not be read; the search went on.
    std::vector<std::string> errors;
    // The progress hook ended the search, or the memory ran out: the rows are those of the
    // lists before.
    bool stopped = false;
    bool outOfMemory = false;
};
using SearchResult = SearchOutcome<SearchRows>;
using SearchHitsResult = SearchOutcome<SearchHits>;

// Called on the searching thread each time a list's rows have joined the result, with the
// folder and file rows found so far. Returning false ends the search there.
using SearchProgressHook = std::function<bool(int32_t foldersFound, int32_t filesFound)>;

// Searches text (UTF-8, used as typed; the empty text matches nothing) in the lists of
// registry whose group is ticked in groups (a group outside 2..8 counts as "Neurčeno"). Each
// file's matches are found in its own encoding; the rows hold UTF-8.
SearchResult SearchLists(std::string_view text, const GroupFilter& groups,
                         const ListRegistry& registry, const SearchProgressHook& progress = {});

// The same search holding each row as its place in the list file (SearchHits), with the stamp
// of each list's file as it was read: the same rows in the same order, SearchHitReader reads
// their texts.
SearchHitsResult SearchListHits(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry,
                                const SearchProgressHook& progress = {});

// Appends the text a front end prints for a row; called on the searching threads, side by side
// for different lists, in each list's file order.
using SearchRowText = std::function<void(const SearchRowTexts& row, std::string& text)>;

// What SearchListsInOrder found, beside the rows it handed on.
struct SearchCounts {
    int32_t filesFound = 0;
    int32_t foldersFound = 0;
    // As SearchResult's, in registry order.
    std::vector<std::string> errors;
};

// Where a piece of the printed search has got to, told to a test that holds one piece there
// until another has got somewhere: the threads alone decide in which order the pieces meet.
enum class PieceStep {
    // The piece read a region, and next learns from it what it can of the list's encoding.
    ReadRegion,
    // The piece met bytes that are not UTF-8: its list is Windows-1250.
    MetWindows1250,
    // The piece searched a region and next looks at what its list's pieces learned meanwhile.
    SearchedRegion,
};
// Called on the searching threads with the piece's number within its list.
using PieceStepHook = std::function<void(size_t piece, PieceStep step)>;

// The search for a front end that prints its rows rather than holding them: the lists of
// listOrder (registry indices; those whose group is not ticked are left out) are searched side
// by side, their rows made into text by toText on the searching threads, and write gets the
// texts on the calling thread, list after list in listOrder's order, each list's rows in file
// order: the rows SearchLists finds, in that order. Nothing is held per row; a piece searched
// ahead of the one being written holds some ten megabytes of text at most before it waits.
// Each list is read once as a rule: rows that may read differently once the list's encoding is
// known (it is learned at the list's end) wait, up to heldBytes of them, before the rest of the
// list is checked ahead of the search. A long list is searched in pieces of about pieceBytes
// side by side, cut at folder lines. pieceStep, where given, is told where each piece has got.
SearchCounts SearchListsInOrder(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const std::vector<size_t>& listOrder,
                                const SearchRowText& toText,
                                const std::function<void(std::string_view text)>& write,
                                size_t heldBytes = size_t{4} << 20,
                                int64_t pieceBytes = int64_t{4} << 20,
                                const PieceStepHook& pieceStep = {});

// The name under which a list is shown: its file name without the final ".sez".
std::string ListNameOf(const rsznListInfo& info);

} // namespace vyp
