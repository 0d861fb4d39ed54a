#include "TestSupport.h"

#include "lists/FolderHierarchy.h"
#include "lists/FolderRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vyp {
namespace {

FolderRows RowsOf(const std::string& bytes, std::string_view folderPath) {
    return FolderRows::Read(test::ListFileOnDisk(bytes), folderPath);
}

std::string Example() {
    return test::ListFileBytes(test::ExampleLines("E:\\"));
}

TEST(FolderRows, RootAndFolderRowsWithTotals) {
    const FolderRows root = RowsOf(Example(), "");
    ASSERT_EQ(root.Count(), 1u);
    EXPECT_EQ(root.Caption(0), "autorun.inf");
    EXPECT_EQ(root.TimeText(0), "14:3:20");
    EXPECT_EQ(root.Extension(0), "inf");
    EXPECT_EQ(root.Total(), 45);
    const FolderRows games = RowsOf(Example(), "Games\\");
    ASSERT_EQ(games.Count(), 1u);
    EXPECT_EQ(games.Caption(0), "setup.exe");
    EXPECT_EQ(games.Total(), 1048576);
    EXPECT_TRUE(RowsOf(Example(), "Music\\").Count() == 0);
    EXPECT_TRUE(RowsOf(Example(), "Music\\").Error().empty());
    EXPECT_TRUE(RowsOf("E:\\\t0\r\nA\\\t0\t1\t2\r\n", "").Count() == 0);
}

TEST(FolderRows, TheFolderIsFoundByItsWholePathNotAPartOfIt) {
    const std::string list = "D:\\Data\\\t9\r\nBackup\\\t5\t1\t2\r\nBackup\\Data\\\t5\t1\t2\r\n"
                             "wrong.txt\t5\t1\t2\r\nData\\\t4\t1\t2\r\nright.txt\t4\t1\t2\r\n";
    const FolderRows rows = RowsOf(list, "Data\\");
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Caption(0), "right.txt");
    // The root's text never stands for a folder of the list.
    EXPECT_EQ(RowsOf("D:\\Data\\Games\\\t0\r\nx\t1\t2\t3\r\nGames\\\t0\t1\t2\r\n"
                     "y\t2\t1\t2\r\n",
                     "Games\\")
                  .Caption(0),
              "y");
}

TEST(FolderRows, ErrorsEndTheFillKeepingRowsSoFar) {
    const FolderRows damaged = RowsOf("E:\\\t0\r\na\t1\t1\t1\r\nb\tx1\t1\t1\r\nc\t3\t1\t1\r\n", "");
    EXPECT_EQ(damaged.Error(), "'x1' is not a valid integer value");
    ASSERT_EQ(damaged.Count(), 1u);
    const FolderRows big = RowsOf("E:\\\t0\r\na\t3221225472\t1\t1\r\n", "");
    EXPECT_EQ(big.Total(), 3221225472LL);
    EXPECT_EQ(RowsOf(Example(), "Nothing\\").Error(), "List index out of bounds (7)");
    test::TempDir dir;
    EXPECT_NE(FolderRows::Read(dir / "gone.sez", "").Error().find("Cannot open file"),
              std::string::npos);
}

TEST(FolderRows, FoldersOnlyListShowsNoRows) {
    const std::string list = "E:\\\t10\r\nA\\\t10\t1\t2\r\nA\\B\\\t10\t1\t2\r\n";
    EXPECT_TRUE(RowsOf(list, "").Count() == 0);
    EXPECT_TRUE(RowsOf(list, "A\\").Count() == 0);
    EXPECT_TRUE(RowsOf(list, "A\\B\\").Count() == 0);
}

