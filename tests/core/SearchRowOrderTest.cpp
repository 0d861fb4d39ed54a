#include "search/SearchRowOrder.h"
#include "search/PackedSearchRows.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

// A collation stand-in: ASCII letters without regard to case, so "alba" and "ALBA" are equal
// names and byte order alone would give a different answer.
int FoldedCompare(std::string_view a, std::string_view b) {
    auto fold = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return out;
    };
    return fold(a).compare(fold(b));
}

SearchRow FileRow(int32_t list, std::string_view folder, std::string_view name) {
    return SearchRow(list, false, folder, name, "1", "2004.1.15", "9:30.0");
}

std::vector<std::string> PathsInOrder(const std::vector<SearchRow>& rows,
                                      const std::vector<size_t>& order) {
    std::vector<std::string> paths;
    for (size_t i : order)
        paths.emplace_back(rows[i].Path());
    return paths;
}

TEST(SearchRowOrder, RanksNamesByTheGivenComparisonWithEqualNamesSharingARank) {
    const std::vector<std::string> names = {"Zálohy 2019", "alba", "Hudba – Mötley", "ALBA",
                                            "Filmy ČSFD"};
    EXPECT_EQ(RankListNames(names, FoldedCompare), (std::vector<uint32_t>{3, 0, 2, 0, 1}));
    EXPECT_TRUE(RankListNames({}, FoldedCompare).empty());
}

TEST(SearchRowOrder, OrdersRowsByListRankKeepingTheFoundOrderWithinARank) {
    // Lists 0 and 2 share a name; list 1 sorts first; list 7 is not in the registry any more.
    const std::vector<uint32_t> ranks = {1, 0, 1};
    std::vector<SearchRow> rows;
    rows.push_back(FileRow(0, "Fotky\\", "Praha 2004.jpg"));
    rows.push_back(FileRow(1, "D:\\", "čtení.txt"));
    rows.push_back(FileRow(7, "E:\\", "ztracený.doc"));
    rows.push_back(FileRow(2, "Музыка\\", "песня.mp3"));
    rows.push_back(FileRow(0, "Fotky\\", "Köln.png"));
    rows.push_back(FileRow(1, "D:\\", "日本語.txt"));
    EXPECT_EQ(
        PathsInOrder(rows, OrderByListName(rows, ranks)),
        (std::vector<std::string>{"D:\\čtení.txt", "D:\\日本語.txt", "Fotky\\Praha 2004.jpg",
                                  "Музыка\\песня.mp3", "Fotky\\Köln.png", "E:\\ztracený.doc"}));
}

TEST(PackedSearchRows, GivesBackEveryFieldOfEveryRowAndReleasesTheOriginals) {
    std::vector<SearchRow> rows;
    rows.emplace_back(0, true, "", "D:\\", "3221225472", "", "");
    rows.emplace_back(0, false, "Filmy\\Amélie\\", "Le fabuleux destin.2001.mkv", "734003200",
                      "2004.10.3", "21:05.44");
    rows.emplace_back(1, true, "", "Dokumenty\\Überweisung\\", "škoda", "1999.1.1", "0:00.00");
    rows.emplace_back(1, false, "Dokumenty\\", "README", "-12", "2010.5.6", "7:08.10");
    // A root made on Linux: its dot is no extension of the file's.
    rows.emplace_back(2, false, "/media/Zálohy.2024/", "Makefile", "7", "2024.1.2", "3:04.06");
    PackedSearchRows packed(std::move(rows));
    EXPECT_TRUE(rows.empty());
    ASSERT_EQ(packed.Count(), 5u);
    EXPECT_EQ(packed.FileCount(), 3u);
    EXPECT_EQ(packed.FolderCount(), 2u);

    // The header row: no date, no time, a size beyond 32 bits.
    EXPECT_EQ(packed.Path(0), "D:\\");
    EXPECT_EQ(packed.DateText(0), "");
    EXPECT_EQ(packed.TimeText(0), "");
    EXPECT_EQ(packed.Size(0), 3221225472);
    EXPECT_EQ(packed.Extension(0), "");

    EXPECT_EQ(packed.Path(1), "Filmy\\Amélie\\Le fabuleux destin.2001.mkv");
    EXPECT_EQ(packed.SizeText(1), "734003200");
    EXPECT_EQ(packed.DateText(1), "2004.10.3");
    EXPECT_EQ(packed.TimeText(1), "21:05:44");
    EXPECT_EQ(packed.Extension(1), "mkv");
    EXPECT_EQ(packed.ListIndex(1), 0);
    EXPECT_FALSE(packed.IsFolder(1));

    // A damaged size is kept as text and has no value; a folder's name has no extension even
    // when a dot is in its path.
    EXPECT_TRUE(packed.IsFolder(2));
    EXPECT_EQ(packed.SizeText(2), "škoda");
    EXPECT_EQ(packed.Size(2), std::nullopt);
    EXPECT_EQ(packed.TimeText(2), "0:00:00");

    EXPECT_EQ(packed.Path(3), "Dokumenty\\README");
    EXPECT_EQ(packed.Extension(3), "");
    EXPECT_EQ(packed.Size(3), -12);
    EXPECT_EQ(packed.TimeText(3), "7:08:10");
    EXPECT_EQ(packed.ListIndex(3), 1);

    EXPECT_EQ(packed.Path(4), "/media/Zálohy.2024/Makefile");
    EXPECT_EQ(packed.Extension(4), "");
    EXPECT_EQ(packed.TimeText(4), "3:04:06"); // the last row's time ends with the buffer
}

} // namespace
} // namespace vyp
