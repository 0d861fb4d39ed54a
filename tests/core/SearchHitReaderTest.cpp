#include "ScarceMemory.h"
#include "TestSupport.h"

#include "lists/ListRegistry.h"
#include "lists/SizeText.h"
#include "search/ListSearch.h"
#include "search/SearchHitReader.h"
#include "util/Encoding.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <set>

namespace vyp {
namespace {

// Lists written into a temporary folder, searched for their rows and for their hits.
class SearchHitsFixture : public ::testing::Test {
protected:
    void AddList(const std::string& fileName, const std::string& bytes) {
        const std::string path = m_dir / fileName;
        test::WriteFile(path, bytes);
        rsznListInfo info;
        info.FileName = fileName;
        info.FullPath = path;
        info.Group = 8;
        m_registry.ListPaths.push_back(path);
        m_registry.ListInfos.push_back(info);
    }
    std::string PathOf(size_t list) const { return m_registry.ListPaths[list]; }
    static GroupFilter AllGroups() { return {true, true, true, true, true, true, true}; }

    // Every field of a row, so that rows compare whole.
    static std::string Whole(const SearchRow& row) {
        return std::to_string(row.ListIndex()) + (row.IsFolder() ? " folder " : " file ") +
               std::string(row.Path()) + "|" + std::string(row.Name()) + "|" +
               std::string(row.SizeText()) + "|" + std::string(row.DateText()) + "|" +
               std::string(row.TimeText()) + "|" + std::string(row.Extension());
    }
    // The hits read back in the order given, one reader for all.
    static std::vector<std::string> ReadBack(const SearchHits& hits,
                                             const std::vector<size_t>& order) {
        SearchHitReader reader(hits);
        SearchRows rows;
        for (size_t i : order)
            reader.Read(i, rows);
        std::vector<std::string> texts(hits.size());
        for (size_t k = 0; k < order.size(); ++k)
            texts[order[k]] = Whole(rows[k]);
        return texts;
    }
    void ExpectHitsReadAsRows(const std::string& text) {
        const SearchResult rows = SearchLists(text, AllGroups(), m_registry);
        const SearchHitsResult hits = SearchListHits(text, AllGroups(), m_registry);
        ASSERT_EQ(hits.rows.size(), rows.rows.size()) << text;
        EXPECT_EQ(hits.filesFound, rows.filesFound);
        EXPECT_EQ(hits.foldersFound, rows.foldersFound);
        EXPECT_EQ(hits.errors, rows.errors);
        std::vector<std::string> expected;
        std::set<std::string, std::less<>> extensions;
        for (const SearchRow& row : rows.rows) {
            expected.push_back(Whole(row));
            if (!row.IsFolder())
                extensions.emplace(row.Extension());
        }
        EXPECT_EQ(hits.rows.Extensions(), extensions);
        // In file order, backwards and shuffled: the windows that read on and those that jump.
        std::vector<size_t> order(hits.rows.size());
        std::iota(order.begin(), order.end(), size_t{0});
        EXPECT_EQ(ReadBack(hits.rows, order), expected) << text;
        std::reverse(order.begin(), order.end());
        EXPECT_EQ(ReadBack(hits.rows, order), expected) << text;
        std::shuffle(order.begin(), order.end(), std::mt19937(7));
        EXPECT_EQ(ReadBack(hits.rows, order), expected) << text;
        SearchHitReader reader(hits.rows);
        for (size_t i = 0; i < rows.rows.size(); ++i) {
            std::string path = "before ";
            ASSERT_TRUE(reader.AppendPath(i, path));
            EXPECT_EQ(path, "before " + std::string(rows.rows[i].Path()));
            // The size as the row gives it, read without making the row.
            std::string_view size = "x";
            ASSERT_TRUE(reader.SizeText(i, size));
            EXPECT_EQ(TryParseSizeText(size), rows.rows[i].Size()) << rows.rows[i].Path();
            if (IsAscii(size)) {
                EXPECT_EQ(size, rows.rows[i].SizeText());
            }
        }
        // The path in its two parts: the folder's path (a folder row's own) and the name, which
        // a file row also gives alone; a folder row has no name of its own to give.
        SearchHitReader parts(hits.rows);
        for (size_t i = 0; i < rows.rows.size(); ++i) {
            const SearchRow row = rows.rows[i];
            std::string folder = "a ", name = "b ", alone = "c ";
            ASSERT_TRUE(parts.AppendPathParts(i, &folder, name));
            EXPECT_EQ(folder.substr(2) + name.substr(2), row.Path());
            EXPECT_EQ(name.substr(2), row.IsFolder() ? "" : row.Name());
            EXPECT_EQ(parts.AppendFileName(i, alone), !row.IsFolder());
            EXPECT_EQ(alone.substr(2), row.IsFolder() ? "" : row.Name());
        }
    }

