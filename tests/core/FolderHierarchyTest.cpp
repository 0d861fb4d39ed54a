#include "TestSupport.h"

#include "lists/FolderHierarchy.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <thread>

namespace vyp {
namespace {

FolderHierarchy HierarchyOf(const std::string& bytes) {
    return FolderHierarchy::Read(test::ListFileOnDisk(bytes));
}

TEST(FolderHierarchy, OneNodePerFolderLineUnderItsParent) {
    const FolderHierarchy h = HierarchyOf(test::ListFileBytes(test::ExampleLines("E:\\")));
    EXPECT_EQ(h.ListSizeText(), "1050621");
    ASSERT_EQ(h.Count(), 3u);
    EXPECT_EQ(h.Path(0), "Games\\");
    EXPECT_EQ(h.Caption(0), "Games");
    EXPECT_EQ(h.SizeText(0), "1050576");
    EXPECT_EQ(h.DateText(0), "2004.1.15");
    EXPECT_EQ(h.TimeText(0), "9:30:0");
    EXPECT_EQ(h.Parent(0), FolderHierarchy::kListNode);
    EXPECT_EQ(h.Caption(1), "Old");
    EXPECT_EQ(h.Parent(1), 0);
    EXPECT_EQ(h.Caption(2), "Music");
    EXPECT_EQ(h.Parent(2), FolderHierarchy::kListNode);
}

TEST(FolderHierarchy, TopLevelNameAlsoUsedDeeperHangsUnderTheList) {
    const FolderHierarchy h = HierarchyOf(
        "R\\\t0\r\nA\\\t0\t1\t2\r\nA\\B\\\t0\t1\t2\r\nA\\B\\B\\\t0\t1\t2\r\nB\\\t0\t1\t2\r\n");
    ASSERT_EQ(h.Count(), 4u);
    EXPECT_EQ(h.Parent(2), 1);
    EXPECT_EQ(h.Path(3), "B\\");
    EXPECT_EQ(h.Parent(3), FolderHierarchy::kListNode);
}

TEST(FolderHierarchy, MissingParentHangsUnderTheNearestAncestor) {
    const FolderHierarchy h =
        HierarchyOf("R\\\t0\r\nA\\\t0\t1\t2\r\nA\\gone\\C\\\t0\t1\t2\r\nX\\Y\\\t0\t1\t2\r\n");
    ASSERT_EQ(h.Count(), 3u);
    EXPECT_EQ(h.Parent(1), 0);
    EXPECT_EQ(h.Caption(1), "C");
    EXPECT_EQ(h.Parent(2), FolderHierarchy::kListNode);
}

TEST(FolderHierarchy, HeaderOnlyAndBrokenFiles) {
    EXPECT_EQ(HierarchyOf("E:\\\t77\r\n").Count(), 0u);
    EXPECT_EQ(HierarchyOf("E:\\\t77\r\n").ListSizeText(), "77");
    EXPECT_EQ(HierarchyOf("E:\\\r\n").ListSizeText(), "0"); // no TAB
    EXPECT_EQ(HierarchyOf("").ListSizeText(), "0");
    const FolderHierarchy damaged = HierarchyOf("E:\\\t1\r\nA\\\r\n");
    ASSERT_EQ(damaged.Count(), 1u);
    EXPECT_EQ(damaged.Caption(0), "A");
    EXPECT_EQ(damaged.SizeText(0), "");
    test::TempDir dir;
    const FolderHierarchy missing = FolderHierarchy::Read(dir / "missing.sez");
    EXPECT_EQ(missing.Count(), 0u);
    EXPECT_NE(missing.Error().find("Cannot open file"), std::string::npos);
}

TEST(FolderHierarchy, Windows1250NamesAreDecoded) {
    const FolderHierarchy h = HierarchyOf("C:\\\t0\r\n\x8A"
                                          "aty\\\t0\t2004.1.1\t1:2.4\r\n");
    ASSERT_EQ(h.Count(), 1u);
    EXPECT_EQ(h.Path(0), "Šaty\\");
    EXPECT_EQ(h.Caption(0), "Šaty");
    EXPECT_EQ(h.TimeText(0), "1:2:4");
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

// Linux only: a list that tells no size before it is read (a FIFO here; a list replaced while it
// is read does the same) still gives every folder under its parent.
TEST(FolderHierarchy, AListWhoseSizeIsUnknownBeforehandReadsWhole) {
#ifdef _WIN32
    VYP_LINUX_ONLY("a FIFO in the file system");
#else
    test::TempDir dir;
    const std::string fifo = dir / "Filmy – DVD 1.sez";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string list = "D:\\\t0\r\n";
    for (int i = 0; i < 3000; ++i) {
        const std::string folder = "Režisér " + std::to_string(i) + "\\";
        list += folder + "\t1\t2004.1.2\t3:4.6\r\n" + folder + "Část " + std::to_string(i) +
                "\\\t1\t2004.1.2\t3:4.6\r\n";
    }
    std::thread writer([&] { test::WriteFile(fifo, list); });
    const FolderHierarchy h = FolderHierarchy::Read(fifo);
    writer.join();
    ASSERT_EQ(h.Count(), 6000u);
    EXPECT_EQ(h.Parent(5999), 5998);
    EXPECT_EQ(h.Caption(5999), "Část 2999");
#endif
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

// A damaged line of a few hundred thousand "\" has as many would-be ancestors; looking them up
// must not cost the square of its length (this took most of a minute before).
TEST(FolderHierarchy, ADamagedLineOfBackslashesFindsItsNearestAncestor) {
    test::TempDir dir;
    const std::string list = dir / "Poškozený.sez";
    const std::string slashes(300000, '\\');
    test::WriteFile(list, "E:\\\t0\r\n\\\\\t0\t1\t1\r\n" + slashes +
                              "\t0\t1\t1\r\nÜber\\Ä\\\t0\t1\t1\r\n");
    const FolderHierarchy h = FolderHierarchy::Read(list);
    ASSERT_EQ(h.Count(), 3u);
    EXPECT_EQ(h.Parent(1), 0); // its nearest existing ancestor is the line "\\"
    EXPECT_EQ(h.Parent(2), FolderHierarchy::kListNode);
    EXPECT_EQ(h.Caption(2), "Ä");
}

} // namespace
} // namespace vyp