// Faults of damaged or unusual lists, read from disk as the windows read them.
TEST(FolderRows, DamagedListsGiveSoundRowsAndErrors) {
    test::TempDir dir;
    const std::string list = dir / "Starý disk.sez";
    // A file line named like the asked path is no folder's line; the error counts every line.
    test::WriteFile(list, "E:\\\t9\r\nx.txt\t1\t2004.1.2\t3:4.6\r\nÚčty\\\t9\t1\t1\r\n"
                          "Přehled.ods\t9\t1\t1\r\n");
    EXPECT_EQ(FolderRows::Read(list, "x.txt").Error(), "List index out of bounds (4)");
    EXPECT_EQ(FolderRows::Read(list, "Žádná\\").Error(), "List index out of bounds (4)");
    // A path the file's encoding cannot hold is not in it either: still every line counted.
    EXPECT_EQ(FolderRows::Read(list, "\xff\\").Error(), "List index out of bounds (4)");
    ASSERT_EQ(FolderRows::Read(list, "Účty\\").Count(), 1u);

    // Sizes near the 64-bit limit: the total stops at the limit instead of wrapping round.
    test::WriteFile(list, "E:\\\t0\r\na\t9223372036854775000\t1\t1\r\n"
                          "b\t9223372036854775000\t1\t1\r\n");
    const FolderRows big = FolderRows::Read(list, "");
    EXPECT_TRUE(big.Error().empty());
    EXPECT_EQ(big.Total(), INT64_MAX);
}

// Starting at the folder line the tree build saw gives the same rows as reading from the top,
// for every folder; a list changed since, or a hint that points elsewhere, is read from the top.
TEST(FolderRows, StartingAtTheRememberedLineGivesTheSameRows) {
    test::TempDir dir;
    const std::string list = dir / "Fotky 2023.sez";
    std::string bytes = "/media/Fotky/\t0\r\nkořen.txt\t1\t2023.1.1\t1:2.4\r\n";
    for (int i = 0; i < 400; ++i) {
        bytes += "Léto " + std::to_string(i) + "\\\t0\t2023.7.1\t1:2.4\r\n";
        for (int k = 0; k < i % 5; ++k)
            bytes += "Фото_" + std::to_string(k) + ".JPG\t" + std::to_string(k) +
                     "\t2023.7.1\t1:2.4\r\n";
    }
    test::WriteFile(list, bytes);
    const FolderHierarchy h = FolderHierarchy::Read(list);
    ASSERT_EQ(h.Count(), 400u);
    auto same = [](const FolderRows& a, const FolderRows& b) {
        if (a.Count() != b.Count() || a.Error() != b.Error() || a.Total() != b.Total())
            return false;
        for (size_t r = 0; r < a.Count(); ++r) {
            if (a.Caption(r) != b.Caption(r) || a.TimeText(r) != b.TimeText(r))
                return false;
        }
        return true;
    };
    for (size_t i = 0; i < h.Count(); ++i) {
        const std::string path(h.Path(i));
        ASSERT_TRUE(same(FolderRows::Read(list, path, h.Hint(i)), FolderRows::Read(list, path)));
    }
    // A hint for another folder's line, or for the root, reads from the top.
    EXPECT_TRUE(
        same(FolderRows::Read(list, "Léto 3\\", h.Hint(4)), FolderRows::Read(list, "Léto 3\\")));
    EXPECT_EQ(FolderRows::Read(list, "", h.Hint(4)).Caption(0), "kořen.txt");
    // The list replaced by one whose lines lie elsewhere: the rows of the file as it is now.
    test::WriteFile(list, "/media/Fotky/\t0\r\nLéto 7\\\t0\t1\t1\r\nnový.txt\t5\t1\t1\r\n");
    const FolderRows now = FolderRows::Read(list, "Léto 7\\", h.Hint(7));
    ASSERT_EQ(now.Count(), 1u);
    EXPECT_EQ(now.Caption(0), "nový.txt");
    EXPECT_EQ(FolderRows::Read(list, "Léto 8\\", h.Hint(8)).Error(),
              "List index out of bounds (3)");
}

} // namespace
} // namespace vyp
