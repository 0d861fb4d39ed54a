#include "search/SearchRow.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vyp {
namespace {

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

// A list line becomes the row that its fields given one by one make, whatever it holds: four
// fields (kept as they stand, the time's dots as colons), more (the rest dropped), fewer, none,
// empty fields; a folder line takes no prefix. Texts gives what the getters give.
TEST(SearchRows, LinesBecomeTheRowsOfTheirFields) {
    const std::vector<std::string> lines = {
        "Le fabuleux destin.2001.mkv\t734003200\t2004.10.3\t21.05.44",
        "Amélie\\Poster.jpg\t12\t2004.10.3\t1.2.3\tnavíc\tještě",
        "jen jméno",
        "jméno\t5",
        "jméno\t5\t2001.1.1",
        "",
        "\t\t\t",
        "Filmy\\Amélie\\\t0\t2004.10.3\t21.05.44",
        "...\t..\t.\t...."};
    for (const bool isFolder : {false, true}) {
        SearchRows fromLines;
        SearchRows fromFields;
        for (const std::string& line : lines) {
            fromLines.AddLine(3, isFolder, "Filmy\\Amélie\\", line);
            std::vector<std::string> fields;
            size_t start = 0;
            while (!line.empty() && fields.size() < 4) {
                const size_t tab = line.find('\t', start);
                fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
                if (tab == std::string::npos)
                    break;
                start = tab + 1;
            }
            fields.resize(4);
            fromFields.Add(3, isFolder, isFolder ? "" : "Filmy\\Amélie\\", fields[0], fields[1],
                           fields[2], fields[3]);
        }
        ASSERT_EQ(fromLines.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            const SearchRow row = fromLines[i];
            const SearchRow expected = fromFields[i];
            EXPECT_EQ(row.Path(), expected.Path()) << i;
            EXPECT_EQ(row.Name(), expected.Name()) << i;
            EXPECT_EQ(row.SizeText(), expected.SizeText()) << i;
            EXPECT_EQ(row.DateText(), expected.DateText()) << i;
            EXPECT_EQ(row.TimeText(), expected.TimeText()) << i;
            EXPECT_EQ(row.IsFolder(), isFolder);
            const std::array<std::string_view, 4> texts = {row.Path(), row.SizeText(),
                                                           row.DateText(), row.TimeText()};
            EXPECT_EQ(row.Texts(), texts) << i;
        }
    }
    SearchRows one;
    one.AddLine(0, false, "D:\\", "Le fabuleux destin.2001.mkv\t734003200\t2004.10.3\t21.05.44");
    EXPECT_EQ(one[0].Path(), "D:\\Le fabuleux destin.2001.mkv");
    EXPECT_EQ(one[0].TimeText(), "21:05:44");
}

} // namespace
} // namespace vyp
