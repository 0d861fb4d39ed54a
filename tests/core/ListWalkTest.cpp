// Comparing two lists where they are alike, part and meet again: every case is checked against
// a plain model of the comparison (each entry paired with the one of the same place on the other
// side), over lists of real-looking names changed in the ways backups and rescans change.
#include "TestSupport.h"

#include "scan/ListDifferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace vyp {
namespace {

using Lines = std::vector<std::string>; // a list's entry lines, without the header

const char* const kFolderNames[] = {"Fotky",  "Léto 2019",     "Straße",  "Фото",
                                    "東京",   "Zálohy",        "Čísla",   "Été",
                                    "Музыка", "Dokumenty.old", "Program", "Hry"};
const char* const kFileNames[] = {"Čísla.TXT",  "čísla.txt", "cisla.txt",    "Größe.doc",
                                  "résumé.pdf", "Отчёт.odt", "写真 01.jpg",  "setup.exe",
                                  "a.b.c.zip",  "Readme",    "Kniha 1.epub", "Ďábel.mp3"};

// A list of folders two deep with a few files each, every folder path and every file name once
// (so lines moved to another folder stay one entry each); times with ":" or "." between hours and
// minutes, as lists from either settings hold them.
Lines MakeList(unsigned seed, int folders) {
    std::mt19937 random(seed);
    Lines lines = {"autorun.inf\t45\t2003.11.2\t14:3.20", "Čísla.txt\t7\t2003.11.2\t14:3.20"};
    for (int f = 0; f < folders; ++f) {
        std::string path = std::string(kFolderNames[f % 12]) + " " + std::to_string(f) + "\\";
        if (f % 3 != 0)
            path += std::string(kFolderNames[(f * 7) % 12]) + "\\";
        lines.push_back(path + "\t0\t2004.1." + std::to_string(1 + f % 28) + "\t9:30.0");
        const int files = static_cast<int>(random() % 6);
        for (int k = 0; k < files; ++k)
            lines.push_back(std::to_string(f) + "." + std::to_string(k) + " " +
                            kFileNames[random() % 12] + "\t" + std::to_string(random() % 100000) +
                            "\t2005.6." + std::to_string(1 + k) +
                            (k % 2 == 0 ? "\t8:9.10" : "\t8.9.10"));
    }
    return lines;
}

std::string Bytes(const Lines& lines, const std::string& end = "\r\n") {
    std::string bytes = "E:\\\t1052621" + end;
    for (const std::string& line : lines)
        bytes += line + end;
    return bytes;
}

// The model: an entry is the folder path of a folder line, or the folder path and name of a
// file line; entries pair by that, and a pair differs when size, date or time (any separator)
// do.
struct ModelEntry {
    bool folder;
    std::string path, fields;
};

std::vector<ModelEntry> Entries(const Lines& lines) {
    std::vector<ModelEntry> entries;
    std::string folder;
    for (const std::string& line : lines) {
        const size_t tab = line.find('\t');
        const std::string first = line.substr(0, tab);
        const std::string fields = tab == std::string::npos ? "" : line.substr(tab + 1);
        const bool isFolder = first.find('\\') != std::string::npos;
        if (isFolder)
            folder = first;
        entries.push_back({isFolder, isFolder ? first : folder + first, fields});
    }
    return entries;
}

std::string Shown(const std::string& fields) {
    std::string shown = fields;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    const size_t time = shown.rfind(' ');
    if (time == std::string::npos)
        return shown;
    std::replace(shown.begin() + static_cast<std::ptrdiff_t>(time), shown.end(), '.', ':');
    return shown;
}

std::vector<std::string> Model(const Lines& a, const Lines& b) {
    const std::vector<ModelEntry> first = Entries(a), second = Entries(b);
    std::map<std::pair<bool, std::string>, size_t> where;
    for (size_t i = 0; i < second.size(); ++i)
        where[{second[i].folder, second[i].path}] = i;
    std::vector<bool> met(second.size());
    std::vector<std::string> rows;
    for (const ModelEntry& entry : first) {
        const auto found = where.find({entry.folder, entry.path});
        if (found == where.end()) {
            rows.push_back("Jen v prvním|" + entry.path + "|" + Shown(entry.fields) + "|  ");
            continue;
        }
        met[found->second] = true;
        const std::string& other = second[found->second].fields;
        if (!entry.folder && Shown(entry.fields) != Shown(other))
            rows.push_back("Změněno|" + entry.path + "|" + Shown(entry.fields) + "|" +
                           Shown(other));
    }
    for (size_t i = 0; i < second.size(); ++i) {
        if (!met[i])
            rows.push_back("Jen ve druhém|" + second[i].path + "|  |" + Shown(second[i].fields));
    }
    return rows;
}

class ListWalkFixture : public ::testing::Test {
protected:
    std::vector<std::string> Compared(const std::string& a, const std::string& b) {
        test::WriteFile(m_dir / "A.sez", a);
        test::WriteFile(m_dir / "B.sez", b);
        const ListDifferences differences =
            ListDifferences::Compare(m_dir / "A.sez", m_dir / "B.sez");
        std::vector<std::string> rows;
        for (size_t i = 0; i < differences.Count(); ++i) {
            std::string row = std::string(DifferenceKindText(differences.Kind(i))) + "|" +
                              std::string(differences.Path(i));
            for (auto side : {ListDifferences::First, ListDifferences::Second})
                row += "|" + std::string(differences.SizeText(i, side)) + " " +
                       std::string(differences.DateText(i, side)) + " " +
                       std::string(differences.TimeText(i, side));
            rows.push_back(row);
        }
        m_summary = differences.Summary();
        return rows;
    }
    // Both ways round, each against the model; the summary counts what the rows show.
    void ExpectAsModel(const Lines& a, const Lines& b, const std::string& why) {
        for (int way = 0; way < 2; ++way) {
            const Lines& first = way == 0 ? a : b;
            const Lines& second = way == 0 ? b : a;
            const std::vector<std::string> expected = Model(first, second);
            EXPECT_EQ(Compared(Bytes(first), Bytes(second)), expected) << why << ", way " << way;
            EXPECT_EQ(m_summary.Same(), expected.empty()) << why;
            EXPECT_EQ(m_summary.first.folders + m_summary.first.files, first.size()) << why;
            EXPECT_EQ(m_summary.second.folders + m_summary.second.files, second.size()) << why;
        }
    }

