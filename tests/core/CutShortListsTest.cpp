// Lists cut short in place by another program (truncated, saved over) while their mapped bytes
// are read: every reader goes on, treats the list as changed and hands on nothing made of the
// zeros that stand where the file's bytes were.
#include "TestSupport.h"

#include "lists/ListRegionReader.h"
#include "lists/ListRegistry.h"
#include "lists/MappedLineRegions.h"
#include "platform/Files.h"
#include "search/DuplicateSearch.h"
#include "search/ListSearch.h"
#include "search/SearchHitReader.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vyp {
namespace {

#ifndef _WIN32
// A list of a few megabytes as a photo and music disk gives it: folders with accents, Cyrillic
// and CJK, names with spaces and several dots, mixed case; a ".JPG" or ".jpg" on every few lines.
std::string DiskList(size_t size, unsigned seed) {
    const char* folders[] = {"Dovolená u moře\\", "Dovolená u moře\\Фотографии\\",
                             "Straße nach München\\", "写真 東京\\2019.Léto\\", "Noël à Paris\\"};
    const char* names[] = {"Été 2019.Côte d'Azur.JPG",
                           "Žluťoučký kůň.mp3",
                           "Übersicht.Bestellungen.pdf",
                           "Москва.ночью.jpg",
                           "東京タワー.jpeg",
                           "archiv.2019.tar.gz",
                           "README"};
    std::mt19937 random(seed);
    std::string bytes = "E:\\\t987654321\r\n";
    int serial = 0;
    while (bytes.size() < size) {
        if (random() % 40 == 0) {
            bytes += folders[random() % 5];
            bytes += "\t0\t2021.3.3\t3:3.4\r\n";
        }
        bytes += std::to_string(++serial) + " " + names[random() % 7];
        bytes += "\t" + std::to_string(1000 + random() % 5000) + "\t2018.4.24\t4:38.20\r\n";
    }
    return bytes;
}

void CutShortInPlace(const std::string& path, off_t size) {
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

// The message of a list the search could not read to its end.
std::string CutShortError(const std::string& path) {
    return "Cannot open file \"" + path + "\". Input/output error";
}
#endif

// Lists in a temporary folder, registered in one group.
class CutShortLists : public ::testing::Test {
protected:
    std::string AddList(const std::string& fileName, const std::string& bytes, int group = 8) {
        const std::string path = m_dir / fileName;
        test::WriteFile(path, bytes);
        test::RegisterList(m_registry, fileName, path, group);
        return path;
    }
    static GroupFilter AllGroups() { return {true, true, true, true, true, true, true}; }

    test::TempDir m_dir;
    ListRegistry m_registry;
};

TEST_F(CutShortLists, RegionsPastTheNewEndAreNotTheFilesAndTheRegionsSaySo) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    const std::string file = DiskList(3 << 20, 1);
    // Cut in the first window, where the windows after it find the file ended, and in a later
    // one.
    for (const size_t cut : {size_t{300001}, size_t{1500001}}) {
        const std::string path = AddList("Záloha " + std::to_string(cut) + ".sez", file);
        InputFile input;
        ASSERT_EQ(input.Open(path, true), 0);
        MappedLineRegions regions(size_t{1} << 17, size_t{1} << 20);
        ASSERT_TRUE(regions.Start(input, 0, -1));
        std::string_view lines;
        int64_t offset = 0;
        ASSERT_TRUE(regions.Next(lines, offset));
        EXPECT_TRUE(lines == std::string_view(file).substr(0, lines.size()));
        CutShortInPlace(path, static_cast<off_t>(cut));
        size_t whole = 0;
        while (regions.Next(lines, offset)) {
            if (!regions.CutShort()) {
                EXPECT_TRUE(lines == std::string_view(file).substr(static_cast<size_t>(offset),
                                                                   lines.size()));
                ++whole;
            }
        }
        EXPECT_TRUE(regions.CutShort()) << cut;
        EXPECT_GT(whole, 0u);

        // A list read region by region stops with the message of a list it cannot read.
        test::WriteFile(path, file);
        ListRegionReader reader(path);
        ListRegion region;
        ASSERT_TRUE(reader.Next(region));
        CutShortInPlace(path, static_cast<off_t>(cut));
        try {
            while (reader.Next(region)) {
                EXPECT_EQ(region.lines.find('\0'), std::string_view::npos);
            }
            ADD_FAILURE() << "read to the end of a list cut short at " << cut;
        } catch (const VypisnikError& error) {
            EXPECT_EQ(error.what(), CutShortError(path));
        }
    }
#endif
}

#ifndef _WIN32
// A row as the command line prints it, every field.
void RowText(const SearchRowTexts& row, std::string& out) {
    std::string time(row.time);
    std::replace(time.begin(), time.end(), '.', ':');
    out.append(std::to_string(row.listIndex))
        .append(row.isFolder ? " D " : " F ")
        .append(row.folder)
        .append(row.name)
        .append("|")
        .append(row.size)
        .append("|")
        .append(row.date)
        .append("|")
        .append(time)
        .append("\n");
}
#endif

TEST_F(CutShortLists, ThePrintedSearchNamesTheListAndPrintsNoRowOfWhatWasCutAway) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    const std::string cutBytes = DiskList(3 << 20, 2);
    const std::string cutPath = AddList("Záloha.sez", cutBytes);
    AddList("Originál.sez", DiskList(1 << 20, 3));
    // An ASCII text, whose rows may go out at once, and one with accents, whose rows wait for
    // the list's encoding.
    // Few rows are held for the list's encoding, so that they are made while it is read.
    for (const std::string text : {"jpg", "Dovolená"}) {
        // Where the text ends in each line that holds it (ASCII letters in either case).
        std::vector<size_t> matchEnds;
        for (size_t start = cutBytes.find('\n') + 1; start < cutBytes.size();) {
            const size_t end = cutBytes.find('\n', start) + 1;
            std::string line = cutBytes.substr(start, end - start);
            std::transform(line.begin(), line.end(), line.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
            std::string lower = text;
            lower[0] = static_cast<char>(std::tolower(lower[0]));
            if (const size_t at = line.find(lower); at != std::string::npos)
                matchEnds.push_back(start + at + text.size());
            start = end;
        }
        // While the row of a match past the middle is made, the list is cut just after the
        // text of the third match on: the search reads on into the cut in the same region, and
        // that line reads on into zeros.
        const size_t cutRow = static_cast<size_t>(
            std::upper_bound(matchEnds.begin(), matchEnds.end(), cutBytes.size() / 2) -
            matchEnds.begin());
        ASSERT_LT(cutRow + 3, matchEnds.size());
        const size_t cut = matchEnds[cutRow + 3] + 1;
        test::WriteFile(cutPath, cutBytes);
        auto search = [&](bool cutting) {
            std::string printed;
            std::atomic<size_t> rowsMade{0};
            SearchCounts counts = SearchListsInOrder(
                text, AllGroups(), m_registry, {0, 1},
                [&](const SearchRowTexts& row, std::string& out) {
                    if (cutting && row.listIndex == 0 && rowsMade++ == cutRow)
                        CutShortInPlace(cutPath, static_cast<off_t>(cut));
                    RowText(row, out);
                },
                [&](std::string_view piece) { printed += piece; }, 1024, int64_t{64} << 20);
            return std::pair(printed, counts);
        };
        const auto [whole, wholeCounts] = search(false);
        ASSERT_TRUE(wholeCounts.errors.empty());
        const auto [printed, counts] = search(true);
        EXPECT_EQ(counts.errors, std::vector<std::string>{CutShortError(cutPath)}) << text;
        EXPECT_EQ(printed.find('\0'), std::string::npos);
        // The cut list's rows up to somewhere before the cut, then the other list whole.
        const size_t otherStart = whole.find("\n1 ") + 1;
        const std::string otherRows = whole.substr(otherStart);
        ASSERT_GE(printed.size(), otherRows.size());
        EXPECT_TRUE(printed.substr(printed.size() - otherRows.size()) == otherRows) << text;
        const std::string cutRows = printed.substr(0, printed.size() - otherRows.size());
        EXPECT_LT(cutRows.size(), otherStart) << text;
        EXPECT_TRUE(whole.substr(0, cutRows.size()) == cutRows) << text;
        EXPECT_EQ(static_cast<size_t>(counts.filesFound + counts.foldersFound),
                  static_cast<size_t>(std::count(printed.begin(), printed.end(), '\n')));
    }
#endif
}

TEST_F(CutShortLists, RowsReadBackFromAListCutShortAreEmptyFromThereOn) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    const std::string cutBytes = DiskList(3 << 20, 4);
    const std::string cutPath = AddList("写真 東京.2019.sez", cutBytes);
    AddList("Straße.sez", DiskList(1 << 20, 5));
    const SearchResult rows = SearchLists("jpg", AllGroups(), m_registry);
    const SearchHitsResult hits = SearchListHits("jpg", AllGroups(), m_registry);
    ASSERT_EQ(hits.rows.size(), rows.rows.size());
    SearchHitReader reader(hits.rows);
    SearchRows read;
    size_t listRows = 0;
    for (size_t i = 0; i < hits.rows.size(); ++i)
        listRows += hits.rows.ListIndex(i) == 0 ? 1 : 0;
    size_t first = 0; // of the cut list's rows, the first read as changed
    size_t changed = 0;
    for (size_t i = 0; i < hits.rows.size(); ++i) {
        // A quarter into the list's rows, while its windows are read in file order.
        if (i == listRows / 4)
            CutShortInPlace(cutPath, static_cast<off_t>(cutBytes.size() / 2));
        const bool same = reader.Read(i, read);
        const SearchRow row = read[read.size() - 1];
        if (row.ListIndex() == 1) {
            EXPECT_TRUE(same);
        } else if (!same && changed++ == 0) {
            first = i;
        }
        if (same) {
            EXPECT_EQ(row.Path(), rows.rows[i].Path());
            EXPECT_EQ(row.SizeText(), rows.rows[i].SizeText());
            EXPECT_EQ(row.TimeText(), rows.rows[i].TimeText());
        } else {
            EXPECT_EQ(row.Path(), "");
            EXPECT_EQ(row.SizeText(), "");
            EXPECT_EQ(row.DateText(), "");
        }
        EXPECT_EQ(row.Path().find('\0'), std::string_view::npos);
    }
    ASSERT_GT(changed, 0u);
    // From the first row read as changed on, every row of the list is; and rows after the cut
    // were read whole before it was met.
    EXPECT_EQ(changed, listRows - first);
    EXPECT_GT(first, listRows / 4);
    std::string path = "před ";
    EXPECT_FALSE(reader.AppendPath(0, path));
    EXPECT_EQ(path, "před ");
#endif
}

