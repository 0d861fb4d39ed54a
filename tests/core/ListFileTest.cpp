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

struct Parsed {
    std::string field1 = "F", name = "N", size = "S", date = "D", time = "T";
    bool ok = false;
    explicit Parsed(std::string_view line) {
        ok = ParseListLine(field1, name, size, date, time, line);
    }
};

TEST(ParseListLine, FileAndFolderLines) {
    const Parsed file("autorun.inf\t45\t2003.11.2\t14:3.20");
    EXPECT_TRUE(file.ok);
    EXPECT_EQ(file.field1, "autorun.inf");
    EXPECT_EQ(file.name, "autorun.inf");
    EXPECT_EQ(file.size, "45");
    EXPECT_EQ(file.date, "2003.11.2");
    EXPECT_EQ(file.time, "14:3:20");

    const Parsed folder("Games\\Old\\\t2000\t2003.5.1\t0:0.0");
    EXPECT_EQ(folder.field1, "Games\\Old\\");
    EXPECT_EQ(folder.name, "Old");
    EXPECT_EQ(folder.time, "0:0:0");
    EXPECT_EQ(Parsed("Music\\\t0\t2004.2.29\t18:45.10").name, "Music");
    // A regional time separator "." reads with ":" as well.
    EXPECT_EQ(Parsed("a\t1\t2004.1.1\t9.30.0").time, "9:30:0");
}

TEST(ParseListLine, LinesWithoutFourFieldsKeepTheCallersOutputs) {
    const Parsed empty("");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.field1, "F");
    EXPECT_EQ(empty.name, "F");
    EXPECT_EQ(empty.size, "S");
    EXPECT_EQ(empty.time, "T");

    // The header is split cleanly: its total keeps every digit.
    const Parsed header("D:\\Data\\Games\\\t1050621");
    EXPECT_EQ(header.field1, "D:\\Data\\Games\\");
    EXPECT_EQ(header.name, "Games");
    EXPECT_EQ(header.size, "1050621");
    EXPECT_EQ(header.date, "D");
    EXPECT_EQ(Parsed("E:\\\t5").name, "E:");
    EXPECT_EQ(Parsed("noTabs").field1, "noTabs");
    EXPECT_EQ(Parsed("a\tb\tc\td\te").time, "d"); // extra fields are not glued on
}

TEST(ListFileNames, ExtensionsAndCaptions) {
    EXPECT_EQ(ExtensionOf("readme.txt"), "txt");
    EXPECT_EQ(ExtensionOf("archive.tar.gz"), "gz");
    EXPECT_EQ(ExtensionOf(".profile"), "profile");
    EXPECT_EQ(ExtensionOf("Makefile"), "");
    EXPECT_EQ(ExtensionOf("name."), "");
    EXPECT_EQ(ListCaption("Disk1.sez"), "Disk1");
    EXPECT_EQ(ListCaption("b.sezam.sez"), "b.sezam");
    EXPECT_EQ(ListCaption("x.sez.sez"), "x.sez");
    EXPECT_EQ(ListCaption("X.SEZ"), "X.SEZ");
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
