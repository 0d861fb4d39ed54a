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
#include <new>
#include <optional>
#include <utility>

namespace vyp {

namespace {

// What a found line becomes: a row with its texts, or a place in the file.
void AddFound(SearchRows& rows, int32_t listIndex, std::string_view line, bool isFolder,
              std::string_view prefix, int64_t, int64_t) {
    rows.AddLine(listIndex, isFolder, prefix, line);
}

void AddFound(SearchHits& hits, int32_t listIndex, std::string_view line, bool isFolder,
              std::string_view, int64_t lineOffset, int64_t folderOffset) {
    hits.Add(listIndex, isFolder, lineOffset, folderOffset);
    if (!isFolder)
        hits.NoteExtension(ExtensionOf(FirstField(line)));
}

// The rows of a list are decoded once its encoding is known; places need only the file's
// stamp and encoding.
void ListRead(SearchRows& rows, size_t firstRow, int32_t, const ListRegionReader& reader) {
    rows.DecodeFrom(firstRow, reader.Encoding());
}

// A store of places keeps what fitted when memory ran out and drops the rest; rows with texts
// throw std::bad_alloc.
bool OutOfMemory(const SearchRows&) {
    return false;
}
bool OutOfMemory(const SearchHits& hits) {
    return hits.OutOfMemory();
}

void ListRead(SearchHits& hits, size_t, int32_t listIndex, const ListRegionReader& reader) {
    hits.SetFile(listIndex, {reader.Path(), reader.Stamp(), reader.Encoding(), true});
    hits.DecodeExtensions(reader.Encoding());
}

// Finds one form of the search text (as a file in one encoding holds it) in the regions of a
// list file and keeps the matching lines as rows.
template <typename Rows> class FormSearcher {
public:
    FormSearcher(std::string_view needle, int32_t listIndex, Rows& rows)
        : m_finder(needle), m_listIndex(listIndex), m_rows(rows) {}

    void SearchHeader(std::string_view header) {
        // The header is line 0 by position; it shows as a folder row of the root.
        if (m_finder.Find(header.data(), header.data() + header.size()) != nullptr)
            AddFound(m_rows, m_listIndex, header, true, {}, 0, 0);
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
            const std::string_view folder = folders.FolderOf(lineBegin);
            AddFound(m_rows, m_listIndex, line, isFolder, folder,
                     region.offset + (lineBegin - floor), folders.FolderOffset());
            p = lineEnd;
        }
    }

private:
    CaseInsensitiveFinder m_finder;
    int32_t m_listIndex;
    Rows& m_rows;
};

// Searches one list file in one pass, in the byte form its encoding gives the text. A text
// with accents is looked for in its UTF-8 form while the file reads as valid UTF-8; should the
// file turn out to be Windows-1250, what the UTF-8 form found is no match, and the file is read
// again from its start for the Windows-1250 form. Lists in Windows-1250 hold accents from their
// first lines, so that second read is short, and the usual UTF-8 list is searched once for one
// form rather than for two.
template <typename Rows>
void SearchFile(std::string_view text, int32_t listIndex, const std::string& path,
                SearchOutcome<Rows>& result) {
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
        FormSearcher<Rows> searcher(form, listIndex, result.rows);
        searcher.SearchHeader(reader->Header());
        ListRegion region;
        while (!OutOfMemory(result.rows) && reader->Next(region)) {
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
    ListRead(result.rows, firstRow, listIndex, *reader);
}

// One list's text in the making for the streamed search: rows made into text by the front end,
// handed on in pieces of about a megabyte, counted on the way.
class StreamedText {
public:
    StreamedText(const SearchRowText& toText, const std::function<void(std::string&&)>& put)
        : m_toText(toText), m_put(put) {}

    void Row(const SearchRowTexts& row) {
        ++(row.isFolder ? m_folders : m_files);
        m_toText(row, m_piece);
    }
    // A list line of a file row (prefix its folder) or a folder row, taken as it stands.
    void Line(int32_t listIndex, bool isFolder, std::string_view prefix, std::string_view line) {
        const ListLineFields fields = SplitListLine(line);
        auto field = [&fields](int i) {
            return i < fields.count ? fields.field[i] : std::string_view();
        };
        Row({listIndex, isFolder, isFolder ? std::string_view() : prefix, field(0), field(1),
             field(2), field(3)});
    }
    // Every row of rows, which are dropped after.
    void Rows(SearchRows& rows) {
        for (const SearchRow& row : rows)
            Row(row.AllTexts());
        rows.Truncate(0);
    }
    // Hands on the text made so far once it makes a piece; all of it at the end.
    void HandOn(bool end = false) {
        if (m_piece.size() < kPieceBytes && !(end && !m_piece.empty()))
            return;
        m_put(std::exchange(m_piece, std::string()));
        if (!end)
            m_piece.reserve(2 * kPieceBytes); // a list that gave one piece gives more
    }
    int32_t Folders() const { return m_folders; }
    int32_t Files() const { return m_files; }

    // Big enough that handing on costs nothing, small enough that a list ahead holds little.
    static constexpr size_t kPieceBytes = size_t{1} << 20;

private:
    const SearchRowText& m_toText;
    const std::function<void(std::string&&)>& m_put;
    std::string m_piece;
    int32_t m_folders = 0;
    int32_t m_files = 0;
};

// The rows of a list searched for printing, which cannot be taken back once handed on, while
// the list's encoding may still turn out to be Windows-1250 further down. A row of ASCII bytes
// reads the same in either encoding and may go at once, as long as no row ahead of it waits;
// the first row with other bytes and every row after it wait until the encoding is known. In a
// list known to be UTF-8 a line is made into text as it stands, with no row made of it.
struct StreamedRows {
    explicit StreamedRows(StreamedText& out) : text(out) {}
    StreamedText& text;
    SearchRows ready;   // may go out now, decoded in the list's encoding once that is known
    SearchRows waiting; // raw bytes of the list, until its encoding is known
    bool encodingKnown = false;
    bool direct = false; // known to be UTF-8: lines go to text as they are found
};

void AddFound(StreamedRows& rows, int32_t listIndex, std::string_view line, bool isFolder,
              std::string_view prefix, int64_t, int64_t) {
    if (rows.direct) {
        rows.text.Line(listIndex, isFolder, prefix, line);
        return;
    }
    const bool goesNow = rows.waiting.empty() &&
                         (rows.encodingKnown || (IsAscii(line) && (isFolder || IsAscii(prefix))));
    (goesNow ? rows.ready : rows.waiting).AddLine(listIndex, isFolder, prefix, line);
}

// The streamed search of one list file, read once as a rule: the rows go to pieces, decoded,
// as soon as nothing below can change how they read, and are dropped. Rows that must wait are
// held up to heldBytes; past that the rest of the file is checked first (read ahead without
// searching) and the search goes on knowing the encoding. A text with accents is looked for in
// its UTF-8 form while the file reads as UTF-8 (no such row has gone out then); a file that
// turns out to be Windows-1250 is searched again from its start for the Windows-1250 form.
void StreamFile(std::string_view text, int32_t listIndex, const std::string& path,
                StreamedText& out, size_t heldBytes, std::vector<std::string>& errors) {
    std::optional<ListRegionReader> reader;
    try {
        reader.emplace(path);
    } catch (const VypisnikError& error) {
        errors.emplace_back(error.what());
        return;
    }
    // Lines never hold a line end, so such a text matches nothing.
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return;
    const bool ascii = IsAscii(text);
    std::string windows1250Text;
    const bool hasWindows1250Form =
        !ascii && FromUtf8(text, TextEncoding::Windows1250, windows1250Text);
    const bool hasUtf8Form = ascii || IsValidUtf8(text);
    if (!hasUtf8Form && !hasWindows1250Form)
        return;
    auto isUtf8 = [&reader] {
        return reader->Encoding() == TextEncoding::Utf8;
    };
    StreamedRows rows(out);
    auto handOn = [&](SearchRows& some) {
        some.DecodeFrom(0, reader->Encoding());
        out.Rows(some);
        out.HandOn();
    };
    // Once the encoding is known, the waiting rows go and every row after them goes at once.
    auto release = [&] {
        handOn(rows.ready);
        rows.encodingKnown = true;
        rows.direct = isUtf8();
        handOn(rows.waiting);
    };
    bool checkFailed = false; // reading ahead failed: the search fails there too, later
    // Searches the rest of the file for form; false when the file stopped being UTF-8 while
    // the form was one only a UTF-8 file holds.
    auto searchRest = [&](std::string_view form, bool onlyInUtf8) {
        FormSearcher<StreamedRows> searcher(form, listIndex, rows);
        searcher.SearchHeader(reader->Header());
        ListRegion region;
        while (reader->Next(region)) {
            if (onlyInUtf8 && !isUtf8())
                return false;
            searcher.SearchRegion(region);
            if (!rows.encodingKnown && !checkFailed && rows.waiting.TextBytes() > heldBytes) {
                try {
                    reader->CheckAhead();
                } catch (const VypisnikError&) {
                    checkFailed = true;
                }
                if (onlyInUtf8 && !isUtf8())
                    return false;
            }
            if (!rows.encodingKnown && reader->EncodingKnown())
                release();
            else
                handOn(rows.ready);
        }
        release();
        return true;
    };
    try {
        if (ascii) {
            searchRest(text, false);
        } else {
            // The header alone may show Windows-1250 already.
            bool windows1250 = !isUtf8();
            const bool searched = !windows1250;
            if (searched)
                windows1250 = !searchRest(text, true);
            if (windows1250 && hasWindows1250Form) {
                // What the UTF-8 form found is no match, and none of it went out.
                rows.waiting.Truncate(0);
                rows.encodingKnown = true;
                if (searched)
                    reader->Restart();
                searchRest(windows1250Text, false);
            }
        }
    } catch (const VypisnikError& error) {
        errors.emplace_back(error.what()); // the rows found so far go out
        release();
    }
}

std::vector<size_t> SearchedLists(const GroupFilter& groups, const ListRegistry& registry) {
    std::vector<size_t> searched;
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) - kFirstGroup)])
            searched.push_back(i);
    }
    return searched;
}

