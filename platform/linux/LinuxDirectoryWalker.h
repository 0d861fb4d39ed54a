// Enumerates folders on Linux: every entry but "." and "..", hidden ones included, each stat-ed
// relative to its open folder without following links, in the NTFS order.
#pragma once

#include "platform/DirectoryWalker.h"

namespace vyp {

class LinuxDirectoryWalker final : public DirectoryWalker {
public:
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override;
    bool ListsConcurrently() const override { return true; } // keeps no state between calls
};

} // namespace vyp
