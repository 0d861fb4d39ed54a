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

} // namespace
} // namespace vyp
