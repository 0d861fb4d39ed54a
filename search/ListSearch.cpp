#include "search/ListSearch.h"

#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/RegionFolders.h"
#include "platform/ParallelInOrder.h"
#include "platform/StreamInOrder.h"
#include "search/CaseInsensitiveFinder.h"
#include "util/Errors.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace vyp {

namespace {

// Finds one form of the search text (as a file in one encoding holds it) in the regions of a
// list file and keeps the matching lines as rows.
class FormSearcher {
public:
    FormSearcher(std::string_view needle, int32_t listIndex, SearchRows& rows)
        : m_finder(needle), m_listIndex(listIndex), m_rows(rows) {}

    void SearchHeader(std::string_view header) {
        // The header is line 0 by position; it shows as a folder row of the root.
        if (m_finder.Find(header.data(), header.data() + header.size()) != nullptr)
            AddRow(header, true, {});
    }

    void SearchRegion(const ListRegion& region) {
        const char* floor = region.lines.data();
        const char* end = floor + region.lines.size();
        const char* p = floor;
        RegionFolders folders(region);
        while (const char* match = m_finder.Find(p, end)) {
            const char* lineBegin = LineStartBefore(floor, match);
            const char* lineEnd = LineEndAfter(match, end);
            const std::string_view line(lineBegin, static_cast<size_t>(lineEnd - lineBegin));
            const bool isFolder = std::memchr(line.data(), '\\', line.size()) != nullptr;
            AddRow(line, isFolder, folders.FolderOf(lineBegin));
            p = lineEnd;
        }
    }

private:
    void AddRow(std::string_view line, bool isFolder, std::string_view prefix) {
        const ListLineFields fields = SplitListLine(line);
        auto field = [&fields](int i) {
            return i < fields.count ? fields.field[i] : std::string_view();
        };
        m_rows.Add(m_listIndex, isFolder, isFolder ? std::string_view() : prefix, field(0),
                   field(1), field(2), field(3));
    }

    CaseInsensitiveFinder m_finder;
    int32_t m_listIndex;
    SearchRows& m_rows;
};

// Searches one list file in one pass, in the byte form its encoding gives the text. A text
// with accents is looked for in its UTF-8 form while the file reads as valid UTF-8; should the
// file turn out to be Windows-1250, what the UTF-8 form found is no match, and the file is read
// again from its start for the Windows-1250 form. Lists in Windows-1250 hold accents from their
// first lines, so that second read is short, and the usual UTF-8 list is searched once for one
// form rather than for two.
//
// With pieces given, the rows are not kept: each region's rows are handed to pieces as soon as
// they are found, decoded, and dropped. Rows handed on cannot be taken back, so the file's
// encoding is learned first, reading on only as far as it takes, and the search then starts
// from the top knowing it.
void SearchFile(std::string_view text, int32_t listIndex, const std::string& path,
                SearchResult& result, const SearchRowsPieces* pieces = nullptr) {
    const size_t firstRow = result.rows.size();
    std::optional<ListRegionReader> reader;
    try {
        reader.emplace(path);
    } catch (const VypisnikError& error) {
        result.errors.emplace_back(error.what());
        return;
    }
    // Lines never hold a line end, so such a text matches nothing.
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return;
    // An ASCII text has the same bytes in both encodings.
    const bool ascii = IsAscii(text);
    std::string windows1250Text;
    const bool hasWindows1250Form =
        !ascii && FromUtf8(text, TextEncoding::Windows1250, windows1250Text);
    const bool hasUtf8Form = ascii || IsValidUtf8(text);
    auto isUtf8 = [&reader] {
        return reader->Encoding() == TextEncoding::Utf8;
    };
    auto handOn = [&] {
        if (pieces == nullptr || result.rows.size() == firstRow)
            return;
        result.rows.DecodeFrom(firstRow, reader->Encoding());
        (*pieces)(result.rows);
        result.rows.Truncate(firstRow);
    };
    // Searches the rest of the file for form; false when the file stopped being UTF-8 while
    // the form was one only a UTF-8 file can hold.
    auto searchRest = [&](std::string_view form, bool onlyInUtf8) {
        FormSearcher searcher(form, listIndex, result.rows);
        searcher.SearchHeader(reader->Header());
        ListRegion region;
        while (reader->Next(region)) {
            if (onlyInUtf8 && !isUtf8())
                return false;
            searcher.SearchRegion(region);
            handOn();
        }
        return true;
    };
    try {
        if (pieces != nullptr) {
            try {
                reader->EncodingOfWholeFile();
            } catch (const VypisnikError&) {
                // The search reads as far and fails there too, with what was learned by then.
            }
            reader->Restart();
        }
        if (ascii) {
            searchRest(text, false);
        } else {
            // The header alone may show Windows-1250 already.
            bool windows1250 = !isUtf8();
            const bool searched = !windows1250 && hasUtf8Form;
            if (searched)
                windows1250 = !searchRest(text, true);
            if (windows1250) {
                result.rows.Truncate(firstRow);
                if (hasWindows1250Form) {
                    if (searched)
                        reader->Restart();
                    searchRest(windows1250Text, false);
                }
            }
        }
    } catch (const VypisnikError& error) {
        result.errors.emplace_back(error.what()); // the rows found so far stay
    }
    result.rows.DecodeFrom(firstRow, reader->Encoding());
    handOn();
}

std::vector<size_t> SearchedLists(const GroupFilter& groups, const ListRegistry& registry) {
    std::vector<size_t> searched;
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) - kFirstGroup)])
            searched.push_back(i);
    }
    return searched;
}

