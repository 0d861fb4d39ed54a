// The native walker: the NTFS order of names, and a real tree on disk listed and scanned.
#include "TestSupport.h"

#include "lists/ListFile.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyp {
namespace {

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
