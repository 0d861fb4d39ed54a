#include "TestSupport.h"

#include "lists/FolderHierarchy.h"
#include "lists/FolderRows.h"
#include "util/Encoding.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

class FolderTexts : public ::testing::Test {
protected:
    FolderHierarchy Read(const std::string& bytes) {
        const std::string path = m_dir / ("Disk " + std::to_string(++m_count) + ".sez");
        test::WriteFile(path, bytes);
        m_paths.push_back(path);
        return FolderHierarchy::Read(path);
    }

    test::TempDir m_dir;
    std::vector<std::string> m_paths;
    int m_count = 0;
};

// Sizes, dates and times of every shape come back as stored (times with ":"), whether they are
// digits and separators or not, and with fields missing or beyond the fourth.
TEST_F(FolderTexts, EveryStampReadsBackAsStored) {
    const FolderHierarchy h =
        Read("E:\\\t12\r\n"
             "Fotky 2019\\\t-1073741824\t2019.12.31\t23:59.58\r\n"   // negative, even length
             "Fotky 2019\\Dovolená u moře\\\t7\t2019.8.1\t1:2.4\r\n" // odd length
             "Übersicht\\\t1 024\t15. ledna 2004\t9 h\r\n"           // spaces and letters
             "Été.2019\\\r\n"                                        // no fields at all
             "Фото\\\t0\t\t\r\n"                                     // empty date and time
             "写真 ライブ\\\t5\t2004.1.15\t9:30.0\tnavíc\tještě\r\n" // fields beyond four
             "Mix.Of.Dots\\a.b.c\\\t0x1F\t2004-01-15\t09:30:00\r\n");
    ASSERT_EQ(h.Count(), 7u);
    auto stamp = [&h](size_t i) {
        return h.SizeText(i) + "|" + h.DateText(i) + "|" + h.TimeText(i);
    };
    EXPECT_EQ(stamp(0), "-1073741824|2019.12.31|23:59:58");
    EXPECT_EQ(stamp(1), "7|2019.8.1|1:2:4");
    EXPECT_EQ(h.Path(1), "Fotky 2019\\Dovolená u moře\\");
    EXPECT_EQ(stamp(2), "1 024|15. ledna 2004|9 h");
    EXPECT_EQ(h.Path(3), "Été.2019\\");
    EXPECT_EQ(stamp(3), "||");
    EXPECT_EQ(stamp(4), "0||");
    EXPECT_EQ(h.Path(5), "写真 ライブ\\");
    EXPECT_EQ(stamp(5), "5|2004.1.15|9:30:0");
    EXPECT_EQ(h.Caption(6), "a.b.c");
    EXPECT_EQ(stamp(6), "0x1F|2004-01-15|09:30:00");
}

// A list in Windows-1250 gives the same texts as the same list in UTF-8: paths decoded, a
// stamp with letters decoded, stamps of digits untouched however their bytes look.
TEST_F(FolderTexts, BothEncodingsGiveTheSameTexts) {
    const std::string utf8 = "D:\\Archiv.2024\\\t0\r\n"
                             "Přehled účtů\\\t255\t2004.1.15\t9:30.0\r\n"
                             "Přehled účtů\\Žluťoučký kůň\\\t-9\t1999.9.9\t9:9.9\r\n"
                             "Škola\\\t3\tzáří 2004\t9:30.0\r\n"
                             "Škola\\Úkoly\\\t88888888\t2004.1.15\t0:0.0\r\n";
    const FolderHierarchy fromUtf8 = Read(utf8);
    std::string cp1250;
    ASSERT_TRUE(FromUtf8(utf8, TextEncoding::Windows1250, cp1250));
    const FolderHierarchy fromCp1250 = Read(cp1250);
    EXPECT_EQ(fromUtf8.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(fromCp1250.Encoding(), TextEncoding::Windows1250);
    ASSERT_EQ(fromUtf8.Count(), 4u);
    ASSERT_EQ(fromCp1250.Count(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(fromCp1250.Path(i), fromUtf8.Path(i)) << i;
        EXPECT_EQ(fromCp1250.Caption(i), fromUtf8.Caption(i)) << i;
        EXPECT_EQ(fromCp1250.SizeText(i), fromUtf8.SizeText(i)) << i;
        EXPECT_EQ(fromCp1250.DateText(i), fromUtf8.DateText(i)) << i;
        EXPECT_EQ(fromCp1250.TimeText(i), fromUtf8.TimeText(i)) << i;
        EXPECT_EQ(fromCp1250.Parent(i), fromUtf8.Parent(i)) << i;
    }
    EXPECT_EQ(fromUtf8.Path(1), "Přehled účtů\\Žluťoučký kůň\\");
    EXPECT_EQ(fromUtf8.DateText(2), "září 2004");
    EXPECT_EQ(fromUtf8.SizeText(3), "88888888");
    EXPECT_EQ(fromUtf8.Parent(3), 2);
}

// A folder whose path is not its parent's path and its own name: its whole path is kept, and
// the rows found from its remembered line are its own.
TEST_F(FolderTexts, PathsThatAreNotTheParentsPlusTheCaption) {
    const FolderHierarchy h = Read("E:\\\t3\r\n"
                                   "Hudba\\\t3\t2004.1.15\t9:30.0\r\n"
                                   "Hudba\\chybí\\Noël\\\t1\t2004.1.15\t9:30.0\r\n"
                                   "noël.mp3\t1\t2004.1.15\t9:30.0\r\n"
                                   "Hudba\\Noël\\\t2\t2004.1.15\t9:30.0\r\n"
                                   "Crème brûlée.txt\t2\t2004.1.15\t9:30.0\r\n");
    ASSERT_EQ(h.Count(), 3u);
    EXPECT_EQ(h.Path(1), "Hudba\\chybí\\Noël\\");
    EXPECT_EQ(h.Caption(1), "Noël");
    EXPECT_EQ(h.Parent(1), 0);
    EXPECT_EQ(h.Path(2), "Hudba\\Noël\\");
    EXPECT_EQ(h.Parent(2), 0);
    const FolderRows deep = FolderRows::Read(m_paths[0], h.Path(1), h.Hint(1));
    ASSERT_EQ(deep.Count(), 1u);
    EXPECT_EQ(deep.Caption(0), "noël.mp3");
    const FolderRows near = FolderRows::Read(m_paths[0], h.Path(2), h.Hint(2));
    ASSERT_EQ(near.Count(), 1u);
    EXPECT_EQ(near.Caption(0), "Crème brûlée.txt");
}

} // namespace
} // namespace vyp
