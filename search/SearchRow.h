// One result of a list search: a folder row (a folder line, or the header showing the root) or
// a file row (a file line, its path prefixed by its folder). The texts share one string, so a
// search that finds millions of rows stays small.
#pragma once

#include "lists/Encoding.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

class SearchRow {
public:
    // prefix is the folder of a file row (empty for a folder row); storedTime is the time as
    // stored, shown with ":" in place of ".".
    SearchRow(int32_t listIndex, bool isFolder, std::string_view prefix, std::string_view field1,
              std::string_view size, std::string_view date, std::string_view storedTime);

    int32_t ListIndex() const { return m_listIndex; }
    bool IsFolder() const { return m_isFolder; }
    // Folder rows: the line's first field. File rows: folder prefix followed by the file name.
    std::string_view Path() const { return Field(0); }
    // The file name of a file row, the whole path of a folder row.
    std::string_view Name() const { return Path().substr(m_nameStart); }
    std::string_view SizeText() const { return Field(1); }
    std::string_view DateText() const { return Field(2); }
    std::string_view TimeText() const { return Field(3); }
    // The extension of a file row's name; empty for folder rows.
    std::string_view Extension() const;

    // Re-reads the texts, which were taken from a file in encoding, as UTF-8.
    void ConvertToUtf8(TextEncoding encoding);
    bool HasNonAscii() const;

private:
    std::string_view Field(int field) const;

    std::string m_text; // path, size, date, time, one after the other
    uint32_t m_length[4] = {};
    uint32_t m_nameStart = 0;
    int32_t m_listIndex = 0;
    bool m_isFolder = false;
};

} // namespace vyp
