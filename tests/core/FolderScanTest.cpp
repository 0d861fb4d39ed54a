#include "TestSupport.h"

#include "lists/ListFile.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;
using test::Native;

std::string ScanToFile(DirectoryWalker& walker, const std::string& root, const std::string& file,
                       bool foldersOnly = false) {
    ScanLines lines;
    CreateList(walker, root, file, ScanOptions{foldersOnly, ":"}, lines);
    return test::ReadFile(file);
}

TEST(FolderScan, ExampleTreeGivesItsSevenLinesInAnyEnumerationOrder) {
    for (bool filesLast : {false, true}) {
        test::TempDir dir;
        test::FakeDirectoryWalker walker;
        const std::string root = Native("/media/cdrom/");
        test::AddExampleTree(walker, root, filesLast);
        EXPECT_EQ(ScanToFile(walker, root, dir / "E.sez"),
                  test::ListFileBytes(test::ExampleLines(root)))
            << "files last: " << filesLast;
    }
}

TEST(FolderScan, FoldersOnlyKeepsSizesAndTotal) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    test::AddExampleTree(walker, Native("/r/"), true);
    EXPECT_EQ(ScanToFile(walker, Native("/r/"), dir / "E.sez", true),
              test::ListFileBytes(
                  {Native("/r/") + "\t1050621", "Games\\\t1050576\t2004.1.15\t9:30.0",
                   "Games\\Old\\\t2000\t2003.5.1\t0:0.0", "Music\\\t0\t2004.2.29\t18:45.10"}));
}

TEST(FolderScan, EmptyAndUnreadableRoots) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    walker.AddFolder(Native("/empty/"), {});
    EXPECT_EQ(ScanToFile(walker, Native("/empty/"), dir / "a.sez"), Native("/empty/") + "\t0\r\n");
    EXPECT_EQ(ScanToFile(walker, Native("/gone/"), dir / "b.sez"), Native("/gone/") + "\t0\r\n");
}

TEST(FolderScan, HiddenEntriesAreListedAndUnreadableFoldersGetSizeZero) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    const LocalDateTime t = At(2020, 12, 31, 23, 59, 58);
    walker.AddFolder(Native("/h/"), {FileEntry(".hidden", 7, t), FolderEntry(".config", t),
                                     FolderEntry("locked", t), FolderEntry("z", t)});
    walker.AddFolder(Native("/h/.config/"), {FileEntry("rc", 3, t)});
    walker.AddFolder(Native("/h/locked/"), {FileEntry("secret", 1000, t)});
    walker.MakeUnreadable(Native("/h/locked/"));
    walker.AddFolder(Native("/h/z/"), {FileEntry("after", 1, t)});
    EXPECT_EQ(
        ScanToFile(walker, Native("/h/"), dir / "h.sez"),
        test::ListFileBytes({Native("/h/") + "\t11", ".hidden\t7\t2020.12.31\t23:59.58",
                             ".config\\\t3\t2020.12.31\t23:59.58", "rc\t3\t2020.12.31\t23:59.58",
                             "locked\\\t0\t2020.12.31\t23:59.58", "z\\\t1\t2020.12.31\t23:59.58",
                             "after\t1\t2020.12.31\t23:59.58"}));
}

TEST(FolderScan, NamesThatWouldBreakTheFormatAreWrittenWithUnderscores) {
    VYP_LINUX_ONLY("Windows names hold no \\, TAB, CR or LF");
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    walker.AddFolder("/n/", {FileEntry("a\\b\tc\rd\ne", 5), FolderEntry("x\\y")});
    walker.AddFolder("/n/x\\y/", {FileEntry("f", 2)});
    EXPECT_EQ(ScanToFile(walker, "/n/", dir / "n.sez"),
              test::ListFileBytes({"/n/\t7", "a_b_c_d_e\t5\t0000.0.0\t0:0.0",
                                   "x_y\\\t2\t0000.0.0\t0:0.0", "f\t2\t0000.0.0\t0:0.0"}));
}

TEST(FolderScan, RelativePathsAreBuiltBelowTheRootNotCutOutOfIt) {
    // The root's text occurs again deeper down; only the part below the root may go.
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    walker.AddFolder(Native("/a/"), {FolderEntry("a")});
    walker.AddFolder(Native("/a/a/"), {FolderEntry("a")});
    walker.AddFolder(Native("/a/a/a/"), {});
    const std::string list = ScanToFile(walker, Native("/a/"), dir / "a.sez");
    EXPECT_NE(list.find("\r\na\\\t0"), std::string::npos);
    EXPECT_NE(list.find("\r\na\\a\\\t0"), std::string::npos);
}

TEST(FolderScan, SameFolderTwiceGivesTheSameFile) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    test::AddExampleTree(walker, Native("/r/"), false);
    const std::string first = ScanToFile(walker, Native("/r/"), dir / "r.sez");
    EXPECT_EQ(ScanToFile(walker, Native("/r/"), dir / "r.sez"), first);
}

TEST(FolderScan, FailingWriteLeavesTheOldListWholeAndNoTemporaryFile) {
#ifdef _WIN32
    VYP_LINUX_ONLY("a limit on the size of written files");
#else
    test::TempDir dir;
    const std::string file = dir / "old.sez";
    test::WriteFile(file, "old list\r\n");
    test::FakeDirectoryWalker walker;
    std::vector<DirectoryEntry> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(FileEntry("file" + std::to_string(i) + ".txt", i));
    walker.AddFolder(Native("/big/"), many);

    // A file size limit makes the disk refuse the write part-way, even for root.
    std::optional<test::FileSizeLimit> limit(4096);
    ScanLines lines;
    std::string message;
    try {
        CreateList(walker, Native("/big/"), file, ScanOptions{}, lines);
    } catch (const VypisnikError& error) {
        message = error.what();
    }
    limit.reset();

    EXPECT_EQ(message.rfind("Cannot write file \"" + file + "\". ", 0), 0u) << message;
    EXPECT_EQ(test::ReadFile(file), "old list\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(test::FsPath(dir.Path())),
                            std::filesystem::directory_iterator()),
              1);
#endif
}

TEST(FolderScan, MissingListFolderReportsTheFileThatCouldNotBeOpened) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    walker.AddFolder(Native("/e/"), {});
    ScanLines lines;
    const std::string file = dir / "Seznamy/x.sez";
    try {
        CreateList(walker, Native("/e/"), file, ScanOptions{}, lines);
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + file + "\". " + test::NoSuchPathText());
    }
}

} // namespace
} // namespace vyp
