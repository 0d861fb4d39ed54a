// Reads the rows of search hits back from their list files: the texts SearchLists would have
// given each row, read where the hit's line and its folder's line start. One file is open at a
// time, read in windows that grow while the hits come in file order (sorting, saving) and stay
// small for hits read here and there (painting); the large windows are mapped where the system
// maps files, so that their bytes are not copied. A list whose file is gone or has another stamp
// than the search saw, or holds at a hit's place no line of the hit's kind, or is cut short in
// place while it is read, gives its rows with empty texts: never the text of another line.
#pragma once

#include "platform/Files.h"
#include "platform/MappedFilePart.h"
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
    // Points size at the size field of hit i's line, as its row would give it (a size is digits
    // in either encoding), nothing copied: good until the next read. False, with an empty size,
    // when its list changed.
    bool SizeText(size_t i, std::string_view& size);
    // Closes the file held open, so that its list can be replaced; the next read opens it again
    // and checks its stamp again.
    void Close();

private:
    // The bytes of a file from start, in which lines are looked up: mapped, or read into
    // buffer where nothing is mapped.
    struct Window {
        std::string buffer;
        MappedFilePart mapped;
        const char* data = nullptr;
        int64_t held = 0;
        int64_t start = 0;
        bool empty = true;
    };
    // A raw line with what one pass over it finds.
    struct Line {
        std::string_view text;
        std::string_view firstField;
        bool backslash = false; // a folder line's path holds one, a file line's never
    };
    // The raw line of hit i and, for a file row, its folder's first field.
    bool Fetch(size_t i, Line& line, std::string_view& prefix);
    bool OpenList(int32_t list);
    // Whether the open list is still the one the search read: false once a window of it was
    // met cut short in place, for good.
    bool Whole();
    // The whole line starting at offset, checked to start a line; false when it does not.
    bool LineAt(Window& window, int64_t offset, Line& line);
    // Fills window with size bytes of the open file from from; false when the file has fewer.
    bool Fill(Window& window, int64_t from, int64_t size, bool mapped);

    const SearchHits& m_hits;
    InputFile m_file;
    int32_t m_openList = -1;
    bool m_openSame = false; // the open file has the stamp the search saw
    Window m_lines;
    Window m_folderLines;
    // The folder line read last, kept while the hits of one folder come in a run.
    int64_t m_folderOffset = -1;
    Line m_folder;
};

} // namespace vyp
