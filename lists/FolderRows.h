// The files of one folder of a list, read from its list file: the file lines right after the
// folder's own line, up to the next folder line. The file table shows them and the
// command-line companion prints them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

struct FileRow {
    std::string Caption;  // the file name
    std::string SizeText; // as stored
    std::string DateText; // as stored
    std::string TimeText; // "." turned into ":"
    std::string_view Extension() const;
};

struct FolderRows {
    std::vector<FileRow> rows;
    int64_t total = 0; // sum of the rows' sizes
    // Set when the fill ended early: the file could not be read ("Cannot open file ..."), the
    // folder's line is missing ("List index out of bounds (N)"), or a size is no number
    // ("'X' is not a valid integer value"); rows then holds the rows read before it.
    std::string error;

    // Reads the rows of the folder whose folder line's first field is folderPath (UTF-8),
    // searched from line 1; an empty folderPath stands for the list's root.
    static FolderRows Read(const std::string& listPath, std::string_view folderPath);
    static FolderRows FromBytes(std::string_view bytes, std::string_view folderPath);
};

} // namespace vyp
