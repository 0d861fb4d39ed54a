#include "TestSupport.h"

#include "lists/ListFile.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;
using test::Native;

std::string Joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

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
        EXPECT_EQ(ScanToFile(walker, root, dir / "E.sez"), Joined(test::ExampleLines(root)))
            << "files last: " << filesLast;
    }
}

TEST(FolderScan, FoldersOnlyKeepsSizesAndTotal) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    test::AddExampleTree(walker, Native("/r/"), true);
    EXPECT_EQ(ScanToFile(walker, Native("/r/"), dir / "E.sez", true),
              Joined({Native("/r/") + "\t1050621", "Games\\\t1050576\t2004.1.15\t9:30.0",
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
    EXPECT_EQ(ScanToFile(walker, Native("/h/"), dir / "h.sez"),
              Joined({Native("/h/") + "\t11", ".hidden\t7\t2020.12.31\t23:59.58",
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
              Joined({"/n/\t7", "a_b_c_d_e\t5\t0000.0.0\t0:0.0", "x_y\\\t2\t0000.0.0\t0:0.0",
                      "f\t2\t0000.0.0\t0:0.0"}));
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
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    ScanLines lines;
    std::string message;
    try {
        CreateList(walker, Native("/big/"), file, ScanOptions{}, lines);
    } catch (const VypisnikError& error) {
        message = error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);

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

TEST(NativeDirectoryWalker, OrdersNamesAsNtfsDoes) {
    EXPECT_TRUE(NtfsNameLess("a", "B"));
    EXPECT_TRUE(NtfsNameLess("B", "b")); // equal after upper-casing: bytes decide
    EXPECT_TRUE(NtfsNameLess("Z", "_")); // '_' sorts after the upper-cased letters
    EXPECT_TRUE(NtfsNameLess("ab", "abc"));
    EXPECT_FALSE(NtfsNameLess("abc", "abc"));
}

// A real tree on disk: sizes, local dates with even seconds, a sparse 3 GiB file, links. The
// Windows walker has a test of its own, with a junction.
TEST(NativeDirectoryWalker, ScansARealTree) {
#ifdef _WIN32
    VYP_LINUX_ONLY("symbolic links, times and sparse files made through POSIX calls");
#else
    test::TempDir dir;
    const std::string root = dir / "root";
    std::filesystem::create_directories(root + "/Sub/deeper");
    test::WriteFile(root + "/b.txt", "hello");
    test::WriteFile(root + "/A.txt", std::string(1000, 'x'));
    test::WriteFile(root + "/Sub/deeper/z.bin", "12");
    {
        const int fd = ::open((root + "/Sub/huge.iso").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 3LL << 30), 0);
        ::close(fd);
    }
    std::filesystem::create_directory_symlink("..", root + "/Sub/loop");
    // 2004-01-15 09:29:59 local time: stored with seconds rounded down to 58.
    std::tm tm{};
    tm.tm_year = 104;
    tm.tm_mon = 0;
    tm.tm_mday = 15;
    tm.tm_hour = 9;
    tm.tm_min = 29;
    tm.tm_sec = 59;
    tm.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (root + "/b.txt").c_str(), times, 0), 0);

    NativeDirectoryWalker walker;
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(walker.ListFolder(root + "/", entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "A.txt");
    EXPECT_EQ(entries[1].name, "b.txt");
    EXPECT_EQ(entries[1].size, 5);
    EXPECT_EQ(entries[1].modified, test::At(2004, 1, 15, 9, 29, 58));
    EXPECT_TRUE(entries[2].isFolder);

    ScanLines lines;
    CreateList(walker, root + "/", dir / "real.sez", ScanOptions{}, lines);
    const std::vector<std::string> written = lines.ToLines();
    const int64_t huge = 3LL << 30;
    ASSERT_EQ(written.size(), 8u);
    EXPECT_EQ(written[0], root + "/\t" + std::to_string(huge + 1000 + 5 + 2 + 2));
    EXPECT_EQ(written[2], "b.txt\t5\t2004.1.15\t9:29.58");
    EXPECT_EQ(written[3].rfind("Sub\\\t" + std::to_string(huge + 2 + 2) + "\t", 0), 0u);
    EXPECT_EQ(written[4].rfind("huge.iso\t" + std::to_string(huge) + "\t", 0), 0u);
    EXPECT_EQ(written[5].rfind("loop\t2\t", 0), 0u); // the link is a file of its own size
    EXPECT_EQ(written[6].rfind("Sub\\deeper\\\t2\t", 0), 0u);
    EXPECT_EQ(written[7].rfind("z.bin\t2\t", 0), 0u);
    for (const std::string& line : written) {
        const auto fields = SplitListLine(line);
        if (fields.count == 4) {
            const std::string_view time = fields.field[3];
            const int seconds = std::stoi(std::string(time.substr(time.rfind('.') + 1)));
            EXPECT_EQ(seconds % 2, 0) << line;
        }
    }
#endif
}

} // namespace
} // namespace vyp
