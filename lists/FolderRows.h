// The files of one folder of a list, read from its list file: the file lines right after the
// folder's own line, up to the next folder line. The file table shows them and the
// command-line companion prints them. The rows' texts share one buffer (UTF-8).
#pragma once

#include "lists/ListRegionReader.h"
#include "lists/PackedTexts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class FolderRows {
public:
    size_t Count() const { return m_sizes.size(); }
    std::string_view Caption(size_t i) const { return m_texts.Field(i, 0); }  // the file name
    std::string_view SizeText(size_t i) const { return m_texts.Field(i, 1); } // as stored
    int64_t Size(size_t i) const { return m_sizes[i]; }                       // SizeText's value
    std::string_view DateText(size_t i) const { return m_texts.Field(i, 2); } // as stored
    std::string_view TimeText(size_t i) const { return m_texts.Field(i, 3); } // "." as ":"
    std::string_view Extension(size_t i) const;
    int64_t Total() const { return m_total; } // sum of the rows' sizes

    // Set when the fill ended early: the file could not be read ("Cannot open file ..."), the
    // folder's line is missing ("List index out of bounds (N)"), or a size is no number
    // ("'X' is not a valid integer value"); the rows are then those read before it.
    const std::string& Error() const { return m_error; }

    // Reads the rows of the folder whose folder line's first field is folderPath (UTF-8),
    // searched from line 1; an empty folderPath stands for the list's root. Only a line holding
    // "\" is a folder's line. The file is read once, and no further than the folder's rows
    // unless their texts need the file's encoding. Never throws: failures set Error().
    static FolderRows Read(const std::string& listPath, std::string_view folderPath);
    // The same, starting at the folder's line where hint says it was when the list's folders
    // were read; a file changed since, or a line there that is not the folder's, is read from
    // its start as above. The rows and errors are the same either way.
    static FolderRows Read(const std::string& listPath, std::string_view folderPath,
                           const FolderLineHint& hint);

private:
    friend class FolderRowCollector;
    void Clear();

    PackedTexts<4> m_texts; // name, size, date, time of each row
    std::vector<int64_t> m_sizes;
    int64_t m_total = 0;
    std::string m_error;
};

} // namespace vyp