    test::TempDir m_dir;
    ComparisonSummary m_summary;
};

// Where the folder lines are, and where each one's files end.
std::vector<std::pair<size_t, size_t>> Blocks(const Lines& lines) {
    std::vector<std::pair<size_t, size_t>> blocks;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].substr(0, lines[i].find('\t')).find('\\') == std::string::npos)
            continue;
        size_t end = i + 1;
        while (end < lines.size() &&
               lines[end].substr(0, lines[end].find('\t')).find('\\') == std::string::npos)
            ++end;
        blocks.emplace_back(i, end);
    }
    return blocks;
}

TEST_F(ListWalkFixture, ALineInsertedOrRemovedInOneListOnly) {
    const Lines list = MakeList(1, 40);
    for (size_t at : {size_t{0}, size_t{1}, size_t{2}, list.size() / 2, list.size() - 1}) {
        Lines removed = list;
        removed.erase(removed.begin() + static_cast<std::ptrdiff_t>(at));
        ExpectAsModel(list, removed, "line " + std::to_string(at) + " removed");
        Lines inserted = list;
        inserted.insert(inserted.begin() + static_cast<std::ptrdiff_t>(at),
                        "vložený soubor.TXT\t12\t2010.1.1\t1:2.3");
        ExpectAsModel(list, inserted, "a file inserted before line " + std::to_string(at));
        Lines folder = list;
        folder.insert(folder.begin() + static_cast<std::ptrdiff_t>(at),
                      "Nová složka\\\t0\t2010.1.1\t1:2.3");
        ExpectAsModel(list, folder, "a folder inserted before line " + std::to_string(at));
    }
}

TEST_F(ListWalkFixture, DifferencesOnTheFirstAndTheLastLine) {
    const Lines list = MakeList(2, 20);
    Lines changed = list;
    changed.front() = "autorun.inf\t46\t2003.11.2\t14:3.20";
    changed.back() = changed.back().substr(0, changed.back().find('\t')) + "\t1\t1999.1.1\t0:0.0";
    ExpectAsModel(list, changed, "first and last line changed");
    // Another separator in a time is the same time.
    Lines separators = list;
    for (std::string& line : separators)
        std::replace(line.begin() + static_cast<std::ptrdiff_t>(line.rfind('\t')), line.end(), ':',
                     '.');
    ExpectAsModel(list, separators, "times with another separator");
    EXPECT_TRUE(m_summary.Same());
}

