// Reads the rows of search hits back from their list files: the texts SearchLists would have
// given each row, read where the hit's line and its folder's line start. One file is open at a
// time, read in windows that grow while the hits come in file order (sorting, saving) and stay
// small for hits read here and there (painting). A list whose file is gone or has another stamp
// than the search saw, or holds at a hit's place no line of the hit's kind, gives its rows with
// empty texts: never the text of another line.
#pragma once

#include "platform/Files.h"
#include "search/SearchHits.h"
#include "search/SearchRow.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

class SearchHitReader {
public:
    explicit SearchHitReader(const SearchHits& hits) : m_hits(hits) {}

    // Appends the row of hit i to rows. False when its list changed: the row appended then is
    // one of its list and kind with empty texts.
    bool Read(size_t i, SearchRows& rows);
    // Appends the path of hit i (SearchRow::Path) to out; false, appending nothing, when its
    // list changed.
    bool AppendPath(size_t i, std::string& out);
    // Appends the path of hit i in its two parts: what comes before the row's own name (its
    // folder's path; a folder row's own path) to folder unless that is nullptr, and the name (a
    // folder row's: nothing) to name. False, appending nothing, when its list changed.
    bool AppendPathParts(size_t i, std::string* folder, std::string& name);
    // Appends the name of file hit i (as AppendPathParts gives it) to name, its folder's line
    // not looked at: for hits of a folder whose line was read already from the same open file.
    // False, appending nothing, when its list changed.
    bool AppendFileName(size_t i, std::string& name);
    // Closes the file held open, so that its list can be replaced; the next read opens it again
    // and checks its stamp again.
    void Close();

private:
    // The bytes of a file from start, in which lines are looked up.
    struct Window {
        std::string bytes;
        int64_t start = 0;
        bool empty = true;
    };
    // The raw line of hit i and, for a file row, its folder's first field.
    bool Fetch(size_t i, std::string_view& line, std::string_view& prefix);
    bool OpenList(int32_t list);
    // The whole line starting at offset, checked to start a line; false when it does not.
    bool LineAt(Window& window, int64_t offset, std::string_view& line);

    const SearchHits& m_hits;
    InputFile m_file;
    int32_t m_openList = -1;
    bool m_openSame = false; // the open file has the stamp the search saw
    Window m_lines;
    Window m_folderLines;
};

} // namespace vyp
