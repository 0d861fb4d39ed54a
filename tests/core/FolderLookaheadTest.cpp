#include "TestSupport.h"

#include "platform/Native.h"
#include "scan/FolderLookahead.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

// However little may be listed ahead, every folder comes once, in depth-first order.
void TakeAll(FolderLookahead& ahead, FolderLookahead::Folder* folder, const std::string& path,
             std::vector<std::string>& taken) {
    taken.push_back(path);
    std::vector<DirectoryEntry> entries;
    ahead.Take(folder, entries);
    size_t index = 0;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isFolder)
            continue;
        FolderLookahead::Folder* sub = ahead.Subfolder(folder, index++);
        TakeAll(ahead, sub, path + entry.name + kNativeSeparator, taken);
        ahead.Release(sub);
    }
}

TEST(FolderLookahead, GivesFoldersInDepthFirstOrderWhateverTheRoomAhead) {
    test::FakeDirectoryWalker walker;
    walker.AllowConcurrentListing();
    const std::string root = test::Native("/");
    const std::vector<std::string> folders = test::AddGeneratedTree(walker, root, 4);
    for (size_t room : {size_t(1), size_t(20), size_t(1) << 20}) {
        std::vector<std::string> taken;
        {
            FolderLookahead ahead(walker, root, 3, room);
            TakeAll(ahead, ahead.Root(), root, taken);
        }
        EXPECT_EQ(taken, folders) << "room for " << room << " entries";
    }
}

} // namespace
} // namespace vyp
