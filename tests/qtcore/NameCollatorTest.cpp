#include "qtcore/NameCollator.h"

#include "lists/ListFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace vyp {
namespace {

const QLocale kCzech(QLocale::Czech, QLocale::CzechRepublic);

TEST(NameCollator, CzechOrderWithCaseAndTheGivenOrderOfEqualNames) {
    const NameCollator collator(kCzech);
    EXPECT_LT(collator.Compare("hrad", "chata"), 0); // "ch" is one letter, after "h"
    EXPECT_LT(collator.Compare("cesta", "čaj"), 0);
    EXPECT_LT(collator.Compare("zebra", "žába"), 0);
    EXPECT_LT(collator.Compare("img 2.jpg", "IMG 2.jpg"), 0); // case counts, lower first
    EXPECT_EQ(collator.Compare("e\xcc\x81", "\xc3\xa9"), 0);  // é written in two ways
    const std::vector<std::string_view> names = {"Účetnictví", "chata", "\xc3\xa9", "Hudba",
                                                 "e\xcc\x81",  "abc",   "Cihla"};
    EXPECT_EQ(collator.StableOrder(names), (std::vector<size_t>{5, 6, 2, 4, 3, 1, 0}));
}

// The ranks must be those of one collator comparing all the names, equal names sharing a rank,
// whatever the quick ordering before the collator's check got wrong.
void ExpectRanksOfOneCollator(const std::vector<std::string>& names) {
    const NameCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const std::vector<std::string_view> views(names.begin(), names.end());
    const std::vector<uint32_t> ranks = collator.Ranks(views);
    ASSERT_EQ(ranks.size(), names.size());
    std::vector<size_t> byRank(names.size());
    std::iota(byRank.begin(), byRank.end(), size_t{0});
    std::stable_sort(byRank.begin(), byRank.end(),
                     [&](size_t a, size_t b) { return ranks[a] < ranks[b]; });
    for (size_t i = 1; i < byRank.size(); ++i) {
        const std::string& before = names[byRank[i - 1]];
        const std::string& after = names[byRank[i]];
        const int order = collator.Compare(before, after);
        ASSERT_EQ(order < 0, ranks[byRank[i - 1]] < ranks[byRank[i]]) << before << " / " << after;
        ASSERT_EQ(order == 0, ranks[byRank[i - 1]] == ranks[byRank[i]]) << before << " / " << after;
    }
}

// Paths of many folders, some of them folders themselves ("...\"), built from words.
std::vector<std::string> PathsOf(const std::vector<std::string>& words, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(words[static_cast<size_t>(i * 7919) % words.size()] + "\\" +
                        words[static_cast<size_t>(i) % words.size()] + " " +
                        std::to_string((i * 31) % 500) + (i % 5 == 0 ? "\\" : ""));
    return names;
}

// Czech "ch" (one letter, after "h"), "ß", case, accents written as one character or as a letter
// and a combining mark (which the collator finds equal), invalid UTF-8, characters beyond U+FFFF,
// folders among the files of their parent: a few such names among many, and many.
TEST(NameCollatorRanks, AgreeWithOneCollatorWhateverTheQuickOrderGotWrong) {
    std::vector<std::string> plain;
    for (const char* word : {"Dovolená", "Fotky", "Hudba", "Účetnictví", "Zálohy", "Фото", "東京",
                             "IMG 2.jpg", "img 10.jpg", "Dům.tar.gz", "DŮM", "Noël"})
        plain.emplace_back(word);
    const std::vector<std::string> awkward = {
        "chata",     "Cihla",    "čokoláda", "hrad",
        "straße",    "Strasse",  "Straße",   "ábc",
        "abc",       "Archiv",   "Ardea",    "Arch\\Ivo",
        "e\xcc\x81", "\xc3\xa9", "x\xff",    "\xf0\x9f\x93\xb7 Foto"};
    std::vector<std::string> mostlyPlain = PathsOf(plain, 30000);
    for (size_t i = 0; i < mostlyPlain.size(); i += 61)
        mostlyPlain[i] = plain[i % plain.size()] + "\\" + awkward[i % awkward.size()];
    ExpectRanksOfOneCollator(mostlyPlain);
    std::vector<std::string> all = plain;
    all.insert(all.end(), awkward.begin(), awkward.end());
    ExpectRanksOfOneCollator(PathsOf(all, 30000));
}

// The collator's check reads each name as the collator sees it: characters beyond U+FFFF (a
// mathematical digit sorts among the digits) as surrogate pairs, a byte order mark and a
// noncharacter as they are, bytes that are not UTF-8 (a Windows-1250 name among UTF-8 ones) as Utf8
// shows them, next to names that differ from them only there.
TEST(NameCollatorRanks, NamesReadAsTheCollatorSeesThem) {
    const std::vector<std::string> odd = {"\xef\xbb\xbf"
                                          "Fotky",
                                          "Fotky",
                                          "\xef\xbf\xbf"
                                          "Fotky",
                                          "Fotky\xef\xbb\xbf",
                                          "\xf0\xa0\x80\x8b",
                                          "\xe4\xb8\x80",
                                          "\xf0\x9f\x93\xb7 Léto",
                                          "\xf0\x9d\x9f\x8e Léto", // a bold digit 0
                                          "1 Léto",
                                          "A Léto",
                                          "\xef\xbf\xbd Léto",
                                          "L\xe9to",
                                          "Léto",
                                          "L\xc3\xa9to\xc3",
                                          "\xed\xa0\x80 Léto",
                                          "\xc0\xaf Noël",
                                          "/ Noël",
                                          "Москва\\Красная площадь",
                                          "Москва\\красная площадь"};
    std::vector<std::string> names;
    for (int i = 0; i < 2000; ++i)
        names.push_back("Archiv " + std::to_string(i % 7) + "\\" +
                        odd[static_cast<size_t>(i) % odd.size()] +
                        (i % 3 == 0 ? "" : " " + std::to_string(i % 11)));
    ExpectRanksOfOneCollator(names);
}

// Whole paths given by folder and name as a table of found rows gives them: a folder row is its
// own folder with no name, each folder text once per list it comes from (lists gives each
// path's list), so that the same text may be two folders.
struct SplitPaths {
    std::vector<std::string> texts;
    FolderedPaths paths;
};

SplitPaths SplitByFolder(const std::vector<std::string>& whole, const std::vector<int>& lists) {
    SplitPaths split;
    std::vector<std::pair<int, std::string>> keys;
    std::vector<size_t> nameStart;
    for (size_t row = 0; row < whole.size(); ++row) {
        const std::string_view path = whole[row];
        const size_t start = IsFolderPath(path) ? path.size() : ParentFolderOf(path).size();
        const std::pair<int, std::string> key{lists[row], std::string(path.substr(0, start))};
        auto found = std::find(keys.begin(), keys.end(), key);
        if (found == keys.end()) {
            keys.push_back(key);
            found = keys.end() - 1;
        }
        split.paths.folderOf.push_back(static_cast<uint32_t>(found - keys.begin()));
        nameStart.push_back(start);
    }
    split.texts.reserve(keys.size());
    for (const auto& key : keys)
        split.texts.push_back(key.second);
    for (const std::string& text : split.texts)
        split.paths.folders.emplace_back(text);
    for (size_t row = 0; row < whole.size(); ++row)
        split.paths.names.Append(std::string_view(whole[row]).substr(nameStart[row]));
    return split;
}

// The ranks of paths given by folder and name must be those of their whole paths, exactly:
// where the tree of folders is not the collation's order ("ab.c\x" before "ab\y", as "."
// comes before "\"), folders that differ only in case or accents and so interleave, Czech "ch",
// "ß", the same path in two lists, files at the top beside folders, and empty paths (rows of a
// list changed since the search).
void ExpectRanksOfWholePaths(const std::vector<std::string>& whole) {
    std::vector<int> lists(whole.size());
    for (size_t row = 0; row < whole.size(); ++row)
        lists[row] = static_cast<int>(row % 3);
    const SplitPaths split = SplitByFolder(whole, lists);
    ASSERT_LT(split.paths.folders.size(), whole.size());
    for (size_t row = 0; row < whole.size(); ++row) {
        std::string buffer;
        ASSERT_EQ(split.paths.Path(row, buffer), whole[row]);
    }
    const NameCollator collator(kCzech);
    const std::vector<std::string_view> views(whole.begin(), whole.end());
    EXPECT_EQ(collator.Ranks(split.paths), collator.Ranks(views));
    ExpectRanksOfOneCollator(whole);
}

std::vector<std::string> AwkwardFolders(int count) {
    const std::vector<std::string> folders = {"",
                                              "ab\\",
                                              "ab.c\\",
                                              "ab c\\",
                                              "Foto\\",
                                              "foto\\",
                                              "Fóto\\",
                                              "Foto\\2024\\",
                                              "fóto\\2024\\",
                                              "chata\\",
                                              "Cihla\\",
                                              "hrad\\",
                                              "Straße\\",
                                              "Strasse\\",
                                              "E:\\Archiv.2024\\",
                                              "Москва\\",
                                              "москва\\",
                                              "東京の写真\\",
                                              "Disk",
                                              "Noël\\Été à Lyon\\",
                                              "Noel\\Ete a Lyon\\",
                                              "Účetnictví\\2023\\",
                                              "ucetnictvi\\2023\\"};
    const std::vector<std::string> names = {"x",
                                            "y",
                                            "a.txt",
                                            "A.txt",
                                            "á.txt",
                                            "chata.doc",
                                            "hrad.doc",
                                            "Cihla.doc",
                                            "Größenverhältnis.pdf",
                                            "Fußball 3.mp3",
                                            "Fussball 3.mp3",
                                            "Žluťoučký kůň.jpg",
                                            "Crème brûlée.tar.gz",
                                            "Красная площадь.avi",
                                            "写真 1.jpg",
                                            "c\\",
                                            "sub\\",
                                            "Sub\\",
                                            "",
                                            "IMG 2.jpg",
                                            "img 10.jpg"};
    std::vector<std::string> whole;
    for (int i = 0; i < count; ++i) {
        const std::string& folder = folders[static_cast<size_t>(i * 7919) % folders.size()];
        const std::string& name = names[static_cast<size_t>(i) % names.size()];
        whole.push_back(folder + name + (i % 13 == 0 ? " " + std::to_string(i % 7) : ""));
    }
    return whole;
}

TEST(NameCollatorPathRanks, AreThoseOfTheWholePaths) {
    ExpectRanksOfWholePaths({"ab.c\\x", "ab\\y", "ab\\", "ab.c\\", "Foto\\b", "foto\\a", "Fóto\\a",
                             "Foto\\", "foto\\", "Fóto\\", "chata\\a", "hrad\\a", "Straße\\a",
                             "Strasse\\a", "Straße\\", "a.txt", "", "", "Foto\\b"});
    ExpectRanksOfWholePaths(AwkwardFolders(500));
    ExpectRanksOfWholePaths(AwkwardFolders(70000)); // in parts, names in two segments
}

} // namespace
} // namespace vyp
