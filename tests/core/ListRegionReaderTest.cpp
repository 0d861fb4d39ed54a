#include "TestSupport.h"

#include "lists/FolderHierarchy.h"
#include "lists/FolderRows.h"
#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/ListRegistry.h"
#include "search/ListSearch.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace vyp {
namespace {

struct ReadBack {
    std::string header;
    std::vector<std::string> lines;
    std::vector<std::string> folders; // each line's folder as the regions tell it
    TextEncoding encoding = TextEncoding::Utf8;
};

// The regions split into lines must be the lines of the whole file after the header, however
// the line ends fall on the region boundaries, and each region's folder must be the folder line
// in force before it.
ReadBack ReadRegions(const std::string& path) {
    ListRegionReader reader(path);
    ReadBack back;
    back.header = reader.Header();
    ListRegion region;
    bool unterminated = false; // only the last region may end without a line end
    while (reader.Next(region)) {
        EXPECT_FALSE(unterminated);
        unterminated = region.lines.back() != '\n' && region.lines.back() != '\r';
        std::string folder(region.folder);
        for (std::string_view line : SplitLines(region.lines)) {
            back.lines.emplace_back(line);
            back.folders.push_back(folder);
            if (line.find('\\') != std::string_view::npos)
                folder = line.substr(0, line.find('\t'));
        }
    }
    back.encoding = reader.Encoding();
    return back;
}

std::vector<std::string> LinesAfterHeader(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes))
        lines.emplace_back(line);
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

TEST(ListRegionReader, RegionsEndOnLineEndsWhereverTheyFall) {
    test::TempDir dir;
    const size_t region = 1 << 20;
    // A CR LF split exactly at the first megabyte, a lone CR at the second.
    std::string bytes = "E:\\\t0\r\n";
    bytes.append(region - 1 - bytes.size(), 'a');
    bytes += "\r\nSložka\\\t0\t1\t1\r";
    bytes.resize(2 * region - 1, 'b');
    bytes += "\rthird\n";
    std::mt19937 random(7);
    const char* ends[] = {"\r\n", "\r", "\n"};
    while (bytes.size() < 3 * region + 12345) {
        bytes.append(random() % 200, random() % 50 == 0 ? '\\' : 'x');
        bytes += ends[random() % 3];
    }
    bytes += "last line without an end";
    test::WriteFile(dir / "l.sez", bytes);
    // From the file's mapping, and through the buffer where nothing is mapped.
    for (const bool mapped : {true, false}) {
        std::optional<test::NothingMapped> buffered;
        if (!mapped)
            buffered.emplace();
        const ReadBack back = ReadRegions(dir / "l.sez");
        EXPECT_EQ(back.header, "E:\\\t0");
        EXPECT_EQ(back.lines, LinesAfterHeader(bytes)) << mapped;
        // Every line's folder, counted from the whole file, is what the regions told.
        std::string folder = "E:\\";
        for (size_t i = 0; i < back.lines.size(); ++i) {
            ASSERT_EQ(back.folders[i], folder) << "line " << i + 1 << ", " << mapped;
            if (back.lines[i].find('\\') != std::string::npos)
                folder = back.lines[i].substr(0, back.lines[i].find('\t'));
        }
    }
}

TEST(ListRegionReader, HeadersLineEndsLongLinesEncodingAndErrors) {
    test::TempDir dir;
    const std::string longLine(3 << 20, 'z');
    test::WriteFile(dir / "long.sez", "/media/cdrom/\t5\r\n" + longLine + "\r\ntail");
    ReadBack back = ReadRegions(dir / "long.sez");
    EXPECT_EQ(back.header, "/media/cdrom/\t5");
    EXPECT_EQ(back.lines, (std::vector<std::string>{longLine, "tail"}));
    EXPECT_EQ(back.folders[0], "/media/cdrom/"); // a root without "\" is still the root

    // Lists with CR only or LF only between their lines, and a header longer than a region.
    test::WriteFile(dir / "cr.sez", "E:\\\t1\rA\\\t1\t1\t1\ra.txt\t1\t1\t1\r");
    EXPECT_EQ(ReadRegions(dir / "cr.sez").lines,
              (std::vector<std::string>{"A\\\t1\t1\t1", "a.txt\t1\t1\t1"}));
    test::WriteFile(dir / "lf.sez", longLine + "\nx\n");
    back = ReadRegions(dir / "lf.sez");
    EXPECT_EQ(back.header, longLine);
    EXPECT_EQ(back.lines, (std::vector<std::string>{"x"}));

    test::WriteFile(dir / "empty.sez", "");
    ListRegionReader empty(dir / "empty.sez");
    EXPECT_FALSE(empty.HasHeaderLine());
    EXPECT_TRUE(ReadRegions(dir / "empty.sez").lines.empty());

    test::WriteFile(dir / "cp.sez", "C:\\\t0\r\n\x8A"
                                    "aty\t1\t1\t1\r\n");
    EXPECT_EQ(ReadRegions(dir / "cp.sez").encoding, TextEncoding::Windows1250);
    test::WriteFile(dir / "cp-header.sez", "C:\\\xE8\t0\r\n");
    EXPECT_EQ(ReadRegions(dir / "cp-header.sez").encoding, TextEncoding::Windows1250);
    EXPECT_THROW(ListRegionReader(dir / "missing.sez"), VypisnikError);
    EXPECT_THROW(ListRegionReader(dir.Path()), VypisnikError);
}

