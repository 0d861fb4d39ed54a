// The enumeration seam: lists one folder's entries for the scan and the list registry. The
// native walker reads the disk; tests put a fake tree behind the same interface.
#pragma once

#include "platform/LocalDateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vyp {

struct DirectoryEntry {
    std::string name; // UTF-8 on systems whose names are not bytes
    bool isFolder = false;
    int64_t size = 0;       // bytes; a link's own size, links are never followed
    LocalDateTime modified; // last write, local time, even seconds
};

class DirectoryWalker {
public:
    virtual ~DirectoryWalker() = default;

    // Fills entries with the entries of the folder at folderPath (a native path ending with the
    // native separator), without "." and "..". Returns false, with entries empty, when the
    // folder cannot be enumerated. The order is the walker's own and is kept by its callers.
    virtual bool ListFolder(const std::string& folderPath,
                            std::vector<DirectoryEntry>& entries) = 0;

    // True when ListFolder may run on several threads at once; the scan then lists folders
    // ahead of itself on every core.
    virtual bool ListsConcurrently() const { return false; }
};

// The NTFS order of two names: true when a comes before b (names compared after upper-casing
// ASCII letters, ties by plain byte order). Walkers on other file systems sort by it, so lists
// come out as on Windows and the same on every run.
bool NtfsNameLess(const std::string& a, const std::string& b);

} // namespace vyp
