#include "TestSupport.h"

#include "lists/ListRegistry.h"
#include "search/ListSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

namespace vyp {
namespace {

class SearchFixture : public test::RegisteredLists {
protected:
    SearchResult Search(const std::string& text, GroupFilter groups = AllGroups()) {
        return SearchLists(text, groups, m_registry);
    }
    static GroupFilter AllGroups() { return {true, true, true, true, true, true, true}; }
    std::vector<std::string> Paths(const SearchResult& result) {
        std::vector<std::string> paths;
        for (const SearchRow& row : result.rows)
            paths.emplace_back(row.Path());
        return paths;
    }
};

const char* kGames = "D:\\\t3000\r\nreadme.txt\t100\t2004.1.1\t1:2.4\r\n"
                     "Games\\\t2900\t2004.2.3\t5:6.8\r\nABC.TXT\t900\t2004.2.3\t5:6.8\r\n"
                     "Games\\Doom\\\t2000\t2003.1.1\t0:0.0\r\ndoom.exe\t2000\t2003.1.1\t0:0.0\r\n"
                     "xAbCx\t0\t2003.1.1\t0:0.0\r\n";

TEST_F(SearchFixture, MatchesAsciiLettersInAnyCaseAndBuildsPaths) {
    AddList("games.sez", kGames);
    const SearchResult result = Search("abc");
    EXPECT_EQ(Paths(result), (std::vector<std::string>{"Games\\ABC.TXT", "Games\\Doom\\xAbCx"}));
    EXPECT_EQ(result.filesFound, 2);
    EXPECT_EQ(result.foldersFound, 0);
    EXPECT_EQ(result.rows[0].SizeText(), "900");
    EXPECT_EQ(result.rows[0].DateText(), "2004.2.3");
    EXPECT_EQ(result.rows[0].TimeText(), "5:6:8");
    EXPECT_EQ(result.rows[0].Extension(), "TXT");
    EXPECT_EQ(Paths(Search("readme")), std::vector<std::string>{"D:\\readme.txt"});
    EXPECT_EQ(Paths(Search("doom")),
              (std::vector<std::string>{"Games\\Doom\\", "Games\\Doom\\doom.exe"}));
    EXPECT_TRUE(Search("doom").rows[0].IsFolder());
}

TEST_F(SearchFixture, WholeRawLinesAreSearched) {
    AddList("games.sez", kGames);
    const SearchResult years = Search("2004");
    EXPECT_EQ(years.filesFound, 2);
    EXPECT_EQ(years.foldersFound, 1);
    const SearchResult dots = Search(".");
    EXPECT_EQ(dots.filesFound, 4);
    EXPECT_EQ(dots.foldersFound, 2);
    EXPECT_EQ(Search("txt\t100").rows.size(), 1u); // the TAB between fields counts
    EXPECT_TRUE(Search("").rows.empty());
    EXPECT_TRUE(Search("abc", GroupFilter{}).rows.empty()); // no group ticked
    EXPECT_TRUE(Search("txt\r\n100").rows.empty());
}

TEST_F(SearchFixture, MatchingHeaderIsAFolderRowShowingTheRoot) {
    AddList("games.sez", kGames);
    const SearchResult result = Search("3000");
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_TRUE(result.rows[0].IsFolder());
    EXPECT_EQ(result.rows[0].Path(), "D:\\");
    EXPECT_EQ(result.rows[0].SizeText(), "3000");
    EXPECT_EQ(result.rows[0].DateText(), "");
    EXPECT_EQ(result.foldersFound, 1);
}

TEST_F(SearchFixture, RootWithoutBackslashStillPrefixesRootFiles) {
    AddList("linux.sez", "/media/cdrom/\t5\r\nnotes.txt\t5\t2020.1.1\t1:1.2\r\n");
    const SearchResult result = Search("notes");
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].Path(), "/media/cdrom/notes.txt");
    EXPECT_EQ(Search("cdrom").rows.at(0).Path(), "/media/cdrom/");
}