// A list made under Czech Windows settings (Windows-1250) with accented folders, long enough to
// span several regions, the accents in its last lines only where the first regions are plain
// ASCII: all three readers must decode it and find its folders by their UTF-8 paths.
TEST(ListReaders, AWindows1250ListAcrossSeveralRegions) {
    test::TempDir dir;
    const std::string path = dir / "Archiv 1998.sez";
    std::string bytes = "D:\\\t0\r\n";
    for (int i = 0; bytes.size() < (5 << 20) / 2; ++i)
        bytes += "Data " + std::to_string(i) + "\\\t0\t1998.1.2\t3:4.6\r\nfile.txt\t1\t1\t1\r\n";
    // "Účty\Přehled\" and "Žluťoučký kůň.txt" in Windows-1250.
    bytes += "\xDA\xE8ty\\\t0\t1998.1.2\t3:4.6\r\n"
             "\xDA\xE8ty\\P\xF8\x65hled\\\t0\t1998.1.2\t3:4.6\r\n"
             "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2.txt\t42\t1998.1.2\t3:4.6\r\n";
    for (int i = 0; bytes.size() < (5 << 20); ++i)
        bytes += "Konec " + std::to_string(i) + "\\\t0\t1998.1.2\t3:4.6\r\n";
    test::WriteFile(path, bytes);

    const FolderHierarchy h = FolderHierarchy::Read(path);
    ASSERT_TRUE(h.Error().empty());
    EXPECT_EQ(h.Encoding(), TextEncoding::Windows1250);
    size_t found = h.Count();
    for (size_t i = 0; i < h.Count(); ++i) {
        if (h.Path(i) == "Účty\\Přehled\\")
            found = i;
    }
    ASSERT_LT(found, h.Count());
    EXPECT_EQ(h.Caption(found), "Přehled");
    EXPECT_EQ(h.Path(static_cast<size_t>(h.Parent(found))), "Účty\\");

    const FolderRows rows = FolderRows::Read(path, "Účty\\Přehled\\");
    ASSERT_TRUE(rows.Error().empty()) << rows.Error();
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Caption(0), "Žluťoučký kůň.txt");
    EXPECT_EQ(rows.TimeText(0), "3:4:6");

    ListRegistry registry;
    test::RegisterList(registry, "Archiv 1998.sez", path);
    const GroupFilter all{true, true, true, true, true, true, true};
    const SearchResult result = SearchLists("KŮŇ", all, registry);
    ASSERT_EQ(result.rows.size(), 0u); // letters outside ASCII match in their own case only
    const SearchResult kun = SearchLists("kůň", all, registry);
    ASSERT_EQ(kun.rows.size(), 1u);
    EXPECT_EQ(kun.rows[0].Path(), "Účty\\Přehled\\Žluťoučký kůň.txt");
    EXPECT_EQ(kun.filesFound, 1);
    const SearchResult ucty = SearchLists("účty", all, registry);
    EXPECT_EQ(ucty.rows.size(), 0u);
    EXPECT_EQ(SearchLists("ÚČTY", all, registry).rows.size(), 0u);
    EXPECT_EQ(SearchLists("Účty", all, registry).foldersFound, 2);
}