    test::TempDir m_dir;
    ListRegistry m_registry;
};

const char* kPhotos = "E:\\Archiv.2024\\\t123456\r\n"
                      "Úvod.txt\t12\t2024.1.5\t9:30.0\r\n"
                      "Dovolená u moře\\\t5000\t2023.8.1\t10:00.2\r\n"
                      "Été 2019.Côte d'Azur.JPG\t2000\t2019.7.14\t12:0.0\r\n"
                      "Straße nach München.tar.gz\t3000\t2020.2.2\t2:2.2\r\n"
                      "Dovolená u moře\\Фотографии\\\t40\t2021.3.3\t3:3.4\r\n"
                      "写真 東京.png\t40\t2021.3.3\t3:3.4\r\n"
                      "README\tneznámá\t2021.3.3\t3:3.4\r\n";

TEST_F(SearchHitsFixture, HitsReadBackAreTheRowsOfTheSearchInAnyOrder) {
    AddList("Fotky z dovolené.sez", kPhotos);
    // The same list in Windows-1250, with lone CR and LF line ends and no end on its last line.
    AddList("Záloha.sez", "C:\\Zálohy\\\t99\r"
                          "\xC8"
                          "esk\xFD \xFA\xE8"
                          "et.xls\t5\t2001.1.1\t1:1.2\n"
                          "Pr\xE1"
                          "ce\\\t1\t2001.1.1\t1:1.2\r\n"
                          "P\xF8"
                          "ehled.doc\t1\t2001.1.1\t1:1.2");
    // "readme" finds one file without an extension, and nothing before it to take its place.
    for (const char* text : {".", "e", "ř", "č", "2021", "Фото", "写真", "E:\\", "readme"})
        ExpectHitsReadAsRows(text);
}

TEST_F(SearchHitsFixture, FoldersMegabytesAwayAndLinesLongerThanAWindow) {
    // One folder of many files, its line far above its last files, and a name of 10,000 bytes.
    std::string bytes = "D:\\\t0\r\nVelká složka\\Podsložka.v1.2\\\t0\t2020.1.1\t1:2.4\r\n";
    for (int i = 0; i < 30000; ++i)
        bytes += "Soubor číslo " + std::to_string(i) + ".Übung.mp3\t" + std::to_string(i) +
                 "\t2020.1.1\t1:2.4\r\n";
    bytes += std::string(10000, 'x') + ".iso\t1\t2020.1.1\t1:2.4\r\n";
    AddList("Hudba.sez", bytes);
    ExpectHitsReadAsRows(".");
    ExpectHitsReadAsRows("xxxx");
    // The same through the windows' buffers, where nothing is mapped.
    const test::NothingMapped read;
    ExpectHitsReadAsRows(".");
    ExpectHitsReadAsRows("xxxx");
}

TEST_F(SearchHitsFixture, ShortLinesOfManyFoldersMappedOrNot) {
    // Lines shorter than sixteen bytes, a file's line end next to a folder's backslash, names
    // without a field after them, and folders of one file each between folders of many, so that
    // a folder read for the rows before is never taken for the next one's.
    std::string bytes = "F:\\\t0\n";
    for (int i = 0; i < 3000; ++i) {
        const std::string n = std::to_string(i);
        bytes += "Ř" + n + "\\\t0\r\n" + "a.b" + n + "\t1\n";
        if (i % 7 == 0)
            for (const char* name : {"Köln.ü.txt", "été", "Дом.doc", "東京"})
                bytes += std::string(name) + n + "\t" + n + "\t2022.2.2\t2:2.2\r\n";
        if (i % 11 == 0)
            bytes += "Ž" + n + "\\x\\\n" + "c\r";
    }
    bytes += "konec";
    AddList("Krátké řádky.sez", bytes);
    for (const char* text : {".", "a.b1", "ř", "Дом"})
        ExpectHitsReadAsRows(text);
    const test::NothingMapped read;
    for (const char* text : {".", "a.b1", "ř", "Дом"})
        ExpectHitsReadAsRows(text);
}

TEST_F(SearchHitsFixture, AChangedOrMissingListGivesEmptyRowsAndTheOthersStay) {
    AddList("Fotky z dovolené.sez", kPhotos);
    AddList("Druhý.sez", kPhotos);
    const SearchHitsResult found = SearchListHits("2021", AllGroups(), m_registry);
    ASSERT_EQ(found.rows.size(), 6u); // three lines of each list
    auto readAll = [&found] {
        SearchHitReader reader(found.rows);
        std::vector<std::string> texts;
        for (size_t i = 0; i < found.rows.size(); ++i) {
            SearchRows rows;
            const bool same = reader.Read(i, rows);
            texts.push_back((same ? "same " : "changed ") + std::string(rows[0].Path()) +
                            std::string(rows[0].SizeText()));
            EXPECT_EQ(rows[0].ListIndex(), found.rows.ListIndex(i));
            EXPECT_EQ(rows[0].IsFolder(), found.rows.IsFolder(i));
        }
        return texts;
    };
    const std::vector<std::string> before = readAll();
    EXPECT_EQ(before[3], "same Dovolená u moře\\Фотографии\\40");

    // One byte more at the top: the stamp differs, and every line moved.
    test::WriteFile(PathOf(0), std::string(" ") + kPhotos);
    std::vector<std::string> after = readAll();
    EXPECT_EQ(after[0], "changed ");
    EXPECT_EQ(after[2], "changed ");
    EXPECT_EQ(std::vector<std::string>(after.begin() + 3, after.end()),
              std::vector<std::string>(before.begin() + 3, before.end()));

    // The same size and time as searched, the lines moved by a byte: no line starts where a
    // hit's did, so nothing is shown rather than another line's text.
    const auto time = std::filesystem::last_write_time(test::FsPath(PathOf(1)));
    std::string shifted = kPhotos;
    shifted.erase(shifted.find("Úvod"), 1);
    shifted.insert(shifted.find("写真"), "_");
    test::WriteFile(PathOf(1), shifted);
    std::filesystem::last_write_time(test::FsPath(PathOf(1)), time);
    after = readAll();
    for (size_t i = 3; i < 6; ++i)
        EXPECT_EQ(after[i], "changed ") << i;

    std::filesystem::remove(test::FsPath(PathOf(0)));
    std::string path;
    SearchHitReader reader(found.rows);
    EXPECT_FALSE(reader.AppendPath(0, path));
    EXPECT_EQ(path, "");
    std::string folder, name;
    EXPECT_FALSE(reader.AppendPathParts(0, &folder, name));
    EXPECT_FALSE(reader.AppendFileName(1, name));
    EXPECT_EQ(folder + name, "");
    std::string_view size = "12";
    EXPECT_FALSE(reader.SizeText(1, size));
    EXPECT_EQ(size, "");
}

TEST(SearchHits, PlacesSurviveAppendAndTruncateAndRefuseWhatTheyCannotHold) {
    SearchHits hits;
    hits.Add(0, true, 0, 0);
    hits.Add(3, false, (int64_t{1} << 39) + 5, 17);
    SearchHits more;
    more.Add(8388607, false, 99, 0);
    more.SetFile(2, {"/data/Seznamy/Ostatní.sez", {10, 20}, TextEncoding::Windows1250, true});
    hits.Append(std::move(more));
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits.ListIndex(1), 3);
    EXPECT_FALSE(hits.IsFolder(1));
    EXPECT_EQ(hits.LineOffset(1), (int64_t{1} << 39) + 5);
    EXPECT_EQ(hits.FolderOffset(1), 17);
    EXPECT_EQ(hits.ListIndex(2), 8388607);
    EXPECT_TRUE(hits.File(2).read);
    EXPECT_EQ(hits.File(2).encoding, TextEncoding::Windows1250);
    EXPECT_FALSE(hits.File(1).read);
    EXPECT_FALSE(hits.File(-1).read);
    hits.Truncate(1);
    EXPECT_EQ(hits.size(), 1u);
    EXPECT_THROW(hits.Add(8388608, true, 0, 0), VypisnikError);
    EXPECT_THROW(hits.Add(0, true, int64_t{1} << 40, 0), VypisnikError);
    EXPECT_EQ(hits.size(), 1u);
}

using test::ScarceMemory;

// Row i of a store made by Rows(first, count): each field different from its neighbours'.
struct Place {
    int32_t list;
    bool folder;
    int64_t line;
    int64_t folderLine;
};
Place PlaceOf(size_t i) {
    return {static_cast<int32_t>(i % 8000000), i % 3 == 0, static_cast<int64_t>(i) * 41 + 7,
            static_cast<int64_t>(i) * 13};
}
SearchHits Rows(size_t first, size_t count) {
    SearchHits hits;
    for (size_t i = first; i < first + count; ++i) {
        const Place place = PlaceOf(i);
        hits.Add(place.list, place.folder, place.line, place.folderLine);
    }
    return hits;
}
// The first row of hits that is not row first + k of Rows, or hits.size().
size_t FirstWrongRow(const SearchHits& hits, size_t first = 0) {
    for (size_t k = 0; k < hits.size(); ++k) {
        const Place place = PlaceOf(first + k);
        if (hits.ListIndex(k) != place.list || hits.IsFolder(k) != place.folder ||
            hits.LineOffset(k) != place.line || hits.FolderOffset(k) != place.folderLine)
            return k;
    }
    return hits.size();
}

// Stores that end inside a piece, at a piece's end and empty, each given rows that fill more
// than a piece: the rows read back in order whether the pieces were handed over or copied.
TEST(SearchHits, RowsAcrossPiecesSurviveEveryWayOfAppending) {
    constexpr size_t kPiece = SearchHits::kPieceRows;
    for (const size_t before : {size_t{0}, size_t{1}, kPiece - 1, kPiece, 2 * kPiece + 17}) {
        for (const size_t added : {size_t{1}, kPiece - before % kPiece, kPiece + 3}) {
            SearchHits hits = Rows(0, before);
            SearchHits more = Rows(before, added);
            more.SetFile(5, {"/data/Seznamy/Záloha Straße.sez", {1, 2}, TextEncoding::Utf8, true});
            hits.Append(std::move(more));
            ASSERT_EQ(hits.size(), before + added) << before << " + " << added;
            EXPECT_EQ(FirstWrongRow(hits), hits.size()) << before << " + " << added;
            EXPECT_TRUE(hits.File(5).read);
            EXPECT_TRUE(more.empty());
            EXPECT_FALSE(hits.OutOfMemory());
            // The store goes on growing where the appended rows end.
            const Place next = PlaceOf(before + added);
            hits.Add(next.list, next.folder, next.line, next.folderLine);
            EXPECT_EQ(FirstWrongRow(hits), hits.size()) << before << " + " << added;
        }
    }
    SearchHits hits = Rows(0, kPiece + 5);
    hits.Truncate(kPiece - 2);
    hits.Append(Rows(kPiece - 2, 10));
    hits.ShrinkToFit();
    EXPECT_EQ(hits.size(), kPiece + 8);
    EXPECT_EQ(FirstWrongRow(hits), hits.size());
    SearchHits moved = std::move(hits);
    EXPECT_EQ(hits.size(), 0u);
    EXPECT_EQ(moved.size(), kPiece + 8);
}

// Out of memory, a store keeps the rows before and drops every row after, appended or added,
// and says so until it is truncated; a store appended to one that ran out passes it on.
TEST(SearchHits, OutOfMemoryKeepsTheRowsBeforeAndDropsTheRest) {
    constexpr size_t kPiece = SearchHits::kPieceRows;
    {
        const ScarceMemory memory(2);
        SearchHits hits = Rows(0, 2 * kPiece + 100);
        EXPECT_TRUE(hits.OutOfMemory());
        EXPECT_EQ(hits.size(), 2 * kPiece);
        EXPECT_EQ(FirstWrongRow(hits), hits.size());
        hits.Add(1, false, 99, 0);
        EXPECT_EQ(hits.size(), 2 * kPiece);
        hits.Truncate(kPiece + 1);
        EXPECT_FALSE(hits.OutOfMemory());
        hits.Add(1, false, 99, 0); // room again in a piece still held

        EXPECT_EQ(hits.size(), kPiece + 2);
        EXPECT_EQ(hits.LineOffset(kPiece + 1), 99);
    }
    {
        // Copied in: the rows that found room stay, in order.
        SearchHits hits = Rows(0, 10);
        SearchHits more = Rows(10, 3 * kPiece);
        const ScarceMemory memory(1);
        hits.Append(std::move(more));
        EXPECT_TRUE(hits.OutOfMemory());
        EXPECT_EQ(hits.size(), 2 * kPiece);
        EXPECT_EQ(FirstWrongRow(hits), hits.size());
    }
    {
        // A part that ran out by itself: its rows join, then nothing more.
        SearchHits part;
        {
            const ScarceMemory memory(1);
            part = Rows(0, kPiece + 1);
        }
        SearchHits hits;
        hits.Append(std::move(part));
        EXPECT_TRUE(hits.OutOfMemory());
        hits.Append(Rows(kPiece, 5));
        EXPECT_EQ(hits.size(), kPiece);
        EXPECT_EQ(FirstWrongRow(hits), hits.size());
    }
}

// A search that runs out of memory ends with the rows that fitted, in order and counted as they
// are, and says so: no row of a list after them joins behind the rows dropped. Another search
// with memory enough finds them all.
TEST_F(SearchHitsFixture, ASearchOutOfMemoryKeepsTheRowsThatFitted) {
    constexpr size_t kPiece = SearchHits::kPieceRows;
    std::string big = "D:\\Fotky\\\t99\r\n";
    for (int folder = 0; folder < 4400; ++folder) {
        big += "Dovolená " + std::to_string(folder) + ".d\\\t0\t2004.1.15\t9:30.00\r\n";
        for (int file = 0; file < 30; ++file)
            big += (file % 2 ? "Größe " : "Москва 東京 ") + std::to_string(file) + ".jpg\t" +
                   std::to_string(file * 1000) + "\t2004.1.15\t9:30.00\r\n";
    }
    AddList("Velký archiv.sez", big);
    AddList("Malý.sez", "E:\\\t10\r\nČeský ráj.jpg\t10\t2001.1.1\t1:00.00\r\n");
    const SearchHitsResult all = SearchListHits(".", AllGroups(), m_registry);
    ASSERT_GT(all.rows.size(), 2 * kPiece);
    EXPECT_FALSE(all.outOfMemory);
    SearchHitsResult some;
    {
        // Two pieces, one of which the small list may take, searched beside the large one.
        const ScarceMemory memory(2);
        some = SearchListHits(".", AllGroups(), m_registry);
    }
    EXPECT_TRUE(some.outOfMemory);
    EXPECT_TRUE(some.stopped);
    EXPECT_TRUE(some.errors.empty());
    ASSERT_TRUE(some.rows.size() == kPiece || some.rows.size() == 2 * kPiece) << some.rows.size();
    EXPECT_EQ(static_cast<size_t>(some.filesFound + some.foldersFound), some.rows.size());
    int32_t folders = 0;
    for (size_t i = 0; i < some.rows.size(); ++i) {
        folders += some.rows.IsFolder(i) ? 1 : 0;
        ASSERT_EQ(some.rows.ListIndex(i), all.rows.ListIndex(i)) << i;
        ASSERT_EQ(some.rows.LineOffset(i), all.rows.LineOffset(i)) << i;
        ASSERT_EQ(some.rows.FolderOffset(i), all.rows.FolderOffset(i)) << i;
    }
    EXPECT_EQ(some.foldersFound, folders);
    const size_t last = some.rows.size() - 1;
    EXPECT_EQ(ReadBack(some.rows, {last})[last], ReadBack(all.rows, {last})[last]);
    EXPECT_EQ(SearchListHits(".", AllGroups(), m_registry).rows.size(), all.rows.size());
}

} // namespace
} // namespace vyp