TEST_F(SearchFixture, AccentsAreNotFoldedAndWindows1250ListsAreFound) {
    AddList("u.sez", "C:\\\t0\r\nČESKÝ.txt\t1\t2004.1.1\t1:1.2\r\n");
    AddList("w.sez", "C:\\\t0\r\n\xE8"
                     "esk\xFD.txt\t2\t2004.1.1\t1:1.2\r\n"); // "český.txt"
    EXPECT_TRUE(Search("č").rows.size() == 1);
    EXPECT_EQ(Search("č").rows[0].ListIndex(), 1);
    EXPECT_EQ(Search("č").rows[0].Path(), "C:\\český.txt");
    EXPECT_EQ(Search("Č").rows.at(0).ListIndex(), 0);
    // A plain text finds the Windows-1250 row too, and shows it decoded.
    const SearchResult txt = Search("ESK");
    ASSERT_EQ(txt.rows.size(), 2u);
    EXPECT_EQ(txt.rows[1].Path(), "C:\\český.txt");
    EXPECT_EQ(txt.rows[1].Name(), "český.txt");
}

TEST_F(SearchFixture, SameLineInTwoListsAndGroupFilter) {
    AddList("a.sez.sez", kGames, 2);
    AddList("b.sez", kGames, 12); // outside 2..8: searched as "Neurčeno"
    const SearchResult both = Search("doom.exe");
    ASSERT_EQ(both.rows.size(), 2u);
    EXPECT_EQ(both.rows[0].ListIndex(), 0);
    EXPECT_EQ(both.rows[1].ListIndex(), 1);
    EXPECT_EQ(ListNameOf(m_registry.ListInfos[0]), "a.sez");
    GroupFilter onlyUndecided{};
    onlyUndecided[6] = true;
    const SearchResult undecided = Search("doom.exe", onlyUndecided);
    ASSERT_EQ(undecided.rows.size(), 1u);
    EXPECT_EQ(undecided.rows[0].ListIndex(), 1);
}

TEST_F(SearchFixture, UnreadableListIsReportedAndTheSearchGoesOn) {
    AddList("a.sez", kGames);
    m_registry.ListPaths.insert(m_registry.ListPaths.begin(), m_dir / "gone.sez");
    m_registry.ListInfos.insert(m_registry.ListInfos.begin(), rsznListInfo{});
    m_registry.ListInfos[1].Group = 8;
    const SearchResult result = Search("doom.exe");
    EXPECT_EQ(result.rows.size(), 1u);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0],
              "Cannot open file \"" + (m_dir / "gone.sez") + "\". " + test::NoSuchFileText());
}