// Reading again from the start gives the header and the lines once more, from the file opened
// at first: a list replaced in the meantime (as every write replaces one) does not leak in.
TEST(ListRegionReader, RestartReadsTheSameBytesAgain) {
    test::TempDir dir;
    const std::string path = dir / "Záloha 2024.sez";
    std::string bytes = "D:\\Zálohy\\\t0\r\n";
    for (int i = 0; bytes.size() < (600u << 10); ++i)
        bytes +=
            "Složka " + std::to_string(i) + "\\\t0\t2024.1.2\t3:4.6\r\nsoubor.txt\t1\t1\t1\r\n";
    test::WriteFile(path, bytes);
    ListRegionReader reader(path);
    ListRegion region;
    ASSERT_TRUE(reader.Next(region));
    ASSERT_TRUE(reader.Next(region)); // well into the file
#ifndef _WIN32
    test::WriteFile(dir / "new.sez", "E:\\\t1\r\njiný.txt\t1\t1\t1\r\n");
    std::filesystem::rename(std::filesystem::path(dir / "new.sez"), std::filesystem::path(path));
#endif
    reader.Restart();
    EXPECT_EQ(reader.Header(), "D:\\Zálohy\\\t0");
    std::string again;
    bool first = true;
    while (reader.Next(region)) {
        if (first) {
            EXPECT_EQ(region.folder, "D:\\Zálohy\\");
        }
        first = false;
        again += region.lines;
    }
    EXPECT_EQ(again, bytes.substr(bytes.find('\n') + 1));
    EXPECT_EQ(reader.Encoding(), TextEncoding::Utf8);
}

// Checking what lies ahead learns the whole file's encoding wherever its deciding byte lies
// (none, past the first region, at the very end, beyond a line of nothing but accents longer
// than a read) and leaves the regions as reading without it gives them, whenever it is asked.
TEST(ListRegionReader, CheckingAheadLearnsTheEncodingAndLeavesTheRegions) {
    test::TempDir dir;
    std::string valid = "D:\\Fotky\\\t0\r\n";
    for (int i = 0; valid.size() < (400u << 10); ++i)
        valid += "Žluťoučký kůň " + std::to_string(i) + ".jpg\t12\t2024.1.2\t3:4.6\r\n";
    std::string accents;
    while (accents.size() < (300u << 10))
        accents += "čřžý東京";
    valid += accents + "\t1\t2024.1.2\t3:4.6\r\n";
    for (int i = 0; i < 1000; ++i)
        valid += "Фото " + std::to_string(i) + ".jpg\t12\t2024.1.2\t3:4.6\r\n";
    const std::vector<std::pair<std::string, TextEncoding>> files = {
        {valid, TextEncoding::Utf8},
        {valid.substr(0, 140000) + "\xE8" + valid.substr(140000), TextEncoding::Windows1250},
        {valid + "\xE8", TextEncoding::Windows1250},
        {valid + "\xC4", TextEncoding::Windows1250}, // a sequence cut short by the end
        {valid + accents + "\xE8" + accents, TextEncoding::Windows1250},
    };
    for (size_t f = 0; f < files.size(); ++f) {
        const auto& [bytes, encoding] = files[f];
        const std::string path = dir / ("Fotky " + std::to_string(f) + ".sez");
        test::WriteFile(path, bytes);
        for (int round = 0; round < 8; ++round) {
            // From the mapping, then through the buffer where nothing is mapped.
            const int regionsBefore = round % 4;
            std::optional<test::NothingMapped> buffered;
            if (round >= 4)
                buffered.emplace();
            ListRegionReader reader(path);
            std::string lines;
            ListRegion region;
            bool more = true;
            for (int r = 0; r < regionsBefore && more; ++r) {
                more = reader.Next(region);
                if (more)
                    lines += region.lines;
            }
            EXPECT_EQ(reader.CheckAhead(), encoding) << f << " " << round;
            EXPECT_TRUE(reader.EncodingKnown());
            while (more && reader.Next(region))
                lines += region.lines;
            EXPECT_EQ(lines, bytes.substr(bytes.find('\n') + 1)) << f << " " << round;
            EXPECT_EQ(reader.Encoding(), encoding);
        }
        ListRegionReader plain(path);
        EXPECT_EQ(plain.EncodingOfWholeFile(), encoding) << f;
        EXPECT_EQ(plain.EncodingKnown(), true);
    }
}

} // namespace
} // namespace vyp
