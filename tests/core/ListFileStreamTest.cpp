#include "TestSupport.h"

#include "lists/Errors.h"
#include "lists/ListFile.h"
#include "lists/ListFileStream.h"

#include <gtest/gtest.h>

#include <random>

namespace vyp {
namespace {

// The pieces a stream hands out, split into lines, must be the lines of the whole file, however
// the line ends fall on the piece boundaries.
std::vector<std::string> StreamedLines(const std::string& path, TextEncoding* encoding = nullptr) {
    ListFileStream stream(path, true);
    std::vector<std::string> lines;
    std::string_view region;
    bool unterminated = false; // only the last piece may end without a line end
    while (stream.NextRegion(region)) {
        EXPECT_FALSE(unterminated);
        unterminated = region.back() != '\n' && region.back() != '\r';
        for (std::string_view line : SplitLines(region))
            lines.emplace_back(line);
    }
    if (encoding != nullptr)
        *encoding = stream.Encoding();
    return lines;
}

std::vector<std::string> WholeLines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes))
        lines.emplace_back(line);
    return lines;
}

TEST(ListFileStream, PiecesEndOnLineEndsWhereverTheyFall) {
    test::TempDir dir;
    const size_t piece = 1 << 20;
    // A CR LF split exactly at the first piece's end, a lone CR at the second's.
    std::string bytes(piece - 1, 'a');
    bytes += "\r\nsecond line\r";
    bytes.resize(2 * piece - 1, 'b');
    bytes += "\rthird\n";
    std::mt19937 random(7);
    const char* ends[] = {"\r\n", "\r", "\n"};
    while (bytes.size() < 3 * piece + 12345) {
        bytes.append(random() % 200, 'x');
        bytes += ends[random() % 3];
    }
    bytes += "last line without an end";
    test::WriteFile(dir / "l.sez", bytes);
    EXPECT_EQ(StreamedLines(dir / "l.sez"), WholeLines(bytes));
}

TEST(ListFileStream, LongLinesEmptyFilesEncodingAndErrors) {
    test::TempDir dir;
    const std::string longLine(3 << 20, 'z');
    test::WriteFile(dir / "long.sez", "head\r\n" + longLine + "\r\ntail");
    EXPECT_EQ(StreamedLines(dir / "long.sez"),
              (std::vector<std::string>{"head", longLine, "tail"}));
    test::WriteFile(dir / "empty.sez", "");
    EXPECT_TRUE(StreamedLines(dir / "empty.sez").empty());
    TextEncoding encoding = TextEncoding::Utf8;
    test::WriteFile(dir / "cp.sez", "C:\\\t0\r\n\x8A"
                                    "aty\t1\t1\t1\r\n");
    StreamedLines(dir / "cp.sez", &encoding);
    EXPECT_EQ(encoding, TextEncoding::Windows1250);
    EXPECT_THROW(ListFileStream(dir / "missing.sez", false), VypisnikError);
    EXPECT_THROW(ListFileStream(dir.Path(), false), VypisnikError);
}

} // namespace
} // namespace vyp