TEST_F(SearchFixture, LinesAcrossReadChunksAndLoneLineEnds) {
    // Two megabytes of lines make the search read in pieces; the folder of the last file must
    // still be found across them.
    std::string big = "R:\\\t0\r\nFar\\\t0\t1\t1\r\n";
    while (big.size() < (2u << 20) + 77)
        big += "filler-file-name.dat\t123\t2001.1.1\t1:1.0\r\n";
    big += "needle.bin\t1\t2001.1.1\t1:1.0\rlast.bin\t1\t2001.1.1\t1:1.0\nend-needle\t1\t1\t1";
    AddList("big.sez", big);
    const SearchResult result = Search("needle");
    EXPECT_EQ(Paths(result), (std::vector<std::string>{"Far\\needle.bin", "Far\\end-needle"}));
    EXPECT_EQ(Search("filler").filesFound, Search("dat\t123").filesFound);
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

// Lists longer than one piece of the encoding check: a character cut by a piece's end is still
// UTF-8, one Windows-1250 byte far down makes the whole list Windows-1250, and rows found with
// an ASCII text are decoded in the list's encoding either way.
TEST_F(SearchFixture, EncodingOfLongListsIsLearnedWhereverTheirBytesLie) {
    std::string utf8(65533 - 7, 'a');
    utf8 += "\r\nŽluťoučký kůň.txt\t1\t2004.1.1\t1:2.4\r\n"; // "Ž" at 64 KiB - 1 + pad
    for (size_t pad = 0; pad < 3; ++pad)
        AddList("Kůň " + std::to_string(pad) + ".sez",
                "E:\\\t0\r\n" + std::string(pad, 'b') + utf8);
    std::string cp1250 = "E:\\\t0\r\nkon.txt\t1\t2004.1.1\t1:2.4\r\n";
    cp1250 += std::string(200000, 'c') + "\r\n\x8Eluou\xE8k\xFD.txt\t1\t2004.1.1\t1:2.4\r\n";
    AddList("Starý.sez", cp1250);

    const SearchResult accented = Search("kůň");
    ASSERT_EQ(accented.rows.size(), 3u);
    EXPECT_EQ(accented.rows[2].Path(), "E:\\Žluťoučký kůň.txt");
    const SearchResult ascii = Search(".txt");
    ASSERT_EQ(ascii.rows.size(), 5u);
    EXPECT_EQ(ascii.rows[3].Path(), "E:\\kon.txt");
    EXPECT_EQ(ascii.rows[4].Path(), "E:\\Žluoučký.txt");
}

// A Windows-1250 list whose first lines happen to be valid UTF-8 (a name copied in from a
// UTF-8 system) and whose first Windows-1250 byte lies several read regions down: the list is
// Windows-1250 as a whole, so a text with accents is found in its Windows-1250 form in every
// line, those first ones included, and what looked like its UTF-8 form up there is no match.
TEST_F(SearchFixture, WindowsListWhoseFirstAccentComesLateIsSearchedWhole) {
    std::string old = "E:\\Hudba\\\t0\r\nCafé.mp3\t1\t1999.7.1\t8:0.0\r\n";
    for (int i = 0; old.size() < (1u << 20); ++i)
        old += "Skladba " + std::to_string(i) + ".mp3\t4096\t1999.7.1\t8:0.0\r\n";
    old += "Jazz\\\t0\t1999.7.1\t8:0.0\r\nCaf\xE9 Noir.mp3\t2\t1999.7.1\t8:0.0\r\n";
    AddList("Stará hudba.sez", old);
    AddList("Nová hudba.sez", "E:\\\t0\r\nCafé.mp3\t1\t2024.7.1\t8:0.0\r\n");

    const SearchResult accented = Search("é");
    EXPECT_EQ(Paths(accented), (std::vector<std::string>{"Jazz\\Café Noir.mp3", "E:\\Café.mp3"}));
    EXPECT_EQ(accented.rows[0].ListIndex(), 0);
    EXPECT_EQ(accented.rows[1].ListIndex(), 1);
    // "Café" in UTF-8 is "CafĂ©" in Windows-1250, found by that text in the first line.
    const SearchResult asWindows = Search("Ă©");
    EXPECT_EQ(Paths(asWindows), std::vector<std::string>{"E:\\Hudba\\CafĂ©.mp3"});
    EXPECT_EQ(asWindows.filesFound, 1);
    EXPECT_EQ(
        Paths(Search("CAF")),
        (std::vector<std::string>{"E:\\Hudba\\CafĂ©.mp3", "Jazz\\Café Noir.mp3", "E:\\Café.mp3"}));
    EXPECT_TRUE(accented.errors.empty());
}

// The search equals a plain reading of the same lists line by line, on lists with names of
// many languages, each list in one of the encodings, for texts in and out of ASCII.
TEST(ListSearch, EqualsAPlainReferenceOnGeneratedLists) {
    test::TempDir dir;
    const std::vector<std::string> names = {
        "Přehled účtů",       "Straße",  "Café crème",   "Фильмы", "東京 写真", "README.TXT",
        "Mix.Of.Dots.tar.gz", "ÁbC dEf", "naïve résumé", "Grüße"};
    std::mt19937 random(42);
    ListRegistry registry;
    std::vector<std::vector<std::string>> allLines;
    for (int list = 0; list < 3; ++list) {
        std::vector<std::string> lines = {"E:\\\t0"};
        std::string folder;
        for (int i = 0; i < 20000; ++i) {
            const std::string& name = names[random() % names.size()];
            if (random() % 8 == 0) {
                folder = (random() % 2 ? folder : "") + name + " " + std::to_string(i) + "\\";
                lines.push_back(folder + "\t0\t2020.1.1\t1:2.4");
            } else {
                lines.push_back(name + "." + std::to_string(i) + "\t" + std::to_string(i) +
                                "\t2020.1.1\t1:2.4");
            }
        }
        // List 1 in Windows-1250 where its names allow (the others as they are: dropped).
        std::string bytes;
        std::vector<std::string> kept;
        for (const std::string& line : lines) {
            std::string raw = line;
            if (list == 1 && !FromUtf8(line, TextEncoding::Windows1250, raw))
                continue;
            bytes += raw + "\r\n";
            kept.push_back(line);
        }
        const std::string fileName = "Seznam " + std::to_string(list) + ".sez";
        test::WriteFile(dir / fileName, bytes);
        test::RegisterList(registry, fileName, dir / fileName);
        allLines.push_back(kept);
    }
    const GroupFilter all{true, true, true, true, true, true, true};
    for (const std::string text : {"abc", "ÚČT", "účt", "straße", ".TAR.", "写真", "\\", "9\t"}) {
        std::vector<std::string> expected;
        for (const auto& lines : allLines) {
            std::string folder = lines[0].substr(0, lines[0].find('\t'));
            for (size_t i = 0; i < lines.size(); ++i) {
                const std::string& line = lines[i];
                std::string upperLine = line, upperText = text;
                for (char& c : upperLine)
                    c = UpperAscii(c);
                for (char& c : upperText)
                    c = UpperAscii(c);
                const bool isFolder = i == 0 || line.find('\\') != std::string::npos;
                if (i > 0 && isFolder)
                    folder = line.substr(0, line.find('\t'));
                if (upperLine.find(upperText) != std::string::npos)
                    expected.push_back(isFolder ? line.substr(0, line.find('\t'))
                                                : folder + line.substr(0, line.find('\t')));
            }
        }
        const SearchResult result = SearchLists(text, all, registry);
        std::vector<std::string> actual;
        for (const SearchRow& row : result.rows)
            actual.emplace_back(row.Path());
        EXPECT_EQ(actual, expected) << text;
        EXPECT_EQ(static_cast<size_t>(result.filesFound + result.foldersFound), actual.size());
    }
}

// A row as the tests of the search that hands its rows on write it: every text a row gives.
void AppendRowText(const ListRegistry& registry, const SearchRowTexts& row, std::string& text) {
    std::string time(row.time);
    std::replace(time.begin(), time.end(), '.', ':');
    text.append(registry.ListInfos[static_cast<size_t>(row.listIndex)].FileName)
        .append("|")
        .append(row.folder)
        .append(row.name)
        .append("|")
        .append(row.size)
        .append("|")
        .append(row.date)
        .append("|")
        .append(time)
        .append(row.isFolder ? "|D\n" : "|F\n");
}

// The rows of the held search, list after list in order.
std::string HeldText(const SearchResult& held, const ListRegistry& registry,
                     const std::vector<size_t>& order) {
    std::string expected;
    for (size_t list : order) {
        for (const SearchRow& row : held.rows) {
            if (static_cast<size_t>(row.ListIndex()) == list)
                AppendRowText(registry, row.AllTexts(), expected);
        }
    }
    return expected;
}

struct Streamed {
    std::string text;
    size_t writes = 0;
    SearchCounts counts;
};

Streamed StreamedText(const std::string& text, const GroupFilter& groups,
                      const ListRegistry& registry, const std::vector<size_t>& order,
                      size_t heldBytes = size_t{4} << 20, int64_t pieceBytes = int64_t{2} << 20) {
    Streamed streamed;
    streamed.counts = SearchListsInOrder(
        text, groups, registry, order,
        [&](const SearchRowTexts& row, std::string& out) { AppendRowText(registry, row, out); },
        [&](std::string_view piece) {
            streamed.text.append(piece);
            ++streamed.writes;
        },
        heldBytes, pieceBytes);
    return streamed;
}

// Compared whole, reported at the first difference (a diff of megabytes helps nobody).
::testing::AssertionResult SameText(const std::string& written, const std::string& expected) {
    if (written == expected)
        return ::testing::AssertionSuccess();
    const auto diverge =
        std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure()
           << "differs from byte " << (diverge.first - written.begin()) << ", \""
           << written.substr(static_cast<size_t>(diverge.first - written.begin()), 80)
           << "\" instead of \""
           << expected.substr(static_cast<size_t>(diverge.second - expected.begin()), 80) << "\"";
}

// The search that hands its rows on as text, list after list in a given order, prints the rows
// the held search finds, in that order, with the same counts and errors: on lists large enough
// that one list waits for the one before it to be written, a Windows-1250 list whose first
// accent lies far down (its rows must not go out before its encoding is known), a list that
// cannot be read and a list of an unticked group.
TEST_F(SearchFixture, RowsHandedOnInListOrderAreTheHeldSearchsRows) {
    const std::vector<std::string> names = {"Přehled účtů.xlsx",  "Straße 7.txt",
                                            "Фильмы.avi",         "東京 写真.jpg",
                                            "Mix.Of.Dots.tar.gz", "naïve résumé.doc"};
    for (int list = 0; list < 4; ++list) {
        std::string bytes = "F:\\\t0\r\n";
        for (int i = 0; i < 60000; ++i) {
            if (i % 50 == 0)
                bytes += "Složka " + std::to_string(i) + "\\\t0\t2021.3.4\t5:6.7\r\n";
            bytes += names[static_cast<size_t>(i + list) % names.size()] + " " + std::to_string(i) +
                     "\t" + std::to_string(i * 977) + "\t2021.3.4\t5:6.7\r\n";
        }
        AddList("Disk " + std::to_string(list) + ".sez", bytes);
    }
    std::string late = "G:\\\t0\r\nČeský název.txt\t1\t2004.1.1\t1:2.4\r\n"; // valid UTF-8 so far
    for (int i = 0; i < 30000; ++i)
        late += "soubor " + std::to_string(i) + ".txt\t1\t2004.1.1\t1:2.4\r\n";
    late += "\x8Eluou\xE8k\xFD.txt\t1\t2004.1.1\t1:2.4\r\n"; // "Žluťoučký" in Windows-1250
    AddList("Starý.sez", late);
    AddList("Chybí.sez", "");
    m_registry.ListPaths.back() = m_dir / "není tu"; // cannot be opened
    AddList("Skupina 2.sez", "H:\\\t0\r\nsoubor 1.txt\t1\t2004.1.1\t1:2.4\r\n", 2);
    GroupFilter groups = AllGroups();
    groups[0] = false; // group 2
    const std::vector<size_t> order = {4, 2, 6, 0, 5, 3, 1};

    for (const std::string text : {"1", "ČESK", "žluť", "写真", "\\"}) {
        const SearchResult held = SearchLists(text, groups, m_registry);
        {
            const test::NothingMapped buffered;
            EXPECT_TRUE(SameText(HeldText(SearchLists(text, groups, m_registry), m_registry, order),
                                 HeldText(held, m_registry, order)))
                << text << " through the buffer";
        }
        // As whole lists, and in pieces of a few folders each (the lists are 2.5 MB); from the
        // lists' mapping, and read through the buffers where nothing is mapped.
        for (const int64_t pieceBytes : {int64_t{2} << 20, int64_t{20000}, int64_t{-20000}}) {
            std::optional<test::NothingMapped> buffered;
            if (pieceBytes < 0)
                buffered.emplace();
            const Streamed streamed = StreamedText(text, groups, m_registry, order, size_t{4} << 20,
                                                   std::abs(pieceBytes));
            EXPECT_TRUE(SameText(streamed.text, HeldText(held, m_registry, order)))
                << text << ", " << pieceBytes;
            EXPECT_EQ(streamed.counts.filesFound, held.filesFound) << text;
            EXPECT_EQ(streamed.counts.foldersFound, held.foldersFound) << text;
            EXPECT_EQ(streamed.counts.errors, held.errors) << text;
            if (text == "1") {
                EXPECT_GT(streamed.writes, 4u); // handed on in pieces, not at the end
            }
        }
    }
}

// A long list is searched in pieces that start at folder lines only, so every file row keeps
// the folder above it however far up that lies: a list of one folder, a list whose folders lie
// further apart than a piece is long, a list of lone CR and LF line ends with a line longer
// than any read, and a Windows-1250 list whose only accent comes in its last piece.
TEST_F(SearchFixture, PiecesOfALongListKeepTheFolderAboveEveryFile) {
    std::string oneFolder = "E:\\\t0\r\nFotky z Brna\\\t0\t2018.7.9\t10:11.12\r\n";
    std::string farApart = "F:\\\t0\r\n";
    std::string lineEnds = "G:\\\t0\r";
    std::string lateAccent = "H:\\\t0\r\n";
    for (int i = 0; i < 40000; ++i) {
        const std::string n = std::to_string(i);
        oneFolder += "Straße " + n + ".jpg\t" + n + "\t2018.7.9\t10:11.12\r\n";
        if (i % 15000 == 0)
            farApart += "Документы " + n + "\\Zürich\\\t0\t2001.2.3\t4:5.6\r\n";
        farApart += "東京 写真 " + n + ".tar.gz\t" + n + "\t2001.2.3\t4:5.6\r\n";
        if (i % 97 == 0)
            lineEnds += "Crème brûlée " + n + "\\\t0\t2002.3.4\t5:6.7" + (i % 2 ? "\r" : "\n");
        lineEnds += "café " + n + (i == 20000 ? std::string(300000, 'x') : std::string()) +
                    ".txt\t1\t2002.3.4\t5:6.7" + (i % 3 ? "\n" : "\r");
        if (i % 500 == 0)
            lateAccent += "Slozka " + n + "\\\t0\t2003.4.5\t6:7.8\r\n";
        lateAccent += "soubor " + n + ".doc\t" + n + "\t2003.4.5\t6:7.8\r\n";
    }
    lateAccent += "\x8Eluou\xE8k\xFD k\xF9\xF2.doc\t1\t2003.4.5\t6:7.8\r\n";
    AddList("Jedna složka.sez", oneFolder);
    AddList("Daleko.sez", farApart);
    AddList("Konce řádků.sez", lineEnds);
    AddList("Pozdní.sez", lateAccent);
    const std::vector<size_t> order = {3, 1, 0, 2};
    for (const std::string text : {"1", "JPG", "写真", "\\", "é", "kůň"}) {
        const SearchResult held = SearchLists(text, AllGroups(), m_registry);
        const std::string expected = HeldText(held, m_registry, order);
        for (const int64_t pieceBytes : {int64_t{5000}, int64_t{300000}}) {
            const Streamed streamed =
                StreamedText(text, AllGroups(), m_registry, order, size_t{1} << 30, pieceBytes);
            EXPECT_TRUE(SameText(streamed.text, expected)) << text << ", " << pieceBytes;
            EXPECT_EQ(streamed.counts.filesFound, held.filesFound) << text;
            EXPECT_EQ(streamed.counts.foldersFound, held.foldersFound) << text;
        }
    }
    EXPECT_EQ(Search("39999.jpg").rows[0].Path(), "Fotky z Brna\\Straße 39999.jpg");
}

// Each list is read once as a rule, so rows go out before the list's encoding is known only
// where it cannot change them: the rows come out as the held search gives them whether they
// wait to the list's end or the rest of the list is checked ahead once too many wait (no rows
// may wait at all, a few kilobytes, or all). The lists: UTF-8 with accents throughout,
// Windows-1250 whose first accent lies far down, UTF-8 with one byte far down that makes it
// Windows-1250 as a whole, Windows-1250 whose first accented bytes happen to form UTF-8 ("Ă©"
// is the UTF-8 form of "é"), one whose only accents are UTF-8 letters without a Windows-1250
// form, and one whose first half is UTF-8 with such letters and its second Windows-1250 (the
// pieces of its halves learn the encoding while others search for the UTF-8 form).
TEST_F(SearchFixture, StreamedRowsWaitForTheEncodingWhereverItIsLearned) {
    auto fileLine = [](const std::string& name, int i) {
        return name + " " + std::to_string(i) + ".txt\t" + std::to_string(i * 31) +
               "\t2019.5.6\t7:8.9\r\n";
    };
    std::string utf8 = "C:\\\t0\r\n";
    std::string lateWindows = "D:\\\t0\r\n";
    std::string damaged = "E:\\\t0\r\n";
    std::string lookalike = "F:\\\t0\r\n";
    std::string cyrillic = "G:\\Фото\\\t0\r\n";
    std::string halves = "H:\\\t0\r\n";
    for (int i = 0; i < 12000; ++i) {
        if (i % 100 == 0) {
            utf8 += "Složka " + std::to_string(i) + "\\\t0\t2019.5.6\t7:8.9\r\n";
            damaged += "Café " + std::to_string(i) + "\\\t0\t2019.5.6\t7:8.9\r\n";
            lookalike += "Caf\xC3\xA9 " + std::to_string(i) + "\\\t0\t2019.5.6\t7:8.9\r\n";
        }
        utf8 += fileLine(i % 3 == 0 ? "Žluťoučký kůň é" : "readme", i);
        lateWindows += fileLine(i < 9000 ? "plain" : "P\xF8\xEDli\x9A \xE9", i);
        damaged += fileLine(i % 5 == 0 ? "Noël é" : "track", i);
        lookalike += fileLine(i % 7 == 0 ? "Ne\xC3\xA9" : "song", i);
        cyrillic += fileLine(i % 4 == 0 ? "Фото" : "photo", i);
        if (i % 50 == 0)
            halves += "Alba " + std::to_string(i) + "\\\t0\t2019.5.6\t7:8.9\r\n";
        halves += fileLine(i < 6000 ? "Фото é" : "P\xF8\xEDli\x9A \xE9", i);
    }
    damaged += fileLine("Caf\xE9", 1); // Windows-1250 "é": the whole list is Windows-1250
    damaged += fileLine("last", 2);
    lookalike += fileLine("Caf\xE9", 3);
    AddList("Unicode.sez", utf8);
    AddList("Pozdní.sez", lateWindows);
    AddList("Vadný.sez", damaged);
    AddList("Klam.sez", lookalike);
    AddList("Fotky.sez", cyrillic);
    AddList("Půlky.sez", halves);
    const std::vector<size_t> order = {2, 5, 0, 4, 1, 3};

    for (const std::string text : {"1", "é", "Ă©", "Фото", "ţ", "\\", "kůň"}) {
        const SearchResult held = SearchLists(text, AllGroups(), m_registry);
        const std::string expected = HeldText(held, m_registry, order);
        // Whole lists, and lists in pieces cut at many of their folder lines, which learn the
        // encoding of the list from each other.
        for (const int64_t pieceBytes : {int64_t{1} << 30, int64_t{7000}}) {
            for (const size_t heldBytes : {size_t{0}, size_t{5000}, size_t{1} << 30}) {
                const Streamed streamed =
                    StreamedText(text, AllGroups(), m_registry, order, heldBytes, pieceBytes);
                EXPECT_TRUE(SameText(streamed.text, expected))
                    << text << ", " << heldBytes << ", " << pieceBytes;
                EXPECT_EQ(streamed.counts.filesFound, held.filesFound) << text;
                EXPECT_EQ(streamed.counts.foldersFound, held.foldersFound) << text;
            }
        }
    }
    // The held search reads each list in its own encoding (what the lists above must show).
    EXPECT_EQ(Search("é").rows[0].Path(), "Složka 0\\Žluťoučký kůň é 0.txt");
    const SearchResult asWindows = Search("Ă©");
    EXPECT_EQ(asWindows.rows[0].Path(), "CafĂ© 0\\");
    int lookalikeRows = 0;
    for (const SearchRow& row : asWindows.rows)
        lookalikeRows += row.ListIndex() == 3 ? 1 : 0;
    EXPECT_EQ(lookalikeRows, 120 + 1715);
    EXPECT_EQ(Search("Noël").rows.size(), 0u);
    EXPECT_EQ(Search("NoĂ«l").filesFound, 2400);
    EXPECT_EQ(Search("Příliš é").filesFound, 3000 + 6000);
    EXPECT_EQ(Search("Фото").filesFound, 3000); // none in the list that is Windows-1250 as a whole
}

// A list whose first half is UTF-8 and whose second is Windows-1250, searched in pieces side by
// side for a text that only UTF-8 can hold: the pieces of the first half find rows while those of
// the second learn that the list is Windows-1250, and no row found by the UTF-8 form may go out
// then, whenever that is learned. Run a few times, the pieces meeting at different moments.
TEST_F(SearchFixture, RowsOfTheUtf8FormNeverGoOutOfAWindows1250List) {
    std::string bytes = "H:\\Alba\\\t0\r\n";
    for (int i = 0; bytes.size() < (6u << 20); ++i) {
        if (i % 40 == 0)
            bytes += "Фотографии " + std::to_string(i) + "\\\t0\t2019.5.6\t7:8.9\r\n";
        const bool windows = bytes.size() > (3u << 20) + 12345;
        bytes += (windows ? std::string("P\xF8\xEDli\x9A \xE9") : std::string("Фото é")) + " " +
                 std::to_string(i) + ".jpg\t" + std::to_string(i * 31) + "\t2019.5.6\t7:8.9\r\n";
    }
    AddList("Půlky.sez", bytes);
    const SearchResult held = SearchLists("Фото", AllGroups(), m_registry);
    EXPECT_EQ(held.filesFound + held.foldersFound, 0);
    for (int round = 0; round < 12; ++round) {
        // The rest of the list is checked ahead, by one piece, once a few rows wait.
        const int64_t pieceBytes = int64_t{1} << (18 + round % 3);
        const size_t heldBytes = round % 3 == 0 ? size_t{1} << 30 : size_t{5000} * (round % 3);
        const Streamed streamed =
            StreamedText("Фото", AllGroups(), m_registry, {0}, heldBytes, pieceBytes);
        EXPECT_EQ(streamed.counts.filesFound + streamed.counts.foldersFound, 0)
            << pieceBytes << ", " << heldBytes;
        EXPECT_TRUE(streamed.text.empty()) << pieceBytes << ", " << heldBytes;
    }
}

// A list like that one with its pieces made to meet in the one order that once let such rows
// out: the first piece finds rows of the UTF-8 form in its first region and none in its second;
// while it searches the second, the other piece learns that the list is Windows-1250. The first
// piece waits after searching its second region until the other has learned it, and the other
// waits to read until then.
TEST_F(SearchFixture, RowsOfTheUtf8FormStayInWhenTheListIsLearnedWhileTheyWait) {
    if (std::thread::hardware_concurrency() < 2)
        GTEST_SKIP() << "the pieces are searched one after the other on one core";
    std::string bytes = "H:\\Alba\\\t0\r\n";
    const size_t lines = bytes.size();
    constexpr int64_t kPieceBytes = int64_t{1} << 18;
    for (int i = 0; bytes.size() < 3 * kPieceBytes; ++i) {
        // Windows-1250 from where the second piece is cut on, at the next folder line.
        const bool windows = bytes.size() > lines + kPieceBytes;
        const bool found = bytes.size() < lines + 8192;
        if (i % 40 == 0)
            bytes += (windows ? "Fotky " : "Übersicht ") + std::to_string(i) +
                     "\\\t0\t2019.5.6\t7:8.9\r\n";
        bytes += (windows ? std::string("P\xF8\xEDli\x9A \xE9")
                  : found ? std::string("Фото é")
                          : std::string("Noël à Paris")) +
                 " " + std::to_string(i) + ".jpg\t" + std::to_string(i * 31) +
                 "\t2019.5.6\t7:8.9\r\n";
    }
    AddList("Půlky.sez", bytes);

    std::mutex mutex;
    std::condition_variable changed;
    int regions = 0;       // searched by the first piece
    bool searched = false; // the first piece searched its second region and waits
    bool learned = false;  // the second piece learned the list's encoding meanwhile
    bool inTurn = true;    // neither gave up waiting for the other
    auto waitFor = [&](std::unique_lock<std::mutex>& lock, const bool& what) {
        inTurn = changed.wait_for(lock, std::chrono::seconds(30), [&] { return what; }) && inTurn;
    };
    const PieceStepHook inOrder = [&](size_t piece, PieceStep step) {
        std::unique_lock lock(mutex);
        if (piece == 0 && step == PieceStep::SearchedRegion && ++regions == 2) {
            searched = true;
            changed.notify_all();
            waitFor(lock, learned);
        } else if (piece == 1 && step == PieceStep::ReadRegion && !learned) {
            waitFor(lock, searched);
        } else if (piece == 1 && step == PieceStep::MetWindows1250 && !learned) {
            learned = true;
            changed.notify_all();
        }
    };
    Streamed streamed;
    streamed.counts = SearchListsInOrder(
        "Фото", AllGroups(), m_registry, {0},
        [&](const SearchRowTexts& row, std::string& out) { AppendRowText(m_registry, row, out); },
        [&](std::string_view piece) { streamed.text.append(piece); }, size_t{1} << 30, kPieceBytes,
        inOrder);
    ASSERT_TRUE(searched && learned && inTurn) << "the pieces did not meet as they should";
    EXPECT_EQ(streamed.counts.filesFound + streamed.counts.foldersFound, 0);
    EXPECT_TRUE(streamed.text.empty()) << "printed: " << streamed.text.substr(0, 160);
}

} // namespace
} // namespace vyp
