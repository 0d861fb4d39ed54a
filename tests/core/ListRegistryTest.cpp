#include "TestSupport.h"

#include "lists/Groups.h"
#include "lists/ListRegistry.h"
#include "platform/Native.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vyp {
namespace {

TEST(FindLists, RegistersMatchingFilesWithTheirGroups) {
    test::TempDir dir;
    const std::string lists = dir / "Seznamy";
    const std::string inLists = lists + kNativeSeparator;
    std::filesystem::create_directory(test::FsPath(lists));
    test::WriteFile(inLists + "b.sez", "x\r\n");
    test::WriteFile(inLists + "A.SEZ", "x\r\n");
    test::WriteFile(inLists + "notes.txt", "x\r\n");
    test::WriteFile(inLists + "c.sez", "x\r\n");
    std::filesystem::create_directory(test::FsPath(inLists + "folder.sez")); // a folder is no list
    test::WriteFile(dir / "settings.ini", "[Seznamy]\r\nb.sez=3\r\nc.sez=abc\r\nA.SEZ=12\r\n");

    NativeDirectoryWalker walker;
    ListRegistry registry;
    EXPECT_TRUE(FindLists(registry, lists, "*.sez", dir / "settings.ini", walker));
    ASSERT_EQ(registry.ListInfos.size(), 3u);
    ASSERT_EQ(registry.ListPaths.size(), 3u);
    EXPECT_EQ(registry.ListInfos[0].FileName, "A.SEZ");
    EXPECT_EQ(registry.ListInfos[0].FullPath, inLists + "A.SEZ");
    EXPECT_EQ(registry.ListPaths[0], inLists + "A.SEZ");
    EXPECT_EQ(registry.ListInfos[0].Group, 12);                // kept as read ...
    EXPECT_EQ(EffectiveGroup(registry.ListInfos[0].Group), 8); // ... and placed as "Neurčeno"
    EXPECT_EQ(registry.ListInfos[1].FileName, "b.sez");
    EXPECT_EQ(registry.ListInfos[1].Group, 3);
    EXPECT_EQ(registry.ListInfos[2].Group, 8);
    for (const rsznListInfo& info : registry.ListInfos) {
        EXPECT_EQ(info.Kind, 1);
        EXPECT_EQ(info.Date, info.Time);
        EXPECT_EQ(info.Date.second % 2, 0);
        EXPECT_EQ(info.FileSize, 3);
    }

    // Without a trailing separator the same; a second call gives identical containers.
    ListRegistry again;
    FindLists(again, inLists, "*.sez", dir / "settings.ini", walker);
    EXPECT_EQ(again.ListPaths, registry.ListPaths);
    EXPECT_EQ(again.ListInfos.size(), registry.ListInfos.size());
    for (size_t i = 0; i < again.ListInfos.size(); ++i) {
        EXPECT_EQ(again.ListInfos[i].FileName, registry.ListInfos[i].FileName);
        EXPECT_EQ(again.ListInfos[i].Date, registry.ListInfos[i].Date);
        EXPECT_EQ(again.ListInfos[i].Group, registry.ListInfos[i].Group);
    }
}

TEST(FindLists, EmptyOrMissingFolderGivesAnEmptyRegistry) {
    test::TempDir dir;
    NativeDirectoryWalker walker;
    ListRegistry registry;
    registry.ListPaths.push_back("stale");
    EXPECT_FALSE(FindLists(registry, dir.Path(), "*.sez", dir / "settings.ini", walker));
    EXPECT_TRUE(registry.ListPaths.empty());
    EXPECT_TRUE(registry.ListInfos.empty());
    EXPECT_FALSE(FindLists(registry, dir / "missing", "*.sez", dir / "settings.ini", walker));
}

TEST(FindLists, PatternsIgnoreLetterCase) {
    EXPECT_TRUE(MatchesPattern("X.SEZ", "*.sez"));
    EXPECT_TRUE(MatchesPattern(".sez", "*.sez"));
    EXPECT_TRUE(MatchesPattern("a.sez.sez", "*.sez"));
    EXPECT_FALSE(MatchesPattern("a.sez.bak", "*.sez"));
    EXPECT_FALSE(MatchesPattern("a.se", "*.sez"));
    EXPECT_TRUE(MatchesPattern("ab", "a?"));
    EXPECT_FALSE(MatchesPattern("abc", "a?"));
}

} // namespace
} // namespace vyp
