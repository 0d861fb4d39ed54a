#include "search/ListSearch.h"

#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/RegionFolders.h"
#include "platform/ParallelInOrder.h"
#include "search/CaseInsensitiveFinder.h"
#include "util/Errors.h"

#include <cstring>
#include <optional>

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
void SearchFile(std::string_view text, int32_t listIndex, const std::string& path,
                SearchResult& result) {
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
        }
        return true;
    };
    try {
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
    std::vector<size_t> searched;
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) - kFirstGroup)])
            searched.push_back(i);
    }
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
                for (size_t i = 0; i < one.rows.size(); ++i) {
                    if (one.rows[i].IsFolder())
                        ++result.foldersFound;
                    else
                        ++result.filesFound;
                }
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

} // namespace vyp
