#include "TestSupport.h"

#include "scan/ListDifferences.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vyp {
namespace {

class DifferencesFixture : public ::testing::Test {
protected:
    std::string List(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir / name;
        test::WriteFile(path, bytes);
        return path;
    }
    // Each difference as "kind|path|size date time|size date time".
    static std::vector<std::string> Rows(const ListDifferences& differences) {
        std::vector<std::string> rows;
        for (size_t i = 0; i < differences.Count(); ++i) {
            std::string row = std::string(DifferenceKindText(differences.Kind(i))) + "|" +
                              std::string(differences.Path(i));
            for (auto side : {ListDifferences::First, ListDifferences::Second}) {
                row += "|" + std::string(differences.SizeText(i, side)) + " " +
                       std::string(differences.DateText(i, side)) + " " +
                       std::string(differences.TimeText(i, side));
            }
            rows.push_back(row);
        }
        return rows;
    }

    test::TempDir m_dir;
};

const char* kOriginal = "E:\\\t1052621\r\n"
                        "autorun.inf\t45\t2003.11.2\t14:3.20\r\n"
                        "Čísla.txt\t7\t2003.11.2\t14:3.20\r\n"
                        "Hry\\\t1050576\t2004.1.15\t9:30.0\r\n"
                        "setup.exe\t1048576\t2004.1.15\t9:29.58\r\n"
                        "Hry\\Staré\\\t2000\t2003.5.1\t0:0.0\r\n"
                        "old.zip\t2000\t2003.5.1\t0:0.0\r\n"
                        "Hudba\\\t0\t2004.2.29\t18:45.10\r\n"
                        "Фото\\\t2000\t2004.2.29\t18:45.10\r\n"
                        "東京.jpg\t2000\t2004.2.29\t18:45.10\r\n";

// The backup: made elsewhere (times with "." as separator, another root), setup.exe grown,
// old.zip touched, Hudba gone, Straße added, folder sizes and dates differing.
const char* kBackup = "F:\\Záloha\\\t9\r\n"
                      "AUTORUN.INF\t45\t2003.11.2\t14.3.20\r\n"
                      "autorun.inf\t45\t2003.11.2\t14.3.20\r\n"
                      "Čísla.txt\t7\t2003.11.2\t14.3.20\r\n"
                      "Hry\\\t1\t2009.1.1\t1.1.1\r\n"
                      "setup.exe\t1048577\t2004.1.15\t9.29.58\r\n"
                      "Hry\\Staré\\\t2000\t2003.5.1\t0.0.0\r\n"
                      "old.zip\t2000\t2003.5.1\t0.0.2\r\n"
                      "Straße.doc\t10\t2005.6.7\t8.9.10\r\n"
                      "Фото\\\t2000\t2004.2.29\t18.45.10\r\n"
                      "東京.jpg\t2000\t2004.2.29\t18.45.10\r\n";

TEST_F(DifferencesFixture, EntriesByRelativePathInTheListsPreOrderFirstListFirst) {
    const ListDifferences differences =
        ListDifferences::Compare(List("Originál.sez", kOriginal), List("Záloha.sez", kBackup));
    EXPECT_EQ(Rows(differences),
              (std::vector<std::string>{
                  "Změněno|Hry\\setup.exe|1048576 2004.1.15 9:29:58|1048577 2004.1.15 9:29:58",
                  "Změněno|Hry\\Staré\\old.zip|2000 2003.5.1 0:0:0|2000 2003.5.1 0:0:2",
                  "Jen v prvním|Hudba\\|0 2004.2.29 18:45:10|  ",
                  "Jen ve druhém|AUTORUN.INF|  |45 2003.11.2 14:3:20",
                  "Jen ve druhém|Hry\\Staré\\Straße.doc|  |10 2005.6.7 8:9:10"}));
    EXPECT_EQ(differences.Folder(0), "Hry\\");
    EXPECT_EQ(differences.Folder(2), "Hudba\\");
    EXPECT_EQ(differences.Folder(3), "");
    EXPECT_TRUE(differences.IsFolder(2));
    EXPECT_FALSE(differences.IsFolder(0));
    const ComparisonSummary& summary = differences.Summary();
    EXPECT_FALSE(summary.Same());
    EXPECT_EQ(
        ComparisonSummaryLines(summary, RegionalSettings::Czech()),
        (std::vector<std::string>{
            "Složky: přidáno 0, odebráno 1, změněno 0", "Soubory: přidáno 2, odebráno 0, změněno 2",
            "První seznam: počet složek: 4, počet souborů: 5, velikost: 1,00 MB",
            "Druhý seznam: počet složek: 3, počet souborů: 7, velikost: 0,00 MB"}));
}

TEST_F(DifferencesFixture, AFolderOnlyInOneListTakesItsFilesAlong) {
    const ListDifferences differences = ListDifferences::Compare(
        List("a.sez",
             "E:\\\t0\r\nNová složka\\\t3\t2004.1.1\t1:2.4\r\nfotka.JPG\t3\t2004.1.1\t1:2.4\r\n"
             "Nová složka\\Vnořená\\\t0\t2004.1.1\t1:2.4\r\n"),
        List("b.sez", "E:\\\t0\r\nfotka.JPG\t3\t2004.1.1\t1:2.4\r\n"));
    EXPECT_EQ(Rows(differences),
              (std::vector<std::string>{"Jen v prvním|Nová složka\\|3 2004.1.1 1:2:4|  ",
                                        "Jen v prvním|Nová složka\\fotka.JPG|3 2004.1.1 1:2:4|  ",
                                        "Jen v prvním|Nová složka\\Vnořená\\|0 2004.1.1 1:2:4|  ",
                                        "Jen ve druhém|fotka.JPG|  |3 2004.1.1 1:2:4"}));
}

TEST_F(DifferencesFixture, ListsInDifferentEncodingsAreComparedByDecodedNames) {
    // "Účty\" and "Žluťoučký.txt" in Windows-1250.
    const std::string old = List("Starý.sez", "C:\\\t5\r\n\xDA\xE8ty\\\t5\t2001.1.1\t1:2.4\r\n"
                                              "\x8Elu\x9Dou\xE8k\xFD.txt\t5\t2001.1.1\t1:2.4\r\n");
    const std::string fresh = List(
        "Nový.sez", "/media/disk/\t5\r\nÚčty\\\t5\t2001.1.1\t1:2.4\r\n"
                    "Žluťoučký.txt\t5\t2001.1.1\t1:2.4\r\nžluťoučký.txt\t5\t2001.1.1\t1:2.4\r\n");
    EXPECT_EQ(Rows(ListDifferences::Compare(old, fresh)),
              std::vector<std::string>{"Jen ve druhém|Účty\\žluťoučký.txt|  |5 2001.1.1 1:2:4"});
}

TEST_F(DifferencesFixture, AListComparedWithItselfHasNoDifferencesEvenWhenDamaged) {
    const std::string damaged =
        List("Poškozený.sez", std::string(kOriginal) + "bez polí\r\n\r\n\n"
                                                       "dvakrát.txt\t1\t2004.1.1\t1:2.4\r\n"
                                                       "dvakrát.txt\t1\t2004.1.1\t1:2.4\r\n"
                                                       "Фото\\\t2000\t2004.2.29\t18:45.10\r\n"
                                                       "jen velikost\t12\r"
                                                       "\t\t\t\r\n"
                                                       "poslední bez konce\t5");
    for (const std::string& path : {List("Originál.sez", kOriginal), damaged}) {
        const ListDifferences differences = ListDifferences::Compare(path, path);
        EXPECT_EQ(differences.Count(), 0u);
        EXPECT_TRUE(differences.Summary().Same());
        EXPECT_EQ(ComparisonSummaryLines(differences.Summary(), RegionalSettings::Czech())[0],
                  "Seznamy obsahují stejné položky.");
    }
    // A repeat pairs with a repeat: one copy more is on one side alone.
    const ListDifferences once = ListDifferences::Compare(
        damaged, List("Jednou.sez", std::string(kOriginal) + "bez polí\r\n"
                                                             "dvakrát.txt\t1\t2004.1.1\t1:2.4\r\n"
                                                             "Фото\\\t2000\t2004.2.29\t18:45.10\r\n"
                                                             "jen velikost\t12\r"
                                                             "\t\t\t\r\n"
                                                             "poslední bez konce\t5"));
    EXPECT_EQ(Rows(once),
              std::vector<std::string>{"Jen v prvním|Фото\\dvakrát.txt|1 2004.1.1 1:2:4|  "});
}

TEST_F(DifferencesFixture, ProgressCountsTheFirstListAndAStopEndsEarly) {
    // Three folders of 100,000 photos each.
    std::string bytes = "E:\\\t0\r\n";
    for (const char* folder : {"Léto\\", "Zima\\", "Фото\\"}) {
        bytes += std::string(folder) + "\t0\t2020.1.1\t1:0.0\r\n";
        for (int i = 0; i < 100000; ++i)
            bytes += "Snímek " + std::to_string(i) + ".JPG\t" + std::to_string(1000 + i) +
                     "\t2020.1.1\t1:0.0\r\n";
    }
    const std::string first = List("Fotky.sez", bytes);
    const std::string second = List("Prázdný.sez", "F:\\\t0\r\n");
    std::vector<uint64_t> files;
    const ListDifferences all =
        ListDifferences::Compare(first, second, [&](uint64_t folders, uint64_t counted) {
            EXPECT_LE(folders, 3u);
            files.push_back(counted);
            return true;
        });
    EXPECT_EQ(all.Count(), 300003u);
    ASSERT_GE(files.size(), 3u);
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_LE(files.back(), 300000u);

    int reports = 0;
    const ListDifferences stopped =
        ListDifferences::Compare(first, second, [&](uint64_t, uint64_t) { return ++reports < 2; });
    EXPECT_EQ(reports, 2);
    EXPECT_LT(stopped.Count(), all.Count());
}

TEST_F(DifferencesFixture, AListThatCannotBeReadIsAnError) {
    const std::string list = List("a.sez", kOriginal);
    try {
        ListDifferences::Compare(list, m_dir / "chybí.sez");
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot open file \"" + m_dir / "chybí.sez"),
                  std::string::npos);
    }
    EXPECT_THROW(ListDifferences::Compare(m_dir / "chybí.sez", list), VypisnikError);
}

} // namespace
} // namespace vyp
