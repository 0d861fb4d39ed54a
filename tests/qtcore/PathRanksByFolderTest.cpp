#include "qtcore/PathRanksByFolder.h"

#include "lists/ListFile.h"
#include "qtcore/NameCollator.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace vyp {
namespace {

const QLocale kCzech(QLocale::Czech, QLocale::CzechRepublic);

// Rows as a search gives them: each row's list and whole path, in the lists' file order (a
// folder's own row, then its files).
struct Row {
    int list;
    std::string path;
};

std::string_view FolderOf(std::string_view path) {
    return IsFolderPath(path) ? path : ParentFolderOf(path);
}

// The ranks made folder by folder, the rows' runs (one folder of one list each) split into parts
// of about as many rows, given side by side on threads of their own, blockRuns runs at a time.
std::vector<uint32_t> RanksByFolder(const std::vector<Row>& rows, size_t parts, size_t blockRuns) {
    std::vector<std::string_view> folders;
    std::vector<uint32_t> starts;
    for (size_t row = 0; row < rows.size(); ++row)
        if (row == 0 || rows[row].list != rows[row - 1].list ||
            FolderOf(rows[row].path) != FolderOf(rows[row - 1].path)) {
            starts.push_back(static_cast<uint32_t>(row));
            folders.push_back(FolderOf(rows[row].path));
        }
    std::vector<size_t> partRun(parts + 1, starts.size());
    for (size_t part = 0; part < parts; ++part)
        partRun[part] = static_cast<size_t>(
            std::lower_bound(starts.begin(), starts.end(), rows.size() * part / parts) -
            starts.begin());
    const NameCollator collator(kCzech);
    PathRanksByFolder byFolder(collator, folders, starts, rows.size(), parts);
    if (!byFolder.FollowsTheTree())
        return {};
    std::vector<std::thread> threads;
    for (size_t part = 0; part < parts; ++part)
        threads.emplace_back([&, part] {
            for (size_t first = partRun[part]; first < partRun[part + 1]; first += blockRuns) {
                const size_t last = std::min(partRun[part + 1], first + blockRuns);
                PackedNames names;
                for (size_t row = byFolder.RunStart(first); row < byFolder.RunStart(last); ++row)
                    names.Append(
                        std::string_view(rows[row].path).substr(FolderOf(rows[row].path).size()));
                byFolder.SortRuns(part, first, last, names);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    return byFolder.Ranks();
}

std::vector<uint32_t> RanksOfWholePaths(const std::vector<Row>& rows) {
    std::vector<std::string_view> paths;
    for (const Row& row : rows)
        paths.push_back(row.path);
    return NameCollator(kCzech).Ranks(paths);
}

// A disc as a list gives it: folders, each with its own row and its files, then its subfolders;
// names of Czech, German, French, Cyrillic and Japanese discs, several dots, mixed case.
void AddDisc(std::vector<Row>& rows, int list, int folders) {
    const std::vector<std::string> words = {
        "Žluťoučký kůň", "Größenverhältnis", "Été à Lyon", "Přednáška", "Straße",
        "Noël",          "Dovolená Šumava",  "chata",      "hrad",      "Crème brûlée",
        "Москва",        "東京の写真",       "IMG 2",      "img 10",    "Účetnictví.2023"};
    const std::vector<std::string> extensions = {".jpg", ".tar.gz", ".MP3", ".doc", ""};
    for (int folder = 0; folder < folders; ++folder) {
        const std::string top = "Složka " + std::to_string(folder / 8) + "\\";
        const std::string own = top + words[static_cast<size_t>(folder) % words.size()] + " " +
                                std::to_string(folder % 5) + "\\";
        rows.push_back({list, own});
        for (int file = 0; file < 1 + (folder * 7) % 23; ++file)
            rows.push_back({list, own +
                                      words[static_cast<size_t>(folder + file * 3) % words.size()] +
                                      " " + std::to_string(file % 4) +
                                      extensions[static_cast<size_t>(file) % extensions.size()]});
        // A subfolder whose name sorts among the folder's files.
        if (folder % 3 == 0) {
            const std::string sub =
                own + words[static_cast<size_t>(folder + 1) % words.size()] + "\\";
            rows.push_back({list, sub});
            rows.push_back({list, sub + "Übersicht.pdf"});
            rows.push_back({list, sub + "čaj.txt"});
        }
    }
}

// The ranks folder by folder are those of the whole paths: a subfolder's rows where the whole
// paths put them among the files of the folder above ("Fotky\b.txt", "Fotky\b\c.txt",
// "Fotky\bz.txt"), the same disc in two lists (equal paths sharing a rank), parts and blocks of
// any size, a folder of more files than a block holds.
TEST(PathRanksByFolder, AreThoseOfTheWholePaths) {
    const std::vector<Row> interleaved = {{0, "E:\\Archiv.2024\\"},
                                          {0, "Fotky\\"},
                                          {0, "Fotky\\b.txt"},
                                          {0, "Fotky\\bz.txt"},
                                          {0, "Fotky\\Béčko.jpg"},
                                          {0, "Fotky\\čaj.doc"},
                                          {0, "Fotky\\B.TXT"},
                                          {0, "Fotky\\b\\"},
                                          {0, "Fotky\\b\\c.txt"},
                                          {0, "Fotky\\b\\Čáp.jpg"},
                                          {0, "Fotky\\bz.v\\"},
                                          {0, "Fotky\\bz.v\\Ärger.txt"},
                                          {0, "Fotky\\chata\\"},
                                          {0, "Fotky\\chata\\Noël.avi"},
                                          {0, "Fotky\\hrad.jpg"},
                                          {0, "Москва\\"},
                                          {0, "Москва\\Красная площадь.avi"},
                                          {0, "東京の写真\\"},
                                          {0, "東京の写真\\写真 1.jpg"}};
    // Files of a folder after its subfolder's rows in the list (the folder's line comes again).
    std::vector<Row> again = interleaved;
    again.push_back({0, "Fotky\\"});
    again.push_back({0, "Fotky\\bb.txt"});
    EXPECT_EQ(RanksByFolder(interleaved, 1, 1), RanksOfWholePaths(interleaved));
    EXPECT_EQ(RanksByFolder(again, 2, 1), RanksOfWholePaths(again));

    std::vector<Row> discs;
    AddDisc(discs, 0, 600);
    AddDisc(discs, 1, 600); // a backup of the same disc
    const std::vector<uint32_t> whole = RanksOfWholePaths(discs);
    EXPECT_EQ(RanksByFolder(discs, 1, 1000), whole);
    EXPECT_EQ(RanksByFolder(discs, 2, 7), whole);
    EXPECT_EQ(RanksByFolder(discs, 3, 1), whole);

    std::vector<Row> large;
    AddDisc(large, 0, 40);
    for (int file = 0; file < 70000; ++file)
        large.push_back({0, "Hudba\\" + std::string(file % 2 ? "Píseň " : "píseň ") +
                                std::to_string(file % 997) + (file % 3 ? ".mp3" : ".FLAC")});
    AddDisc(large, 0, 40);
    EXPECT_EQ(RanksByFolder(large, 2, 3), RanksOfWholePaths(large));
}

// Where the whole paths do not follow the tree of folders (folders whose names differ only in
// case interleave: "foto\a" before "Foto\b" before "foto\b"), the ranks are never wrong: empty,
// so that the whole paths are ranked instead.
TEST(PathRanksByFolder, AreNeverWrongWhereTheTreeIsNotTheOrder) {
    const std::vector<Row> rows = {{0, "Foto\\"}, {0, "Foto\\a.jpg"}, {0, "Foto\\b.jpg"},
                                   {1, "foto\\"}, {1, "foto\\a.jpg"}, {1, "foto\\b.jpg"}};
    const std::vector<uint32_t> ranks = RanksByFolder(rows, 1, 1);
    EXPECT_TRUE(ranks.empty() || ranks == RanksOfWholePaths(rows));
}

} // namespace
} // namespace vyp