TEST_F(ListWalkFixture, ListsPartAndMeetAgain) {
    const Lines list = MakeList(3, 60);
    Lines other = list;
    // A run of lines gone, another run replaced by new ones, a third with other sizes.
    other.erase(other.begin() + 10, other.begin() + 25);
    for (size_t i = 40; i < 50; ++i)
        other[i] = "jiný " + std::to_string(i) + ".dat\t5\t2011.2.3\t4:5.6";
    for (size_t i = 70; i < 90 && i < other.size(); ++i) {
        const size_t tab = other[i].find('\t');
        if (other[i].substr(0, tab).find('\\') == std::string::npos)
            other[i] =
                other[i].substr(0, tab) + "\t777" + other[i].substr(other[i].find('\t', tab + 1));
    }
    ExpectAsModel(list, other, "parted three times");
}

TEST_F(ListWalkFixture, AFolderMovedLaterOrRenamed) {
    const Lines list = MakeList(4, 30);
    const auto blocks = Blocks(list);
    Lines moved; // the third folder with its files moved after the twentieth
    for (size_t i = 0; i < list.size(); ++i) {
        if (i < blocks[2].first || i >= blocks[2].second)
            moved.push_back(list[i]);
        if (i + 1 == blocks[20].second)
            moved.insert(moved.end(), list.begin() + static_cast<std::ptrdiff_t>(blocks[2].first),
                         list.begin() + static_cast<std::ptrdiff_t>(blocks[2].second));
    }
    ASSERT_EQ(moved.size(), list.size());
    ExpectAsModel(list, moved, "a folder moved later");
    EXPECT_TRUE(m_summary.Same());

    Lines renamed = list;
    renamed[blocks[5].first] =
        "Přejmenovaná\\" + renamed[blocks[5].first].substr(renamed[blocks[5].first].find('\t'));
    ExpectAsModel(list, renamed, "a folder renamed");
}

TEST_F(ListWalkFixture, FilesWhoseCaseDiffersAreOtherFiles) {
    const Lines list = {"Fotky\\\t0\t2004.1.1\t9:30.0", "Čísla.TXT\t7\t2003.11.2\t14:3.20",
                        "žluťoučký.txt\t5\t2001.1.1\t1:2.4"};
    const Lines other = {"Fotky\\\t0\t2004.1.1\t9:30.0", "čísla.txt\t7\t2003.11.2\t14:3.20",
                         "žluťoučký.txt\t5\t2001.1.1\t1:2.4"};
    ExpectAsModel(list, other, "case");
    EXPECT_EQ(m_summary.filesOnlyInFirst + m_summary.filesOnlyInSecond, 2u);
}

TEST_F(ListWalkFixture, AListThatIsAPrefixOfTheOtherAndEmptyLists) {
    const Lines list = MakeList(5, 25);
    const Lines prefix(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.size() / 3));
    ExpectAsModel(list, prefix, "prefix");
    ExpectAsModel(list, {}, "a list without entries");
    ExpectAsModel({}, {}, "two lists without entries");
    EXPECT_TRUE(m_summary.Same());
    // A file of no bytes at all, and one of a header without a line end.
    EXPECT_EQ(Compared("", Bytes(prefix)), Model({}, prefix));
    EXPECT_EQ(Compared("E:\\\t0", ""), std::vector<std::string>{});
    EXPECT_TRUE(m_summary.Same());
}

TEST_F(ListWalkFixture, LineEndsOfEitherKindAreTheSameEntries) {
    const Lines list = MakeList(6, 30);
    Lines other = list;
    other[7] = other[7].substr(0, other[7].find('\t')) + "\t1\t2000.1.1\t0:0.0";
    for (const char* end : {"\n", "\r"}) {
        EXPECT_EQ(Compared(Bytes(list), Bytes(list, end)), std::vector<std::string>{}) << end[0];
        EXPECT_EQ(Compared(Bytes(list, end), Bytes(other)), Model(list, other)) << end[0];
        EXPECT_EQ(Compared(Bytes(other, end), Bytes(list, "\r\n")), Model(other, list)) << end[0];
    }
}

