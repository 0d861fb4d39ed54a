#include "lists/LineScan.h"
#include "lists/LineMasks.h"
#include "lists/ListFile.h"
#include "util/TabFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vyp {
namespace {

// Lines as real lists hold them, of every length around the 16- and 64-byte steps of the
// scanners: a folder line with accents, file names with several dots and spaces, Cyrillic and
// CJK, a damaged line without TABs, a "\" after the first TAB, empty lines and every line end.
std::string ListText(size_t padding) {
    return std::string(padding, 'x') + "\tE:\\\t123\r\n" +
           "Dovolená u moře\\Fotky.2019\\\t0\t2019.8.1\t12:0.0\r\n"
           "Übersicht.final.v2.pdf\t1048576\t2004.1.15\t9:30.0\r\n"
           "Фотографии с моря.jpg\t2000\t2011.3.7\t23.59.59\n"
           "写真 音楽 ライブ.tar.gz\t1\t1999.12.31\t0:0.0\r"
           "poškozený řádek bez tabulátorů\r\n"
           "\r\n"
           "Été 2019\\\r\n"
           "a\tb\\c\td\te\tf\r\n" +
           std::string(61, 'L') + "\t9\t2020.2.29\t1:2.3\r\n" + std::string(63, 'M') + "\r\n" +
           "\n" + std::string(64, 'N') + "\t" + std::string(15, 'n') + "\tlast without end";
}

struct Expected {
    std::string text;
    std::string::size_type tab1, tab2, backslash;
};

// The lines and their marks as SplitLines and find give them.
std::vector<Expected> ExpectedLines(const std::string& text) {
    std::vector<Expected> lines;
    for (std::string_view line : SplitLines(text)) {
        const size_t tab1 = line.find('\t');
        lines.push_back({std::string(line), tab1,
                         tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1),
                         line.find('\\')});
    }
    return lines;
}

std::string::size_type OffsetIn(const ScannedLine& line, const char* mark) {
    return mark == nullptr ? std::string::npos
                           : static_cast<std::string::size_type>(mark - line.begin);
}

TEST(LineScan, LinesAndMarksAreThoseOfSplitLinesAtEveryPlaceInTheBlocks) {
    for (size_t padding = 0; padding < 140; ++padding) {
        const std::string text = ListText(padding);
        const std::vector<Expected> expected = ExpectedLines(text);
        std::vector<Expected> scanned;
        const size_t count = ForEachScannedLine(text, [&](const ScannedLine& line) {
            scanned.push_back({std::string(line.Text()), OffsetIn(line, line.tab1),
                               OffsetIn(line, line.tab2), OffsetIn(line, line.backslash)});
        });
        ASSERT_EQ(count, expected.size()) << padding;
        ASSERT_EQ(scanned.size(), expected.size()) << padding;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(scanned[i].text, expected[i].text) << padding << " line " << i;
            EXPECT_EQ(scanned[i].tab1, expected[i].tab1) << padding << " line " << i;
            EXPECT_EQ(scanned[i].tab2, expected[i].tab2) << padding << " line " << i;
            EXPECT_EQ(scanned[i].backslash, expected[i].backslash) << padding << " line " << i;
        }
    }
}

// Masks found many blocks at once, by every way this processor has, against the plain way:
// list texts of every length around the blocks' edges, and random bytes where TABs, line ends,
// "\" and accented letters are frequent (the last block cut anywhere). Lines read from them
// are those of SplitLines.
TEST(LineScan, MasksFoundAheadAreThoseOfThePlainWay) {
    std::vector<std::string> texts;
    for (size_t padding = 0; padding < 140; ++padding)
        texts.push_back(ListText(padding));
    std::mt19937 random(20261209);
    const std::string pieces[] = {"\t", "\r", "\n", "\r\n", "\\", "Č", "ü", "é",
                                  "Ж",  "東", "a",  "Z",    " ",  ".", "0", std::string(1, '\0')};
    for (size_t length = 0; length < 300; ++length) {
        std::string text;
        while (text.size() < length)
            text += pieces[random() % std::size(pieces)];
        text.resize(length);
        texts.push_back(text);
    }
    for (const LineMaskWay way : {LineMaskWay::Plain, LineMaskWay::Avx2, LineMaskWay::Avx512}) {
        if (!CanFindLineMasks(way))
            continue;
        for (const std::string& text : texts) {
            const size_t blocks = (text.size() + 63) / 64;
            std::vector<line_scan::BlockMasks> plain(blocks), found(blocks + 1);
            found[blocks] = {1, 2, 3, 4}; // nothing past the last block is written
            FindLineMasks(LineMaskWay::Plain, text, plain.data());
            FindLineMasks(way, text, found.data());
            for (size_t b = 0; b < blocks; ++b) {
                ASSERT_EQ(found[b].tab, plain[b].tab) << static_cast<int>(way) << " " << text;
                ASSERT_EQ(found[b].cr, plain[b].cr) << static_cast<int>(way) << " " << text;
                ASSERT_EQ(found[b].lf, plain[b].lf) << static_cast<int>(way) << " " << text;
                ASSERT_EQ(found[b].backslash, plain[b].backslash) << static_cast<int>(way);
            }
            ASSERT_EQ(found[blocks].tab, 1u);
            ASSERT_EQ(found[blocks].backslash, 4u);

            const std::vector<Expected> expected = ExpectedLines(text);
            std::vector<Expected> scanned;
            ForEachScannedLineOf(
                text, [&](size_t block, const char*) { return found[block / 64]; },
                [&](const ScannedLine& line) {
                    scanned.push_back({std::string(line.Text()), OffsetIn(line, line.tab1),
                                       OffsetIn(line, line.tab2), OffsetIn(line, line.backslash)});
                });
            ASSERT_EQ(scanned.size(), expected.size()) << text;
            for (size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(scanned[i].text, expected[i].text) << i;
                EXPECT_EQ(scanned[i].tab1, expected[i].tab1) << i;
                EXPECT_EQ(scanned[i].tab2, expected[i].tab2) << i;
                EXPECT_EQ(scanned[i].backslash, expected[i].backslash) << i;
            }
        }
    }
}