bool IsFolderRow(const SearchRows& rows, size_t i) {
    return rows[i].IsFolder();
}
bool IsFolderRow(const SearchHits& hits, size_t i) {
    return hits.IsFolder(i);
}

template <typename Rows>
void CountRows(const Rows& rows, int32_t& foldersFound, int32_t& filesFound) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (IsFolderRow(rows, i))
            ++foldersFound;
        else
            ++filesFound;
    }
}

template <typename Rows>
SearchOutcome<Rows> SearchAll(std::string_view text, const GroupFilter& groups,
                              const ListRegistry& registry, const SearchProgressHook& progress) {
    SearchOutcome<Rows> result;
    if (text.empty())
        return result;
    const std::vector<size_t> searched = SearchedLists(groups, registry);
    struct Stopped {}; // thrown out of the consuming step, which stops the readers
    try {
        // The lists are read side by side; their rows join the result in registry order.
        ParallelInOrder<SearchOutcome<Rows>>(
            searched.size(),
            [&](size_t k) {
                SearchOutcome<Rows> one;
                SearchFile(text, static_cast<int32_t>(searched[k]), registry.ListPaths[searched[k]],
                           one);
                return one;
            },
            [&](size_t, SearchOutcome<Rows>&& one) {
                int32_t folders = 0;
                int32_t files = 0;
                CountRows(one.rows, folders, files);
                result.rows.Append(std::move(one.rows));
                for (std::string& error : one.errors)
                    result.errors.push_back(std::move(error));
                if (OutOfMemory(result.rows)) {
                    // What fitted stays, counted as the rows are.
                    folders = 0;
                    files = 0;
                    CountRows(result.rows, folders, files);
                    result.foldersFound = folders;
                    result.filesFound = files;
                    result.outOfMemory = true;
                    throw Stopped();
                }
                result.foldersFound += folders;
                result.filesFound += files;
                if (progress && !progress(result.foldersFound, result.filesFound))
                    throw Stopped();
            });
    } catch (const Stopped&) {
        result.stopped = true;
    } catch (const std::bad_alloc&) {
        // The rows of the lists that joined stay; a list that did not fit is left out whole.
        result.stopped = true;
        result.outOfMemory = true;
    }
    result.rows.ShrinkToFit();
    return result;
}

} // namespace