TEST_F(ListWalkFixture, ALargeFolderShuffledAndThinned) {
    // A folder of 500 files, in another order in the second list, every seventh one gone and
    // every eleventh of another size: its files are found by name, not by their place.
    Lines list = {"Velká složka\\\t0\t2004.1.1\t9:30.0"};
    for (int i = 0; i < 500; ++i)
        list.push_back("Snímek " + std::to_string(i) + ".JPG\t" + std::to_string(1000 + i) +
                       "\t2020.1.1\t1:0.0");
    list.push_back("Malá\\\t0\t2004.1.1\t9:30.0");
    list.push_back("jediný.txt\t1\t2004.1.1\t9:30.0");
    Lines other = {list.front()};
    std::vector<int> order(500);
    for (int i = 0; i < 500; ++i)
        order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (int i : order) {
        if (i % 7 == 3)
            continue;
        std::string line = list[static_cast<size_t>(i) + 1];
        if (i % 11 == 5)
            line = "Snímek " + std::to_string(i) + ".JPG\t1\t2020.1.1\t1:0.0";
        other.push_back(line);
    }
    other.insert(other.end(), list.end() - 2, list.end());
    ExpectAsModel(list, other, "a large folder");
}

TEST_F(ListWalkFixture, ManyChangesAtRandom) {
    std::mt19937 random(11);
    for (unsigned seed = 0; seed < 40; ++seed) {
        const Lines list = MakeList(100 + seed, 15 + static_cast<int>(seed % 20));
        Lines other = list;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int c = 0; c < changes && !other.empty(); ++c) {
            const size_t at = random() % other.size();
            const auto place = other.begin() + static_cast<std::ptrdiff_t>(at);
            switch (random() % 4) {
            case 0:
                other.erase(place);
                break;
            case 1:
                other.insert(place, "nový " + std::to_string(seed) + "-" + std::to_string(c) +
                                        ".txt\t3\t2012.1.1\t1:1.1");
                break;
            case 2:
                other.insert(place, "Nová " + std::to_string(seed) + "-" + std::to_string(c) +
                                        "\\\t0\t2012.1.1\t1:1.1");
                break;
            default:
                *place = place->substr(0, place->find('\t')) + "\t9\t2013.3.3\t3.3.3";
                break;
            }
        }
        ExpectAsModel(list, other, "seed " + std::to_string(seed));
    }
}

TEST_F(ListWalkFixture, DifferencesHandedOnInPiecesAreAllOfThemInOrder) {
    // Two lists with nothing in common: far more differences than one piece holds.
    Lines a, b;
    for (int f = 0; f < 300; ++f) {
        a.push_back("Složka " + std::to_string(f) + "\\\t0\t2004.1.1\t9:30.0");
        b.push_back("Ordner " + std::to_string(f) + "\\\t0\t2004.1.1\t9:30.0");
        for (int i = 0; i < 60; ++i) {
            a.push_back("soubor " + std::to_string(i) + ".txt\t1\t2004.1.1\t9:30.0");
            b.push_back("Datei " + std::to_string(i) + ".txt\t1\t2004.1.1\t9:30.0");
        }
    }
    test::WriteFile(m_dir / "A.sez", Bytes(a));
    test::WriteFile(m_dir / "B.sez", Bytes(b));
    const ListDifferences held = ListDifferences::Compare(m_dir / "A.sez", m_dir / "B.sez");
    ASSERT_EQ(held.Count(), a.size() + b.size());
    size_t handed = 0, pieces = 0;
    bool same = true;
    const ListDifferences streamed = ListDifferences::Compare(
        m_dir / "A.sez", m_dir / "B.sez", {}, [&](const ListDifferences& found) {
            ++pieces;
            for (size_t i = 0; i < found.Count(); ++i, ++handed)
                same = same && handed < held.Count() && found.Kind(i) == held.Kind(handed) &&
                       found.Texts(i) == held.Texts(handed);
        });
    EXPECT_EQ(handed, held.Count());
    EXPECT_TRUE(same);
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(streamed.Count(), 0u);
    EXPECT_EQ(streamed.Summary().filesOnlyInFirst, held.Summary().filesOnlyInFirst);
    EXPECT_EQ(streamed.Summary().foldersOnlyInSecond, 300u);
}

} // namespace
} // namespace vyp
