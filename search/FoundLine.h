// A line the search found, taken apart in one pass over its bytes: where it ends, whether it
// names a folder and its first four fields. A search that finds every line of a list asks this
// for millions of lines; a search for the line's end, one for a "\" and one for each TAB cost
// more than the one pass.
#pragma once

#include "lists/ListFile.h"

#include <string_view>

namespace vyp {

struct FoundLine {
    // From its start to its CR or LF (or the end of what was read).
    std::string_view line;
    // The line holds a "\": a folder line.
    bool isFolder = false;
    // As SplitListLine gives them.
    ListLineFields fields;
};

// The line that starts at begin, looking no further than end, put in found (every member set).
void TakeFoundLineApart(const char* begin, const char* end, FoundLine& found);

} // namespace vyp
