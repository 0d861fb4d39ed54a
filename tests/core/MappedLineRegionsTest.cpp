#include "TestSupport.h"

#include "lists/MappedLineRegions.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <random>

namespace vyp {
namespace {

struct Stretch {
    std::vector<size_t> regions; // their sizes: a region is valid only until the next one
    std::string bytes;           // the regions one after the other
    bool mapped = false;
};

// Every region of [start, end) with its offset checked against where its bytes lie in file.
Stretch ReadStretch(const std::string& path, const std::string& file, int64_t start, int64_t end,
                    size_t regionBytes, size_t windowBytes) {
    InputFile input;
    EXPECT_EQ(input.Open(path, true), 0);
    MappedLineRegions regions(regionBytes, windowBytes);
    Stretch stretch;
    stretch.mapped = regions.Start(input, start, end);
    if (!stretch.mapped)
        return stretch;
    std::string_view lines;
    int64_t offset = 0;
    bool last = false;
    while (regions.Next(lines, offset)) {
        EXPECT_FALSE(last) << "a region after the last";
        last = regions.AtEnd();
        EXPECT_EQ(offset, start + static_cast<int64_t>(stretch.bytes.size()));
        EXPECT_EQ(lines, std::string_view(file).substr(static_cast<size_t>(offset), lines.size()));
        stretch.bytes += lines;
        stretch.regions.push_back(lines.size());
    }
    EXPECT_FALSE(regions.Failed());
    EXPECT_EQ(regions.Position(), start + static_cast<int64_t>(stretch.bytes.size()));
    return stretch;
}

bool EndsALine(std::string_view lines) {
    return lines.back() == '\n' || lines.back() == '\r';
}

// A list of real-looking lines with every kind of line end, folder lines among them.
std::string ListBytes(size_t size, unsigned seed) {
    const char* names[] = {"Přehled účtů", "Übersicht",     "Noël à Paris",     "Музыка",
                           "写真 東京",    "archiv.tar.gz", "Žluťoučký kůň.mp3"};
    const char* ends[] = {"\r\n", "\n", "\r"};
    std::mt19937 random(seed);
    std::string bytes = "E:\\\t123456789\r\n";
    while (bytes.size() < size) {
        bytes += names[random() % 7];
        bytes += random() % 9 == 0 ? "\\\t0\t2004.1.15\t9:30.0" : "\t1571696\t2018.4.24\t4:38.20";
        bytes += ends[random() % 3];
    }
    return bytes;
}

// Windows of a few kilobytes over a list of some hundred kilobytes: the regions must be the
// stretch's bytes, whole lines each but for the stretch's unterminated end, no larger than asked
// for but where a line is, however lines and CR LF pairs fall on the windows' edges.
TEST(MappedLineRegions, RegionsAreTheStretchsWholeLinesAcrossWindows) {
    test::TempDir dir;
    const std::string path = dir / "Fotky 2019.sez";
    std::string file = ListBytes(300000, 3);
    file += std::string(20000, 'x') + "\r\n"; // longer than a window
    file += ListBytes(100000, 4);
    file += "poslední řádek bez konce";
    test::WriteFile(path, file);
    const int64_t linesStart = static_cast<int64_t>(file.find('\n') + 1);
    for (const size_t window : {size_t{4096}, size_t{5000}, size_t{65536}, size_t{8} << 20}) {
        for (const size_t region : {size_t{100}, size_t{1000}, size_t{1} << 17}) {
            const Stretch stretch = ReadStretch(path, file, linesStart, -1, region, window);
            if (!stretch.mapped)
                GTEST_SKIP() << "this system does not map files";
            ASSERT_EQ(stretch.bytes, file.substr(static_cast<size_t>(linesStart)))
                << window << " " << region;
            size_t at = 0;
            for (size_t i = 0; i < stretch.regions.size(); ++i) {
                const std::string_view lines =
                    std::string_view(stretch.bytes).substr(at, stretch.regions[i]);
                at += lines.size();
                const bool last = i + 1 == stretch.regions.size();
                ASSERT_TRUE(last || EndsALine(lines)) << window << " " << region << " " << i;
                // A CR at a region's end is never the first half of a CR LF.
                if (!last && lines.back() == '\r') {
                    ASSERT_NE(stretch.bytes[at], '\n') << window << " " << region << " " << i;
                }
                if (lines.size() > region) {
                    const size_t lineEnd = lines.find_first_of("\r\n");
                    const bool oneLine =
                        lineEnd == std::string_view::npos
                            ? last
                            : lines.substr(lineEnd) == "\r\n" || lineEnd + 1 == lines.size();
                    ASSERT_TRUE(oneLine) << "a region longer than asked for holds one line";
                }
            }
        }
    }
}

// The printed search reads a list in pieces that start and end at folder lines: a stretch ends
// where asked, wherever that lies in a window, and an empty one or one past the file's end gives
// nothing.
TEST(MappedLineRegions, AStretchEndsWhereAsked) {
    test::TempDir dir;
    const std::string path = dir / "Záloha 2024.sez";
    const std::string file = ListBytes(200000, 5);
    test::WriteFile(path, file);
    std::vector<int64_t> starts; // every line's start
    for (size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\n' || (file[i] == '\r' && file[i + 1] != '\n'))
            starts.push_back(static_cast<int64_t>(i + 1));
    }
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        int64_t start = starts[random() % starts.size()];
        int64_t end = starts[random() % starts.size()];
        if (start > end)
            std::swap(start, end);
        const Stretch stretch = ReadStretch(path, file, start, end, 700, 4096 + random() % 9000);
        if (!stretch.mapped)
            GTEST_SKIP() << "this system does not map files";
        ASSERT_EQ(stretch.bytes,
                  file.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)))
            << start << " " << end;
    }
    const auto size = static_cast<int64_t>(file.size());
    EXPECT_TRUE(ReadStretch(path, file, size, -1, 700, 4096).bytes.empty());
    EXPECT_TRUE(ReadStretch(path, file, size + 5000, -1, 700, 4096).bytes.empty());
    EXPECT_TRUE(ReadStretch(path, file, starts[3], starts[3], 700, 4096).bytes.empty());
    // A stretch said to end past the file's end ends with the file.
    EXPECT_EQ(ReadStretch(path, file, starts[3], size + 100000, 700, 4096).bytes,
              file.substr(static_cast<size_t>(starts[3])));
}

} // namespace
} // namespace vyp