void CountRows(const SearchRows& rows, int32_t& foldersFound, int32_t& filesFound) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].IsFolder())
            ++foldersFound;
        else
            ++filesFound;
    }
}

} // namespace

std::string ListNameOf(const rsznListInfo& info) {
    return std::string(ListCaption(info.FileName));
}

SearchResult SearchLists(std::string_view text, const GroupFilter& groups,
                         const ListRegistry& registry, const SearchProgressHook& progress) {
    SearchResult result;
    if (text.empty())
        return result;
    const std::vector<size_t> searched = SearchedLists(groups, registry);
    struct Stopped {}; // thrown out of the consuming step, which stops the readers
    try {
        // The lists are read side by side; their rows join the result in registry order.
        ParallelInOrder<SearchResult>(
            searched.size(),
            [&](size_t k) {
                SearchResult one;
                SearchFile(text, static_cast<int32_t>(searched[k]), registry.ListPaths[searched[k]],
                           one);
                return one;
            },
            [&](size_t, SearchResult&& one) {
                CountRows(one.rows, result.foldersFound, result.filesFound);
                result.rows.Append(std::move(one.rows));
                for (std::string& error : one.errors)
                    result.errors.push_back(std::move(error));
                if (progress && !progress(result.foldersFound, result.filesFound))
                    throw Stopped();
            });
    } catch (const Stopped&) {
        result.stopped = true;
    }
    result.rows.ShrinkToFit();
    return result;
}

SearchCounts SearchListsInOrder(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const std::vector<size_t>& listOrder,
                                const SearchRowsText& toText,
                                const std::function<void(std::string_view text)>& write) {
    SearchCounts counts;
    if (text.empty())
        return counts;
    const std::vector<size_t> ticked = SearchedLists(groups, registry);
    std::vector<size_t> searched;
    for (size_t list : listOrder) {
        if (std::binary_search(ticked.begin(), ticked.end(), list))
            searched.push_back(list);
    }
    struct ListOutcome {
        int32_t foldersFound = 0;
        int32_t filesFound = 0;
        std::vector<std::string> errors;
    };
    // A piece of text is handed on once it is about this long: big enough that handing on costs
    // nothing, small enough that a list ahead holds little.
    constexpr size_t kPieceBytes = size_t{1} << 20;
    std::vector<std::pair<size_t, std::string>> errors; // with the list's registry index
    StreamInOrder<ListOutcome>(
        searched.size(),
        [&](size_t k, auto& put) {
            ListOutcome outcome;
            std::string piece;
            const SearchRowsPieces pieces = [&](const SearchRows& rows) {
                CountRows(rows, outcome.foldersFound, outcome.filesFound);
                toText(rows, piece);
                if (piece.size() >= kPieceBytes)
                    put(std::exchange(piece, std::string()));
            };
            SearchResult one;
            SearchFile(text, static_cast<int32_t>(searched[k]), registry.ListPaths[searched[k]],
                       one, &pieces);
            if (!piece.empty())
                put(std::move(piece));
            outcome.errors = std::move(one.errors);
            return outcome;
        },
        [&](std::string&& piece) { write(piece); },
        [&](size_t k, ListOutcome&& outcome) {
            counts.foldersFound += outcome.foldersFound;
            counts.filesFound += outcome.filesFound;
            for (std::string& error : outcome.errors)
                errors.emplace_back(searched[k], std::move(error));
        },
        4 * kPieceBytes);
    std::stable_sort(errors.begin(), errors.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [list, error] : errors)
        counts.errors.push_back(std::move(error));
    return counts;
}

} // namespace vyp