TEST_F(CutShortLists, DuplicatesLeaveOutAListCutShortWhileItIsReadAndNameIt) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    // A long list, cut once its reading began, and two lists with copies of each other and of
    // the long list's first lines, in a group of their own.
    const std::string cutBytes = DiskList(16 << 20, 6);
    const std::string cutPath = AddList("Záloha.sez", cutBytes);
    const std::string original = DiskList(1 << 20, 6);
    AddList("Originál.sez", original, 2);
    AddList("Jiný.sez", original, 2);
    DuplicateQuery others;
    others.groups = {true, false, false, false, false, false, false};
    const DuplicateResult expected = FindDuplicates(m_registry, others);
    ASSERT_GT(expected.sets.size(), 100u);
    DuplicateResult found;
    // Cut while the list is read, or once it was and before it is read again: it is left out the
    // same way either way. Tried again should the search be over before the cut.
    for (int attempt = 0; attempt < 5; ++attempt) {
        test::WriteFile(cutPath, cutBytes);
        std::atomic<uint64_t> linesRead{0};
        std::atomic<bool> searched{false};
        std::atomic<bool> cutInTime{false};
        std::thread cutter([&] {
            // More lines than the other two lists hold: the long one is being read.
            while (linesRead.load() < 60000 && !searched.load())
                std::this_thread::yield();
            CutShortInPlace(cutPath, static_cast<off_t>(cutBytes.size() / 3));
            cutInTime = !searched.load();
        });
        found = FindDuplicates(m_registry, {}, {}, &linesRead);
        searched = true;
        cutter.join();
        if (cutInTime)
            break;
    }
    EXPECT_EQ(found.errors, std::vector<std::string>{ListChangedWhileReadText("Záloha")});
    ASSERT_EQ(found.copies.size(), expected.copies.size());
    for (size_t i = 0; i < found.copies.size(); ++i) {
        EXPECT_EQ(found.copies[i].ListIndex(), expected.copies[i].ListIndex());
        EXPECT_EQ(found.copies[i].Path(), expected.copies[i].Path());
    }
    EXPECT_EQ(found.sets.size(), expected.sets.size());
    EXPECT_EQ(found.wasted, expected.wasted);
#endif
}

} // namespace
} // namespace vyp