TEST(LineScan, FirstFieldAndFolderLines) {
    std::vector<std::string> fields;
    std::vector<bool> folders;
    ForEachScannedLine("Hry\\Staré\\\t0\t2004.1.1\t9:30.0\r\nČísla.TXT\t5\r\nzáloha\tb\\c\r\nE:\\",
                       [&](const ScannedLine& line) {
                           fields.emplace_back(line.FirstField());
                           folders.push_back(line.FirstFieldHasBackslash());
                       });
    EXPECT_EQ(fields, (std::vector<std::string>{"Hry\\Staré\\", "Čísla.TXT", "záloha", "E:\\"}));
    // A "\" after the first TAB makes no folder line.
    EXPECT_EQ(folders, (std::vector<bool>{true, false, false, true}));
}

TEST(LineScan, CallbackReturningFalseStopsTheScan) {
    std::vector<std::string> seen;
    const size_t count =
        ForEachScannedLine("první\r\ndruhý\r\ntřetí\r\n", [&](const ScannedLine& line) {
            seen.emplace_back(line.Text());
            return seen.size() < 2;
        });
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(seen, (std::vector<std::string>{"první", "druhý"}));
    EXPECT_EQ(ForEachScannedLine("", [](const ScannedLine&) {}), 0u);
}

// SplitAtTabs against the fields that find gives, for texts of every length from 0 to 70
// bytes with TABs at every place, and for every number of fields asked.
TEST(TabFields, FieldsAreThoseFindGivesAtEveryLength) {
    const std::string pattern = "Žluťoučký kůň.tar.gz\t1048576\t2004.1.15\t9:30.0\t\tnavíc\t写真";
    for (size_t length = 0; length <= 70; ++length) {
        const std::string text = (pattern + pattern).substr(0, length);
        for (size_t most = 1; most <= 8; ++most) {
            std::vector<std::string_view> expected;
            size_t start = 0;
            while (expected.size() + 1 < most) {
                const size_t tab = text.find('\t', start);
                if (tab == std::string::npos)
                    break;
                expected.push_back(std::string_view(text).substr(start, tab - start));
                start = tab + 1;
            }
            const size_t tab = text.find('\t', start);
            expected.push_back(std::string_view(text).substr(
                start, tab == std::string::npos ? std::string::npos : tab - start));
            std::vector<std::string_view> fields(most);
            const size_t count = SplitAtTabs(text, fields.data(), most);
            fields.resize(count);
            EXPECT_EQ(fields, expected) << length << " " << most;
        }
    }
}

// SplitAtLastTabs against the fields rfind gives from the end, for texts of every length with
// TABs at every place (the SIMD steps run back from the end: fields cross every 16-byte edge),
// and against SplitAtTabs for texts of exactly count - 1 TABs, the packed records it splits.
TEST(TabFields, FieldsFromTheEndAreThoseRfindGives) {
    const std::string pattern = "Přehled účtů\\Žluťoučký kůň.tar.gz\t1048576\t2004.1.15\t9:30.0\t";
    for (size_t length = 0; length <= 2 * pattern.size(); ++length) {
        const std::string text = (pattern + pattern).substr(0, length);
        for (size_t count = 1; count <= 6; ++count) {
            std::vector<std::string_view> expected(count);
            size_t end = text.size();
            size_t k = count - 1;
            for (; k > 0 && end > 0; --k) {
                const size_t tab = text.rfind('\t', end - 1);
                if (tab == std::string::npos)
                    break;
                expected[k] = std::string_view(text).substr(tab + 1, end - tab - 1);
                end = tab;
            }
            expected[0] = std::string_view(text).substr(0, end);
            std::vector<std::string_view> fields(count);
            SplitAtLastTabs(text, fields.data(), count);
            EXPECT_EQ(fields, expected) << length << " " << count;
            if (static_cast<size_t>(std::count(text.begin(), text.end(), '\t')) == count - 1) {
                std::vector<std::string_view> forward(count);
                ASSERT_EQ(SplitAtTabs(text, forward.data(), count), count);
                EXPECT_EQ(fields, forward) << length;
            }
        }
    }
}

TEST(TabFields, ListLinesKeepTheirFirstFourFields) {
    const ListLineFields line = SplitListLine("Été 2019\\\t0\t2019.7.14\t21.5.0\tnavíc");
    ASSERT_EQ(line.count, 4);
    EXPECT_EQ(line.field[0], "Été 2019\\");
    EXPECT_EQ(line.field[3], "21.5.0");
    EXPECT_EQ(SplitListLine("").count, 0);
    EXPECT_EQ(SplitListLine("jen jméno").count, 1);
    EXPECT_EQ(SplitListLine("jméno\t").field[1], "");
}

} // namespace
} // namespace vyp
