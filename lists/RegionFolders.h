// The folder of file lines met in one region of a list, asked in the order of the lines: the
// first field of the nearest line above that holds a "\", or the region's own folder. What lies
// above the line asked last was looked through already, so every byte is looked at once however
// many lines of one folder are asked about. The search and the duplicates find folders this way.
#pragma once

#include "lists/ListRegionReader.h"

#include <string_view>

namespace vyp {

class RegionFolders {
public:
    explicit RegionFolders(const ListRegion& region)
        : m_floor(region.lines.data()), m_end(m_floor + region.lines.size()),
          m_lookedThrough(m_floor), m_folder(region.folder), m_regionOffset(region.offset),
          m_folderOffset(region.folderOffset) {}

    // The folder of the line that starts at lineBegin, a line of the region after every line
    // asked about before. Valid while the region is.
    std::string_view FolderOf(const char* lineBegin);
    // Where the line of the folder FolderOf gave last starts in the file (as
    // ListRegion::folderOffset).
    int64_t FolderOffset() const { return m_folderOffset; }

private:
    const char* m_floor;
    const char* m_end;
    const char* m_lookedThrough;
    std::string_view m_folder;
    int64_t m_regionOffset;
    int64_t m_folderOffset;
};

} // namespace vyp
