// Enumerates folders on Windows with the wide find functions: every entry but "." and "..",
// hidden and system ones included, in the file system's own order. Links and junctions are
// recorded as files and never entered.
#pragma once

#include "platform/DirectoryWalker.h"

namespace vyp {

class WindowsDirectoryWalker final : public DirectoryWalker {
public:
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override;
};

} // namespace vyp
