// The paths of many rows given as each row's folder and its own name, for ranking them by the
// locale's collation without holding every row's whole path: rows of one folder share its text,
// read once. A folder's text is what comes before its rows' names ("Fotky\2024\"; "" for rows
// at the top); the same text may be given more than once (the same folder in two lists). A row
// whose path is a folder's own path has that folder and an empty name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

struct FolderedPaths {
    std::vector<std::string_view> folders; // UTF-8
    std::vector<uint32_t> folderOf;        // by row, an index into folders
    std::vector<std::string_view> names;   // by row, UTF-8

    size_t size() const { return names.size(); }
    std::string_view Folder(size_t row) const { return folders[folderOf[row]]; }
    // The row's whole path, built in buffer.
    std::string_view Path(size_t row, std::string& buffer) const {
        buffer.assign(Folder(row)).append(names[row]);
        return buffer;
    }
};

} // namespace vyp
