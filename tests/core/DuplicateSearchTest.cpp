#include "TestSupport.h"

#include "lists/ListRegistry.h"
#include "search/DuplicateSearch.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace vyp {
namespace {

class DuplicateFixture : public test::RegisteredLists {
protected:
    void AddPath(const std::string& fileName, const std::string& path, int group = 8) {
        test::RegisterList(m_registry, fileName, path, group);
    }
    DuplicateResult Find(DuplicateQuery query = {}) { return FindDuplicates(m_registry, query); }

    // Each set as "N× size: list:path, list:path, ...", in the result's order.
    static std::vector<std::string> Sets(const DuplicateResult& result) {
        std::vector<std::string> sets;
        for (const DuplicateSet& set : result.sets) {
            std::string text = std::to_string(set.copies) + "× " + std::to_string(set.size) + ":";
            for (size_t c = set.firstCopy; c < set.firstCopy + set.copies; ++c) {
                const SearchRow copy = result.copies[c];
                text += " " + std::to_string(copy.ListIndex()) + ":" + std::string(copy.Path());
            }
            sets.push_back(text);
        }
        return sets;
    }
};

std::string Line(const std::string& name, const std::string& size,
                 const std::string& stamp = "\t2004.1.15\t9:30.0") {
    return name + "\t" + size + stamp + "\r\n";
}

TEST_F(DuplicateFixture, NamesAreOneWhateverTheCaseOfEveryLetterButAccentsCount) {
    AddList("Disk 1.sez", "E:\\\t3000\r\n" + Line("Čísla.TXT", "1000") +
                              "Účty\\\t2000\t2004.1.1\t1:2.4\r\n" + Line("cisla.txt", "1000") +
                              Line("Straße.doc", "77"));
    AddList("Záloha.sez", "/media/cdrom/\t1000\r\nZáloha\\Účty\\\t1000\t2004.1.1\t1:2.4\r\n" +
                              Line("čísla.txt", "1000", "\t2005.2.3\t10:11.12") +
                              Line("STRASSE.DOC", "77"));
    const DuplicateResult result = Find();
    EXPECT_EQ(Sets(result),
              (std::vector<std::string>{"2× 1000: 0:E:\\Čísla.TXT 1:Záloha\\Účty\\čísla.txt",
                                        "2× 77: 0:Účty\\Straße.doc 1:Záloha\\Účty\\STRASSE.DOC"}));
    EXPECT_EQ(result.NameOf(result.sets[0]), "Čísla.TXT");
    EXPECT_EQ(result.sets[0].wasted, 1000);
    EXPECT_EQ(result.wasted, 1077);
    const SearchRow second = result.copies[1];
    EXPECT_FALSE(second.IsFolder());
    EXPECT_EQ(second.SizeText(), "1000");
    EXPECT_EQ(second.DateText(), "2005.2.3");
    EXPECT_EQ(second.TimeText(), "10:11:12");
    EXPECT_EQ(second.Extension(), "txt");
    EXPECT_TRUE(result.errors.empty());
}

TEST_F(DuplicateFixture, CopiesInTwoFoldersOfOneListAndEveryLanguageCount) {
    AddList("Fotky.sez", "D:\\\t0\r\nФото\\\t0\t2004.1.1\t1:2.4\r\n" + Line("ФОТОГРАФИИ.JPG", "5") +
                             Line("東京 写真.png", "6") + Line("Crème Brûlée.Doc", "7") +
                             "Фото\\Kopie\\\t0\t2004.1.1\t1:2.4\r\n" + Line("фотографии.jpg", "5") +
                             Line("東京 写真.PNG", "6") + Line("CRÈME BRÛLÉE.DOC", "7") +
                             Line("Creme Brulee.doc", "7"));
    EXPECT_EQ(Sets(Find()), (std::vector<std::string>{
                                "2× 7: 0:Фото\\Crème Brûlée.Doc 0:Фото\\Kopie\\CRÈME BRÛLÉE.DOC",
                                "2× 6: 0:Фото\\東京 写真.png 0:Фото\\Kopie\\東京 写真.PNG",
                                "2× 5: 0:Фото\\ФОТОГРАФИИ.JPG 0:Фото\\Kopie\\фотографии.jpg"}));
}

// Names of ASCII and of letters that fold in place are keyed a word at a time; "ß", "ſ", Greek
// with accents and long names are folded first: a copy of either kind must meet the other.
TEST_F(DuplicateFixture, NamesFoldedEitherWayMeetInOneSet) {
    const std::string longName =
        "Přehled účtů za rok 2024 — čtvrtletí první, verze finální (opravená).xlsx";
    const std::string longUpper =
        "PŘEHLED ÚČTŮ ZA ROK 2024 — ČTVRTLETÍ PRVNÍ, VERZE FINÁLNÍ (OPRAVENÁ).XLSX";
    AddList("Práce.sez", "C:\\\t0\r\n" + Line("Straße.doc", "77") + Line("ſpiel.txt", "5") +
                             Line("ΣΊΣΥΦΟΣ.txt", "9") + Line(longName, "11") +
                             Line("aaaaaaaČ.txt", "12") + Line("Ǆungla.txt", "3"));
    AddList("Záloha.sez",
            "D:\\\t0\r\nStaré\\\t0\t2004.1.1\t1:2.4\r\n" + Line("aaaaaaaC.txt", "12") +
                Line("AAAAAAAč.TXT", "12") + Line(longUpper, "11") + Line("σίσυφος.TXT", "9") +
                Line("SPIEL.TXT", "5") + Line("STRASSE.DOC", "77") + Line("ǆUNGLA.TXT", "3"));
    EXPECT_EQ(Sets(Find()),
              (std::vector<std::string>{"2× 77: 0:C:\\Straße.doc 1:Staré\\STRASSE.DOC",
                                        "2× 12: 0:C:\\aaaaaaaČ.txt 1:Staré\\AAAAAAAč.TXT",
                                        "2× 11: 0:C:\\" + longName + " 1:Staré\\" + longUpper,
                                        "2× 9: 0:C:\\ΣΊΣΥΦΟΣ.txt 1:Staré\\σίσυφος.TXT",
                                        "2× 5: 0:C:\\ſpiel.txt 1:Staré\\SPIEL.TXT",
                                        "2× 3: 0:C:\\Ǆungla.txt 1:Staré\\ǆUNGLA.TXT"}));
}

TEST_F(DuplicateFixture, SizesAreExactAndAtLeastTheMinimum) {
    AddList("a.sez", "E:\\\t0\r\n" + Line("prázdný.txt", "0") + Line("Velký.iso", "4700000000") +
                         Line("malý.txt", "10") + Line("jiný.txt", "11"));
    AddList("b.sez", "E:\\\t0\r\n" + Line("PRÁZDNÝ.TXT", "0") + Line("VELKÝ.ISO", "4700000000") +
                         Line("MALÝ.TXT", "10") + Line("jiný.txt", "12"));
    EXPECT_EQ(Sets(Find()),
              (std::vector<std::string>{"2× 4700000000: 0:E:\\Velký.iso 1:E:\\VELKÝ.ISO",
                                        "2× 10: 0:E:\\malý.txt 1:E:\\MALÝ.TXT"}));
    DuplicateQuery everything;
    everything.minSize = 0; // empty files too
    EXPECT_EQ(Find(everything).sets.size(), 3u);
    DuplicateQuery large;
    large.minSize = 4700000000;
    EXPECT_EQ(Sets(Find(large)),
              std::vector<std::string>{"2× 4700000000: 0:E:\\Velký.iso 1:E:\\VELKÝ.ISO"});
}

TEST_F(DuplicateFixture, FolderLinesAndHeadersAreNeverCopies) {
    AddList("a.sez", "E:\\\t100\r\nData\\\t100\t2004.1.1\t1:2.4\r\n");
    AddList("b.sez", "E:\\\t100\r\nData\\\t100\t2004.1.1\t1:2.4\r\nE:\\\t100\r\n");
    EXPECT_TRUE(Find().sets.empty());
}

TEST_F(DuplicateFixture, SetsByWastedBytesThenByNameAndCopiesByListThenLine) {
    AddList("první.sez", "E:\\\t0\r\n" + Line("b.dat", "10") + Line("a.dat", "20") +
                             Line("malé.bin", "10") + Line("malé.bin", "10"));
    AddList("druhý.sez", "E:\\\t0\r\n" + Line("A.DAT", "20") + Line("B.DAT", "10") +
                             Line("velké.bin", "100") + Line("MALÉ.BIN", "10") +
                             Line("malé.bin", "10"));
    AddList("třetí.sez", "E:\\\t0\r\n" + Line("velké.bin", "100") + Line("b.dat", "10"));
    const DuplicateResult result = Find();
    EXPECT_EQ(Sets(result),
              (std::vector<std::string>{
                  "2× 100: 1:E:\\velké.bin 2:E:\\velké.bin", // 100 wasted
                  "4× 10: 0:E:\\malé.bin 0:E:\\malé.bin 1:E:\\MALÉ.BIN 1:E:\\malé.bin", // 30
                  "2× 20: 0:E:\\a.dat 1:E:\\A.DAT",                // 20, "a" before "b"
                  "3× 10: 0:E:\\b.dat 1:E:\\B.DAT 2:E:\\b.dat"})); // 20
    EXPECT_EQ(result.wasted, 170);
    // A comparison of the caller's orders sets of equal waste; here names backwards.
    const DuplicateResult backwards = FindDuplicates(
        m_registry, {}, [](std::string_view a, std::string_view b) { return -a.compare(b); });
    EXPECT_EQ(Sets(backwards)[2], "3× 10: 0:E:\\b.dat 1:E:\\B.DAT 2:E:\\b.dat");
}

TEST_F(DuplicateFixture, Windows1250ListsAreComparedByDecodedNames) {
    // "ÚČET.DOC" and "Žluťoučký.txt" in Windows-1250.
    AddList("Starý.sez", "C:\\\t0\r\n\xDA\xC8"
                         "ET.DOC\t300\t2001.1.1\t1:2.4\r\n"
                         "\x8Elu\x9Dou\xE8k\xFD.txt\t5\t2001.1.1\t1:2.4\r\n");
    AddList("Nový.sez", "E:\\\t0\r\n" + Line("účet.doc", "300") + Line("ŽLUŤOUČKÝ.TXT", "5"));
    EXPECT_EQ(Sets(Find()),
              (std::vector<std::string>{"2× 300: 0:C:\\ÚČET.DOC 1:E:\\účet.doc",
                                        "2× 5: 0:C:\\Žluťoučký.txt 1:E:\\ŽLUŤOUČKÝ.TXT"}));
}

// A Windows-1250 list whose first lines happen to be valid UTF-8 and whose first Windows-1250
// byte lies several read regions down: its early names are Windows-1250 too.
TEST_F(DuplicateFixture, WindowsListWhoseFirstAccentComesLateIsReadWhole) {
    std::string late = "C:\\\t0\r\n\xC4\x8D.txt\t5\t2001.1.1\t1:2.4\r\n"; // "ÄŤ.txt", not "č.txt"
    for (int i = 0; i < 20000; ++i) // plain ASCII, far beyond one read region
        late += Line("vypln " + std::to_string(i) + ".txt", std::to_string(1000 + i));
    late += "\xE8.txt\t7\t2001.1.1\t1:2.4\r\n"; // "č.txt" in Windows-1250
    AddList("Pozdě.sez", late);
    AddList("Nový.sez",
            "E:\\\t0\r\n" + Line("č.txt", "5") + Line("Č.TXT", "7") + Line("äť.txt", "5"));
    // The lines keyed as UTF-8 before the Windows-1250 byte are forgotten, not kept beside
    // their second keys: no line is its own copy, and each is counted once.
    std::atomic<uint64_t> lines{0};
    const DuplicateResult result = FindDuplicates(m_registry, {}, {}, &lines);
    EXPECT_EQ(Sets(result), (std::vector<std::string>{"2× 7: 0:C:\\č.txt 1:E:\\Č.TXT",
                                                      "2× 5: 0:C:\\ÄŤ.txt 1:E:\\äť.txt"}));
    EXPECT_EQ(lines.load(), 20005u);
}

TEST_F(DuplicateFixture, DamagedLinesJoinNoSetAndNeverStopTheSearch) {
    AddList("Poškozený.sez", "E:\\\t0\r\n"
                             "bez velikosti.txt\r\n"
                             "bez velikosti.txt\r\n"
                             "nečíselná.txt\tabc\t2004.1.1\t1:2.4\r\n"
                             "nečíselná.txt\tabc\t2004.1.1\t1:2.4\r\n"
                             "napůl.txt\t12x\r\n"
                             "napůl.txt\t12x\r\n"
                             "prázdná velikost.txt\t\t2004.1.1\t1:2.4\r\n"
                             "prázdná velikost.txt\t\t2004.1.1\t1:2.4\r\n"
                             "\t100\t2004.1.1\t1:2.4\r\n"
                             "\t100\t2004.1.1\t1:2.4\r\n"
                             "obrovská.txt\t99999999999999999999\r\n"
                             "obrovská.txt\t99999999999999999999\r\n"
                             "\r\n\n\r"
                             "jen velikost.txt\t42\r\n"
                             "Jen Velikost.TXT\t42\t2004.1.1\t1:2.4\tnavíc\r"
                             "jen velikost.txt\t42\t2004.1.1\t1:2.4\n"
                             "konec bez konce řádku.txt\t8");
    AddList("Jiný.sez", "E:\\\t0\r\n" + Line("KONEC BEZ KONCE ŘÁDKU.TXT", "8"));
    const DuplicateResult result = Find();
    EXPECT_EQ(Sets(result),
              (std::vector<std::string>{
                  "3× 42: 0:E:\\jen velikost.txt 0:E:\\Jen Velikost.TXT 0:E:\\jen velikost.txt",
                  "2× 8: 0:E:\\konec bez konce řádku.txt 1:E:\\KONEC BEZ KONCE ŘÁDKU.TXT"}));
    EXPECT_EQ(result.copies[0].DateText(), "");
    EXPECT_EQ(result.copies[0].TimeText(), "");
    EXPECT_EQ(result.copies[2].TimeText(), "1:2:4");
    EXPECT_TRUE(result.errors.empty());
}

TEST_F(DuplicateFixture, UnreadableListsAreSkippedAndNamedOnce) {
    AddList("a.sez", "E:\\\t0\r\n" + Line("kopie.txt", "9"));
    AddPath("chybí.sez", m_dir / "chybí.sez");
    std::filesystem::create_directory(test::FsPath(m_dir / "složka.sez"));
    AddPath("složka.sez", m_dir / "složka.sez");
    AddList("b.sez", "E:\\\t0\r\n" + Line("KOPIE.TXT", "9"));
    const DuplicateResult result = Find();
    EXPECT_EQ(Sets(result), std::vector<std::string>{"2× 9: 0:E:\\kopie.txt 3:E:\\KOPIE.TXT"});
    ASSERT_EQ(result.errors.size(), 2u);
    EXPECT_NE(result.errors[0].find("Cannot open file \"" + m_dir / "chybí.sez" + "\""),
              std::string::npos);
    EXPECT_NE(result.errors[1].find("složka.sez"), std::string::npos);
}

TEST_F(DuplicateFixture, OnlyTheTickedGroupsAreSearched) {
    AddList("hry.sez", "E:\\\t0\r\n" + Line("setup.exe", "1000"), 2);
    AddList("filmy.sez", "E:\\\t0\r\n" + Line("SETUP.EXE", "1000"), 3);
    AddList("ostatní.sez", "E:\\\t0\r\n" + Line("Setup.exe", "1000"), 42); // counts as 8
    DuplicateQuery query;
    query.groups = {true, false, false, false, false, false, true};
    EXPECT_EQ(Sets(Find(query)),
              std::vector<std::string>{"2× 1000: 0:E:\\setup.exe 2:E:\\Setup.exe"});
    query.groups = {false, true, false, false, false, false, false};
    EXPECT_TRUE(Find(query).sets.empty());
}

// Lists of thousands of lines go through the buckets the way large catalogues do.
TEST_F(DuplicateFixture, LargeListsFindEveryPairAndCountTheLinesRead) {
    std::string a = "E:\\\t0\r\nSložka\\\t0\t2004.1.1\t1:2.4\r\n";
    std::string b = "F:\\\t0\r\n";
    for (int i = 0; i < 6000; ++i) {
        a += Line("Soubor číslo " + std::to_string(i) + ".TXT", std::to_string(100 + i));
        b += Line(i % 100 == 0 ? "soubor ČÍSLO " + std::to_string(i) + ".txt"
                               : "jiný " + std::to_string(i) + ".txt",
                  std::to_string(100 + i));
    }
    AddList("a.sez", a);
    AddList("b.sez", b);
    std::atomic<uint64_t> lines{0};
    const DuplicateResult result = FindDuplicates(m_registry, {}, {}, &lines);
    ASSERT_EQ(result.sets.size(), 60u);
    EXPECT_EQ(Sets(result)[0],
              "2× 6000: 0:Složka\\Soubor číslo 5900.TXT 1:F:\\soubor ČÍSLO 5900.txt");
    EXPECT_EQ(result.sets[59].size, 100);
    // Every line after the headers, read once for the keys.
    EXPECT_EQ(lines.load(), 12001u);
}

// Lists of several megabytes are gone through in pieces: no line may be cut or lost between
// them, whichever line end the list uses.
TEST_F(DuplicateFixture, ListsOfManyMegabytesFindEveryCopyWhateverTheirLineEnds) {
    constexpr int kLines = 120000; // some 5 MB a list
    const std::string stamp = "\t2011.3.14\t15:9.26";
    std::string a = "E:\\\t0\r\nDokumenty\\\t0\t2011.3.14\t15:9.26\r\n";
    std::string b = "F:\\\t0\r";
    std::string c = "G:\\\t0\n";
    for (int i = 0; i < kLines; ++i) {
        const std::string size = std::to_string(100000 + i);
        a += "Übersicht Kapitel " + std::to_string(i) + " – Résumé.PDF\t" + size + stamp + "\r\n";
        b += (i % 7 == 0 ? "übersicht KAPITEL " + std::to_string(i) + " – RÉSUMÉ.pdf"
                         : "Москва " + std::to_string(i) + ".jpg") +
             "\t" + size + stamp + "\r";
        c += (i % 11 == 0 ? "ÜBERSICHT kapitel " + std::to_string(i) + " – résumé.Pdf"
                          : "東京の写真 " + std::to_string(i) + ".png") +
             "\t" + size + stamp + "\n";
    }
    AddList("a.sez", a);
    AddList("b.sez", b);
    AddList("c.sez", c);
    std::atomic<uint64_t> lines{0};
    const DuplicateResult result = FindDuplicates(m_registry, {}, {}, &lines);
    size_t pairs = 0, threes = 0;
    for (int i = 0; i < kLines; ++i) {
        pairs += (i % 7 == 0) != (i % 11 == 0) ? 1 : 0;
        threes += i % 77 == 0 ? 1 : 0;
    }
    size_t foundThrees = 0;
    for (const DuplicateSet& set : result.sets)
        foundThrees += set.copies == 3 ? 1 : 0;
    EXPECT_EQ(result.sets.size(), pairs + threes);
    EXPECT_EQ(foundThrees, threes);
    EXPECT_EQ(Sets(result).back(), "2× 100007: 0:Dokumenty\\Übersicht Kapitel 7 – Résumé.PDF "
                                   "1:F:\\übersicht KAPITEL 7 – RÉSUMÉ.pdf");
    EXPECT_EQ(lines.load(), 3u * kLines + 1);
}

TEST_F(DuplicateFixture, StoppedSearchFindsNothing) {
    AddList("a.sez", "E:\\\t0\r\n" + Line("kopie.txt", "9") + Line("kopie.txt", "9"));
    const std::atomic<bool> stop{true};
    const DuplicateResult result = FindDuplicates(m_registry, {}, {}, nullptr, &stop);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.sets.empty());
}

