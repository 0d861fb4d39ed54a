#include "TestSupport.h"

#include "scan/FolderScan.h"
#include "scan/ListRescan.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;

const std::string kRoot = test::Native("/media/cdrom/");

// A photo and music disc with names of several languages.
void AddDisc(test::FakeDirectoryWalker& walker) {
    walker.AddFolder(kRoot, {FileEntry("Übersicht 2024.v2.pdf", 5120, At(2024, 3, 1, 8, 0, 0)),
                             FolderEntry("Fotky z Brna", At(2023, 9, 2, 10, 0, 0)),
                             FolderEntry("Музыка", At(2022, 1, 5, 20, 15, 4)),
                             FolderEntry("写真", At(2021, 7, 7, 7, 7, 6))});
    walker.AddFolder(test::Native("/media/cdrom/Fotky z Brna/"),
                     {FileEntry("Špilberk západ.JPG", 3000000, At(2023, 9, 1, 19, 30, 0)),
                      FileEntry("Petrov ráno.jpg", 2500000, At(2023, 9, 2, 6, 45, 10)),
                      FolderEntry("Léto 2023", At(2023, 8, 1, 0, 0, 0))});
    walker.AddFolder(test::Native("/media/cdrom/Fotky z Brna/Léto 2023/"),
                     {FileEntry("Château de Lednice.tar.gz", 800000, At(2023, 7, 30, 12, 0, 0))});
    walker.AddFolder(test::Native("/media/cdrom/Музыка/"),
                     {FileEntry("Кино - Группа крови.mp3", 4400000, At(2022, 1, 5, 20, 15, 4))});
    walker.AddFolder(test::Native("/media/cdrom/写真/"),
                     {FileEntry("東京タワー.png", 1200000, At(2021, 7, 7, 7, 7, 6))});
}

std::string ScanToFile(test::FakeDirectoryWalker& walker, const std::string& file,
                       ScanOptions options = {}) {
    ScanLines lines;
    CreateList(walker, kRoot, file, options, lines);
    return test::ReadFile(file);
}

TEST(ListRescan, ChangedTreeGivesItsCountsAndTheFileOfAFreshScan) {
    test::TempDir dir;
    const std::string list = dir / "Fotky a hudba.sez";
    const std::string settings = dir / "settings.ini";
    test::WriteFile(settings, "[Seznamy]\r\nFotky a hudba.sez=4\r\n");
    test::FakeDirectoryWalker walker;
    AddDisc(walker);
    const std::string before = ScanToFile(walker, list);

    // A photo more, a changed photo, a retouched picture of the same size, the music gone, a
    // new folder.
    std::vector<DirectoryEntry>& root = walker.Folder(kRoot);
    ASSERT_EQ(root[2].name, "Музыка");
    root.erase(root.begin() + 2);
    root.push_back(FolderEntry("Nové složky", At(2024, 5, 1, 9, 0, 0)));
    walker.Folder(test::Native("/media/cdrom/Fotky z Brna/"))[1].size = 2600000;
    walker.Folder(test::Native("/media/cdrom/Fotky z Brna/Léto 2023/"))
        .push_back(FileEntry("Hôtel d'Été, pokoj 12.jpg", 90000, At(2023, 7, 31, 8, 0, 0)));
    walker.Folder(test::Native("/media/cdrom/写真/"))[0].modified = At(2024, 4, 4, 4, 4, 4);
    walker.AddFolder(test::Native("/media/cdrom/Nové složky/"),
                     {FileEntry("README.md", 12, At(2024, 5, 1, 9, 0, 0))});

    std::vector<RescanProgress> progress;
    ListRescan rescan(list);
    ASSERT_EQ(rescan.Prepare(walker, ":",
                             [&](const RescanProgress& p) {
                                 progress.push_back(p);
                                 return true;
                             }),
              ListRescan::Outcome::Ready);
    EXPECT_EQ(rescan.Root(), kRoot);
    const RescanSummary& s = rescan.Summary();
    EXPECT_EQ(s.oldEntries, 10u);
    EXPECT_EQ(s.foldersAdded, 1u);   // Nové složky
    EXPECT_EQ(s.foldersRemoved, 1u); // Музыка
    EXPECT_EQ(s.foldersChanged, 2u); // Fotky z Brna and Léto 2023 grew
    EXPECT_EQ(s.filesAdded, 2u);
    EXPECT_EQ(s.filesRemoved, 1u);
    EXPECT_EQ(s.filesChanged, 2u); // a size and a date
    EXPECT_EQ(s.folders, 4u);
    EXPECT_EQ(s.files, 7u);
    EXPECT_EQ(s.total, 5120 + 3000000 + 2600000 + 800000 + 90000 + 1200000 + 12);
    EXPECT_FALSE(s.foldersOnly);
    EXPECT_FALSE(s.MostWouldDisappear());
    ASSERT_EQ(progress.size(), 5u);
    EXPECT_EQ(progress.back().folders, 5u);
    EXPECT_EQ(progress.back().files, 7u);
    EXPECT_EQ(test::ReadFile(list), before) << "nothing is written before Commit";

    rescan.Commit();
    EXPECT_EQ(test::ReadFile(list), ScanToFile(walker, dir / "fresh.sez"));
    EXPECT_EQ(test::ReadFile(settings), "[Seznamy]\r\nFotky a hudba.sez=4\r\n");
}

