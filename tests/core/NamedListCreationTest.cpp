#include "TestSupport.h"

#include "scan/NamedListCreation.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;

// A data folder with an old list "Fotky léto 2019" in group 4, and a camera card to scan.
class NamedListCreation : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir / "Seznamy");
        test::WriteFile(OldList(), m_oldList);
        test::WriteFile(m_dir / "settings.ini", m_oldSettings);
        const LocalDateTime when = At(2019, 8, 3, 14, 2, 10);
        m_walker.AddFolder(test::Native("/media/karta/"),
                           {FolderEntry("DCIM", when), FileEntry("Čtěte mě.txt", 12, when)});
        m_walker.AddFolder(
            test::Native("/media/karta/DCIM/"),
            {FileEntry("IMG_0001.JPG", 3000, when), FileEntry("Straße am Meer.jpeg", 4000, when)});
    }
    std::string OldList() { return m_dir / "Seznamy/Fotky léto 2019.sez"; }
    NamedList Card(std::string name, int group = 5) {
        return NamedList{test::Native("/media/karta/"), std::move(name), group, ScanOptions{}};
    }
    std::vector<std::string> Leftovers() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir / "Seznamy"))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempDir m_dir;
    DataFolder m_data{m_dir.Path()};
    test::FakeDirectoryWalker m_walker;
    ScanLines m_lines;
    const std::string m_oldList = "/media/old/\t7\r\nx.jpg\t7\t2010.1.1\t10:0.0\r\n";
    const std::string m_oldSettings = "[fLV]\r\nTop=10\r\n[Seznamy]\r\nFotky léto 2019.sez=4\r\n";
};

TEST_F(NamedListCreation, MakesTheListFolderWritesTheListAndAddsItsGroupKeepingTheRest) {
    std::filesystem::remove_all(m_dir / "Seznamy");
    EXPECT_EQ(CreateNamedList(m_data, m_walker, Card("Karta Čeština"), m_lines), 0u);
    EXPECT_EQ(test::ReadFile(m_dir / "Seznamy/Karta Čeština.sez"),
              test::Native("/media/karta/") + "\t7012\r\n"
                                              "Čtěte mě.txt\t12\t2019.8.3\t14:2.10\r\n"
                                              "DCIM\\\t7000\t2019.8.3\t14:2.10\r\n"
                                              "IMG_0001.JPG\t3000\t2019.8.3\t14:2.10\r\n"
                                              "Straße am Meer.jpeg\t4000\t2019.8.3\t14:2.10\r\n");
    EXPECT_EQ(test::ReadFile(m_dir / "settings.ini"), m_oldSettings + "Karta Čeština.sez=5\r\n");
    // A name that would leave "Seznamy" is refused before anything is read.
    EXPECT_THROW(CreateNamedList(m_data, m_walker, Card("../settings"), m_lines), VypisnikError);
    EXPECT_EQ(m_walker.Listed().size(), 2u);
}

TEST_F(NamedListCreation, ProgressCountsFoldersAndFilesAndCanStopTheScan) {
    std::vector<std::pair<uint64_t, uint64_t>> seen;
    CreateNamedList(m_data, m_walker, Card("Karta"), m_lines, [&](const ScanCount& count) {
        seen.emplace_back(count.folders, count.files);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, uint64_t>>{{1, 1}, {2, 3}}));

    EXPECT_THROW(CreateNamedList(m_data, m_walker, Card("Fotky léto 2019", 2), m_lines,
                                 [](const ScanCount& count) { return count.folders < 2; }),
                 ListCreationStopped);
    EXPECT_EQ(test::ReadFile(OldList()), m_oldList);
    EXPECT_EQ(test::ReadFile(m_dir / "settings.ini"),
              m_oldSettings + "Karta.sez=5\r\n"); // only the finished list's group
    EXPECT_EQ(Leftovers().size(), 2u);
}

TEST_F(NamedListCreation, ListMadeElsewhereDuringTheScanIsKeptUnlessItMayBeReplaced) {
    const std::string other = "D:\\\t1\r\n";
    NamedList card = Card("Karta Čeština", 6);
    card.replaceExisting = false;
    const auto otherInstanceWrites = [&](const ScanCount&) {
        test::WriteFile(m_dir / "Seznamy/Karta Čeština.sez", other);
        return true;
    };
    try {
        CreateNamedList(m_data, m_walker, card, m_lines, otherInstanceWrites);
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()), kListExistsText);
    }
    EXPECT_EQ(test::ReadFile(m_dir / "Seznamy/Karta Čeština.sez"), other);
    EXPECT_EQ(test::ReadFile(m_dir / "settings.ini"), m_oldSettings);
    EXPECT_EQ(Leftovers().size(), 2u);

    card.replaceExisting = true; // an overwrite
    CreateNamedList(m_data, m_walker, card, m_lines, otherInstanceWrites);
    EXPECT_NE(test::ReadFile(m_dir / "Seznamy/Karta Čeština.sez"), other);
    EXPECT_EQ(test::ReadFile(m_dir / "settings.ini"), m_oldSettings + "Karta Čeština.sez=6\r\n");
}

TEST_F(NamedListCreation, ListRefusedAfterItsGroupWasRecordedPutsTheGroupBack) {
    VYP_LINUX_ONLY("a file size limit of the process makes the disk refuse the list");
#ifndef _WIN32
    std::vector<DirectoryEntry> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(FileEntry("Снимок " + std::to_string(i) + ".raw.JPG", 1000 + i));
    m_walker.AddFolder(test::Native("/media/karta/DCIM/"), many);

    // The disk takes the small "settings.ini" but refuses the list part-way, even for root.
    std::optional<test::FileSizeLimit> limit(4096);
    std::vector<std::string> messages;
    for (const std::string name : {"Fotky léto 2019", "Nová karta"}) {
        try {
            CreateNamedList(m_data, m_walker, Card(name, 2), m_lines);
        } catch (const VypisnikError& error) {
            messages.push_back(error.what());
        }
    }
    limit.reset();

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].starts_with("Cannot write file \"" + OldList() + "\". "))
        << messages[0];
    EXPECT_EQ(test::ReadFile(OldList()), m_oldList);
    EXPECT_EQ(test::ReadFile(m_dir / "settings.ini"), m_oldSettings);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"Fotky léto 2019.sez"});
#endif
}

} // namespace
} // namespace vyp