// A list replaced again and again while the duplicates are looked for (as a rescan in another
// window replaces it): every search ends, and either finds the list's copies as they were when
// read, or names the list as changed, never anything in between.
TEST_F(DuplicateFixture, ListsReplacedWhileTheyAreReadGiveWholeAnswers) {
    std::string stable = "E:\\\t0\r\n";
    std::string changing = "E:\\\t0\r\n";
    for (int i = 0; i < 3000; ++i) {
        stable += Line("Píseň " + std::to_string(i) + ".mp3", std::to_string(5000 + i));
        changing += Line("PÍSEŇ " + std::to_string(i) + ".MP3", std::to_string(5000 + i));
    }
    AddList("stálý.sez", stable);
    AddList("měněný.sez", changing);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int round = 0; !done; ++round) {
            try {
                SafeFileWriter replace(m_registry.ListPaths[1]);
                replace.Write(round % 2 == 0 ? changing : "E:\\\t0\r\n" + Line("jiný.txt", "1"));
                replace.Commit();
            } catch (const VypisnikError&) {
                // A system that cannot replace a file being read: the reader wins.
            }
        }
    });
    for (int run = 0; run < 30; ++run) {
        const DuplicateResult result = Find();
        if (!result.errors.empty()) {
            EXPECT_EQ(result.errors, std::vector<std::string>{ListChangedWhileReadText("měněný")});
            EXPECT_TRUE(result.sets.empty());
        } else {
            EXPECT_TRUE(result.sets.empty() || result.sets.size() == 3000u) << result.sets.size();
        }
    }
    done = true;
    writer.join();
}

} // namespace
} // namespace vyp
