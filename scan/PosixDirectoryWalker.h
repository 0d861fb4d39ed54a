// Enumerates folders on a POSIX system: every entry but "." and "..", hidden ones included,
// each stat-ed relative to its open folder without following links, in the order NTFS gives
// (names compared after upper-casing ASCII letters, ties by plain byte order), so lists come
// out the same as on Windows and the same on every run.
#pragma once

#include "scan/DirectoryWalker.h"

namespace vyp {

class PosixDirectoryWalker final : public DirectoryWalker {
public:
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override;
};

// The NTFS order of two names: true when a comes before b.
bool NtfsNameLess(const std::string& a, const std::string& b);

} // namespace vyp
