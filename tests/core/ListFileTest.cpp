#include "TestSupport.h"

#include "lists/ListFile.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

using Lines = std::vector<std::string_view>;

TEST(ListFileLines, EveryKindOfLineEndEndsALine) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"})); // LF then a lone CR: two ends
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("E:\\\t0\r\n"), (Lines{"E:\\\t0"}));
}

TEST(ListFileLines, WrittenLinesEndWithCrLfAndReadBack) {
    test::TempDir dir;
    const std::string path = dir / "x.sez";
    WriteListFile(path, {"E:\\\t0"});
    EXPECT_EQ(test::ReadFile(path), "E:\\\t0\r\n");
    WriteListFile(path, test::ExampleLines("E:\\"));
    const std::string bytes = ReadWholeFile(path);
    const Lines lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "Games\\Old\\\t2000\t2003.5.1\t0:0.0");
}

TEST(ListFileLines, UnreadableFileNamesThePath) {
    test::TempDir dir;
    try {
        ReadWholeFile(dir / "missing.sez");
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + (dir / "missing.sez") + "\". " + test::NoSuchFileText());
    }
    EXPECT_THROW(ReadWholeFile(dir.Path()), VypisnikError); // a folder is no list
}

// What ParseListLine makes of a line into outputs that held "F", "N", "S", "D" and "T":
// "ok|field1|name|size|date|time".
std::string Parsed(std::string_view line) {
    std::string field1 = "F", name = "N", size = "S", date = "D", time = "T";
    const bool ok = ParseListLine(field1, name, size, date, time, line);
    return std::string(ok ? "ok" : "refused") + "|" + field1 + "|" + name + "|" + size + "|" +
           date + "|" + time;
}

TEST(ParseListLine, FileAndFolderLines) {
    for (const auto& [line, parsed] : std::vector<std::pair<std::string_view, std::string>>{
             {"autorun.inf\t45\t2003.11.2\t14:3.20",
              "ok|autorun.inf|autorun.inf|45|2003.11.2|14:3:20"},
             {"Games\\Old\\\t2000\t2003.5.1\t0:0.0", "ok|Games\\Old\\|Old|2000|2003.5.1|0:0:0"},
             {"Music\\\t0\t2004.2.29\t18:45.10", "ok|Music\\|Music|0|2004.2.29|18:45:10"},
             // A regional time separator "." reads with ":" as well.
             {"a\t1\t2004.1.1\t9.30.0", "ok|a|a|1|2004.1.1|9:30:0"}})
        EXPECT_EQ(Parsed(line), parsed) << line;
}

TEST(ParseListLine, LinesWithoutFourFieldsKeepTheCallersOutputs) {
    for (const auto& [line, parsed] : std::vector<std::pair<std::string_view, std::string>>{
             {"", "ok|F|F|S|D|T"},
             // The header is split cleanly: its total keeps every digit.
             {"D:\\Data\\Games\\\t1050621", "ok|D:\\Data\\Games\\|Games|1050621|D|T"},
             {"E:\\\t5", "ok|E:\\|E:|5|D|T"},
             {"noTabs", "ok|noTabs|noTabs|S|D|T"},
             // Extra fields are not glued on.
             {"a\tb\tc\td\te", "ok|a|a|b|c|d"}})
        EXPECT_EQ(Parsed(line), parsed) << line;
}

TEST(ListFileNames, ExtensionsAndCaptions) {
    for (const auto& [name, extension] :
         std::vector<std::pair<std::string_view, std::string_view>>{{"readme.txt", "txt"},
                                                                    {"archive.tar.gz", "gz"},
                                                                    {".profile", "profile"},
                                                                    {"Makefile", ""},
                                                                    {"name.", ""}})
        EXPECT_EQ(ExtensionOf(name), extension) << name;
    for (const auto& [file, caption] :
         std::vector<std::pair<std::string_view, std::string_view>>{{"Disk1.sez", "Disk1"},
                                                                    {"b.sezam.sez", "b.sezam"},
                                                                    {"x.sez.sez", "x.sez"},
                                                                    {"X.SEZ", "X.SEZ"}})
        EXPECT_EQ(ListCaption(file), caption) << file;
}

TEST(ListFileNames, FolderOfARelativePath) {
    struct Case {
        std::string_view path, folder;
        bool isFolder;
    };
    for (const Case& c :
         {Case{"Fotky\\Dovolená u moře\\IMG 0001.JPG", "Fotky\\Dovolená u moře\\", false},
          Case{"Fotky\\Dovolená u moře\\", "Fotky\\", true}, Case{"Фотографии\\", "", true},
          Case{"Übersicht.v2.tar.gz", "", false}, Case{"", "", false}}) {
        EXPECT_EQ(ParentFolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(IsFolderPath(c.path), c.isFolder) << c.path;
    }
}

} // namespace
} // namespace vyp