std::string ListNameOf(const rsznListInfo& info) {
    return std::string(ListCaption(info.FileName));
}

SearchResult SearchLists(std::string_view text, const GroupFilter& groups,
                         const ListRegistry& registry, const SearchProgressHook& progress) {
    return SearchAll<SearchRows>(text, groups, registry, progress);
}

SearchHitsResult SearchListHits(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const SearchProgressHook& progress) {
    return SearchAll<SearchHits>(text, groups, registry, progress);
}

SearchCounts SearchListsInOrder(std::string_view text, const GroupFilter& groups,
                                const ListRegistry& registry, const std::vector<size_t>& listOrder,
                                const SearchRowText& toText,
                                const std::function<void(std::string_view text)>& write,
                                size_t heldBytes) {
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
    std::vector<std::pair<size_t, std::string>> errors; // with the list's registry index
    StreamInOrder<ListOutcome>(
        searched.size(),
        [&](size_t k, auto& put) {
            ListOutcome outcome;
            const std::function<void(std::string &&)> putPiece = [&put](std::string&& piece) {
                put(std::move(piece));
            };
            StreamedText out(toText, putPiece);
            StreamFile(text, static_cast<int32_t>(searched[k]), registry.ListPaths[searched[k]],
                       out, heldBytes, outcome.errors);
            out.HandOn(true);
            outcome.foldersFound = out.Folders();
            outcome.filesFound = out.Files();
            return outcome;
        },
        [&](std::string&& piece) { write(piece); },
        [&](size_t k, ListOutcome&& outcome) {
            counts.foldersFound += outcome.foldersFound;
            counts.filesFound += outcome.filesFound;
            for (std::string& error : outcome.errors)
                errors.emplace_back(searched[k], std::move(error));
        },
        4 * StreamedText::kPieceBytes);
    std::stable_sort(errors.begin(), errors.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [list, error] : errors)
        counts.errors.push_back(std::move(error));
    return counts;
}

} // namespace vyp