TEST(ListRescan, UnchangedTreeChangesNothingWhateverTheTimeSeparator) {
    test::TempDir dir;
    const std::string list = dir / "Disk.sez";
    test::FakeDirectoryWalker walker;
    AddDisc(walker);
    ScanToFile(walker, list, ScanOptions{false, "."});

    ListRescan rescan(list);
    ASSERT_EQ(rescan.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_TRUE(rescan.Summary().NothingChanged());
    EXPECT_EQ(rescan.Summary().oldEntries, 10u);
    const auto lines = RescanSummaryLines(rescan.Summary(), RegionalSettings::Czech());
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Seznam odpovídá obsahu složky, nic se nezměnilo.",
                                        "Složky: přidáno 0, odebráno 0, změněno 0",
                                        "Soubory: přidáno 0, odebráno 0, změněno 0",
                                        "Počet složek: 4, počet souborů: 6, velikost: 11,35 MB"}));
}

TEST(ListRescan, RootThatCannotBeOpenedChangesNothing) {
    test::TempDir dir;
    const std::string list = dir / "Disk.sez";
    {
        test::FakeDirectoryWalker walker;
        AddDisc(walker);
        ScanToFile(walker, list);
    }
    const std::string before = test::ReadFile(list);
    test::FakeDirectoryWalker noDisc;
    ListRescan rescan(list);
    EXPECT_EQ(rescan.Prepare(noDisc, ":"), ListRescan::Outcome::RootUnavailable);
    EXPECT_THROW(rescan.Commit(), VypisnikError);
    EXPECT_EQ(test::ReadFile(list), before);
    EXPECT_EQ(RootUnavailableText(rescan.Root()),
              "Složku \"" + kRoot +
                  "\" nelze otevřít; vložte disk, ze kterého byl seznam vytvořen. Seznam zůstal "
                  "beze změny.");

    // A list made on Windows names a drive this system does not have; it is never taken as a
    // folder below the current one (on Windows it is the drive, here without a disc).
    test::WriteFile(list, "E:\\\t45\r\nautorun.inf\t45\t2003.11.2\t14:3.20\r\n");
    EXPECT_EQ(ListRescan(list).Prepare(noDisc, ":"), ListRescan::Outcome::RootUnavailable);
#ifdef _WIN32
    EXPECT_EQ(noDisc.Listed(), (std::vector<std::string>{kRoot, "E:\\"}));
#else
    EXPECT_EQ(noDisc.Listed(), std::vector<std::string>{kRoot});
#endif
}

