#include "search/SearchRowOrder.h"

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

void AddFileRow(SearchRows& rows, int32_t list, std::string_view folder, std::string_view name) {
    rows.Add(list, false, folder, name, "1", "2004.1.15", "9:30.0");
}

std::vector<std::string> PathsInOrder(const SearchRows& rows, const std::vector<size_t>& order) {
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
    SearchRows rows;
    AddFileRow(rows, 0, "Fotky\\", "Praha 2004.jpg");
    AddFileRow(rows, 1, "D:\\", "čtení.txt");
    AddFileRow(rows, 7, "E:\\", "ztracený.doc");
    AddFileRow(rows, 2, "Музыка\\", "песня.mp3");
    AddFileRow(rows, 0, "Fotky\\", "Köln.png");
    AddFileRow(rows, 1, "D:\\", "日本語.txt");
    EXPECT_EQ(
        PathsInOrder(rows, OrderByListName(rows, ranks)),
        (std::vector<std::string>{"D:\\čtení.txt", "D:\\日本語.txt", "Fotky\\Praha 2004.jpg",
                                  "Музыка\\песня.mp3", "Fotky\\Köln.png", "E:\\ztracený.doc"}));
}

TEST(SearchRows, GiveBackEveryFieldOfEveryRow) {
    SearchRows rows;
    rows.Add(0, true, "", "D:\\", "3221225472", "", "");
    rows.Add(0, false, "Filmy\\Amélie\\", "Le fabuleux destin.2001.mkv", "734003200", "2004.10.3",
             "21:05.44");
    rows.Add(1, true, "", "Dokumenty\\Überweisung\\", "škoda", "1999.1.1", "0:00.00");
    rows.Add(1, false, "Dokumenty\\", "README", "-12", "2010.5.6", "7:08.10");
    // A root made on Linux: its dot is no extension of the file's.
    rows.Add(2, false, "/media/Zálohy.2024/", "Makefile", "7", "2024.1.2", "3:04.06");
    const SearchRows& packed = rows;
    ASSERT_EQ(packed.size(), 5u);

    // The header row: no date, no time, a size beyond 32 bits.
    EXPECT_EQ(packed[0].Path(), "D:\\");
    EXPECT_EQ(packed[0].DateText(), "");
    EXPECT_EQ(packed[0].TimeText(), "");
    EXPECT_EQ(packed[0].Size(), 3221225472);
    EXPECT_EQ(packed[0].Extension(), "");

    EXPECT_EQ(packed[1].Path(), "Filmy\\Amélie\\Le fabuleux destin.2001.mkv");
    EXPECT_EQ(packed[1].SizeText(), "734003200");
    EXPECT_EQ(packed[1].DateText(), "2004.10.3");
    EXPECT_EQ(packed[1].TimeText(), "21:05:44");
    EXPECT_EQ(packed[1].Extension(), "mkv");
    EXPECT_EQ(packed[1].ListIndex(), 0);
    EXPECT_FALSE(packed[1].IsFolder());

    // A damaged size is kept as text and has no value; a folder's name has no extension even
    // when a dot is in its path.
    EXPECT_TRUE(packed[2].IsFolder());
    EXPECT_EQ(packed[2].SizeText(), "škoda");
    EXPECT_EQ(packed[2].Size(), std::nullopt);
    EXPECT_EQ(packed[2].TimeText(), "0:00:00");

    EXPECT_EQ(packed[3].Path(), "Dokumenty\\README");
    EXPECT_EQ(packed[3].Extension(), "");
    EXPECT_EQ(packed[3].Size(), -12);
    EXPECT_EQ(packed[3].TimeText(), "7:08:10");
    EXPECT_EQ(packed[3].ListIndex(), 1);

    EXPECT_EQ(packed[4].Path(), "/media/Zálohy.2024/Makefile");
    EXPECT_EQ(packed[4].Extension(), "");
    EXPECT_EQ(packed[4].TimeText(), "3:04:06"); // the last row's time ends with the buffer
}

} // namespace
} // namespace vyp