TEST(ListRescan, TellsWhenMoreThanHalfWouldDisappear) {
    test::TempDir dir;
    const std::string list = dir / "Záloha.sez";
    test::FakeDirectoryWalker walker;
    walker.AddFolder(kRoot, {FileEntry("a.txt", 1), FileEntry("b.txt", 2), FileEntry("c.txt", 3),
                             FileEntry("d.txt", 4)});
    ScanToFile(walker, list);

    walker.AddFolder(kRoot, {FileEntry("a.txt", 1), FileEntry("b.txt", 2)});
    ListRescan half(list);
    ASSERT_EQ(half.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_FALSE(half.Summary().MostWouldDisappear()) << "exactly half is not more than half";

    // The mount point of a drive without its disc: an empty folder.
    walker.AddFolder(kRoot, {});
    ListRescan wrongDisc(list);
    ASSERT_EQ(wrongDisc.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_TRUE(wrongDisc.Summary().MostWouldDisappear());
    EXPECT_EQ(MostWouldDisappearText(wrongDisc.Summary()),
              "Ze seznamu by zmizelo 4 z 4 položek, víc než polovina. Je vložen správný disk?");
    wrongDisc.Commit(); // the caller asked and the user agreed
    EXPECT_EQ(test::ReadFile(list), kRoot + "\t0\r\n");
}

TEST(ListRescan, KeepsTheFoldersOnlyChoiceTheListWasMadeWith) {
    test::TempDir dir;
    const std::string list = dir / "Struktura.sez";
    test::FakeDirectoryWalker walker;
    AddDisc(walker);
    ScanToFile(walker, list, ScanOptions{true, ":"});
    walker.AddFolder(test::Native("/media/cdrom/写真/"),
                     {FileEntry("東京タワー.png", 1200000), FileEntry("大阪城.png", 700000)});

    ListRescan rescan(list);
    ASSERT_EQ(rescan.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_TRUE(rescan.Summary().foldersOnly);
    EXPECT_EQ(rescan.Summary().foldersChanged, 1u);
    EXPECT_EQ(rescan.Summary().files, 0u);
    rescan.Commit();
    EXPECT_EQ(test::ReadFile(list), ScanToFile(walker, dir / "fresh.sez", ScanOptions{true, ":"}));

    // An empty tree's list looks the same either way; files put there later are listed.
    const std::string empty = dir / "Prázdný.sez";
    test::FakeDirectoryWalker emptyDisc;
    emptyDisc.AddFolder(kRoot, {});
    ScanToFile(emptyDisc, empty, ScanOptions{true, ":"});
    emptyDisc.AddFolder(kRoot, {FileEntry("Nový dokument.odt", 0)});
    ListRescan filled(empty);
    ASSERT_EQ(filled.Prepare(emptyDisc, ":"), ListRescan::Outcome::Ready);
    EXPECT_FALSE(filled.Summary().foldersOnly);
    EXPECT_EQ(filled.Summary().filesAdded, 1u);
}

TEST(ListRescan, OldWindows1250ListIsComparedByItsNames) {
    test::TempDir dir;
    const std::string list = dir / "Starý disk.sez";
    // "Žluťoučký kůň.txt" and the folder "Účty" in Windows-1250.
    test::WriteFile(
        list, kRoot + "\t45\r\n\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2.txt\t40\t2004.1.15\t9:30.0\r\n"
                      "\xDA\xE8ty\\\t5\t2004.1.15\t9:30.0\r\nx.txt\t5\t2004.1.15\t9:30.0\r\n");
    test::FakeDirectoryWalker walker;
    walker.AddFolder(kRoot, {FileEntry("Žluťoučký kůň.txt", 40, At(2004, 1, 15, 9, 30, 0)),
                             FolderEntry("Účty", At(2004, 1, 15, 9, 30, 0))});
    walker.AddFolder(test::Native("/media/cdrom/Účty/"),
                     {FileEntry("x.txt", 5, At(2004, 1, 15, 9, 30, 0))});

    ListRescan rescan(list);
    ASSERT_EQ(rescan.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_TRUE(rescan.Summary().NothingChanged());
    rescan.Commit();
    EXPECT_EQ(test::ReadFile(list),
              kRoot + "\t45\r\nŽluťoučký kůň.txt\t40\t2004.1.15\t9:30.0\r\n"
                      "Účty\\\t5\t2004.1.15\t9:30.0\r\nx.txt\t5\t2004.1.15\t9:30.0\r\n");
}

TEST(ListRescan, StoppedScanAndListChangedMeanwhileWriteNothing) {
    test::TempDir dir;
    const std::string list = dir / "Disk.sez";
    test::FakeDirectoryWalker walker;
    AddDisc(walker);
    const std::string before = ScanToFile(walker, list);

    ListRescan stopped(list);
    EXPECT_EQ(stopped.Prepare(walker, ":", [](const RescanProgress& p) { return p.folders < 2; }),
              ListRescan::Outcome::Cancelled);
    EXPECT_THROW(stopped.Commit(), VypisnikError);
    EXPECT_EQ(test::ReadFile(list), before);

    ListRescan overtaken(list);
    ASSERT_EQ(overtaken.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    test::WriteFile(list, kRoot + "\t0\r\n"); // rescanned by someone else in between
    try {
        overtaken.Commit();
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Seznam \"Disk\" se mezitím změnil nebo byl smazán; zůstal, jak je. Obnovte "
                  "jej znovu.");
    }
    EXPECT_EQ(test::ReadFile(list), kRoot + "\t0\r\n");
}

TEST(ListRescan, UnreadableFolderIsCountedAndReported) {
    test::TempDir dir;
    const std::string list = dir / "Disk.sez";
    test::FakeDirectoryWalker walker;
    AddDisc(walker);
    ScanToFile(walker, list);
    walker.MakeUnreadable(test::Native("/media/cdrom/Музыка/"));

    ListRescan rescan(list);
    ASSERT_EQ(rescan.Prepare(walker, ":"), ListRescan::Outcome::Ready);
    EXPECT_EQ(rescan.Summary().unreadableFolders, 1u);
    EXPECT_EQ(rescan.Summary().filesRemoved, 1u);
    EXPECT_EQ(RescanSummaryLines(rescan.Summary(), RegionalSettings::Czech()).back(),
              "Nepodařilo se přečíst složek: 1 (přístup odepřen nebo příliš dlouhá cesta); jsou "
              "v seznamu s velikostí 0 a bez obsahu.");
}

} // namespace
} // namespace vyp
