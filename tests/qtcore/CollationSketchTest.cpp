#include "qtcore/CollationSketch.h"
#include "qtcore/NameCollator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vyp {
namespace {

QCollator CzechCollator() {
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

std::vector<std::string> InSketchOrder(const std::vector<std::string>& names) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    const CollationSketch sketch(CzechCollator(), views);
    std::vector<std::string> ordered;
    for (uint32_t i : sketch.Order(views))
        ordered.push_back(names[i]);
    return ordered;
}

int Sign(int order) {
    return (order > 0) - (order < 0);
}

// Builds the sketch of names and expects it to order every pair as the Czech collator does.
CollationSketch ExpectSketchOrdersAsTheCollator(const std::vector<std::string>& names) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    const QCollator collator = CzechCollator();
    CollationSketch sketch(collator, views);
    for (const std::string& a : names)
        for (const std::string& b : names)
            EXPECT_EQ(Sign(sketch.Compare(a, b)),
                      Sign(collator.compare(QString::fromUtf8(a), QString::fromUtf8(b))))
                << a << " / " << b;
    return sketch;
}

// Every character is placed by the collator: case and accents count after the letter, and so
// do characters beyond U+FFFF.
TEST(CollationSketch, SingleCharactersComeInTheCollatorsOrder) {
    const std::vector<std::string> characters = {"a",
                                                 "A",
                                                 "á",
                                                 "Á",
                                                 "b",
                                                 "c",
                                                 "C",
                                                 "č",
                                                 "Č",
                                                 "d",
                                                 "ď",
                                                 "h",
                                                 "i",
                                                 "í",
                                                 "s",
                                                 "š",
                                                 "z",
                                                 "ž",
                                                 "Ω",
                                                 "я",
                                                 "Я",
                                                 "東",
                                                 "\xf0\x9f\x93\xb7",
                                                 "0",
                                                 "9",
                                                 " ",
                                                 "."};
    const CollationSketch sketch = ExpectSketchOrdersAsTheCollator(characters);
    // The letter first: "áb" after "Ab" although "á" comes after "A".
    EXPECT_LT(sketch.Compare("Ab", "ác"), 0);
    EXPECT_LT(sketch.Compare("ab", "Ab"), 0);
}

// Czech "ch" is one letter after "h" and "ß" counts as "ss": the sketch takes "ch" letter by
// letter and "ß" as a letter of its own after "s", and the collator's ranks put right what it
// got wrong.
TEST(CollationSketch, CzechChAndSharpSAreLeftToTheCollator) {
    const std::vector<std::string> names = {"hrad",    "chata",  "cesta", "Straße",
                                            "Strasse", "Strasf", "Cihla", "čaj"};
    EXPECT_EQ(InSketchOrder(names),
              (std::vector<std::string>{"cesta", "chata", "Cihla", "čaj", "hrad", "Strasf",
                                        "Strasse", "Straße"}));
    const std::vector<std::string_view> views(names.begin(), names.end());
    std::vector<std::string> ranked;
    for (size_t i :
         NameCollator(QLocale(QLocale::Czech, QLocale::CzechRepublic)).StableOrder(views))
        ranked.push_back(names[i]);
#ifdef _WIN32
    // Windows' own collation takes "ß" and "ss" as equal letters and tells them apart in a way
    // of its own: which of the two comes first is the system's call.
    if (ranked.size() == 8 && ranked[6] == "Straße")
        std::swap(ranked[6], ranked[7]);
#endif
    EXPECT_EQ(ranked, (std::vector<std::string>{"cesta", "Cihla", "čaj", "hrad", "chata", "Strasf",
                                                "Strasse", "Straße"}));
}

// "é" as one character and as "e" with a combining accent are equal to the collator: the sketch
// keeps them side by side, between "e" and "f", so the collator's check of neighbours sees it.
TEST(CollationSketch, CanonicallyEqualAccentsStaySideBySide) {
    const std::string composed = "Caf\xc3\xa9", decomposed = "Cafe\xcc\x81";
    const std::vector<std::string> ordered =
        InSketchOrder({"Caff", decomposed, "Cafe", composed, "Cafd"});
    ASSERT_EQ(ordered.size(), 5u);
    EXPECT_EQ(ordered[0], "Cafd");
    EXPECT_EQ(ordered[1], "Cafe");
    EXPECT_TRUE((ordered[2] == composed && ordered[3] == decomposed) ||
                (ordered[2] == decomposed && ordered[3] == composed))
        << ordered[2] << " / " << ordered[3];
    EXPECT_EQ(ordered[4], "Caff");
}

// A list written under Czech Windows settings and read as UTF-8 holds bytes that start no
// character: each stands for U+FFFD, as the collator sees the name after decoding.
TEST(CollationSketch, BytesThatAreNotUtf8CountAsReplacementCharacters) {
    const std::string windows1250 = "Kr\xe1sn\xe9 n\xe1"
                                    "dra\x9e\xed";
    const std::string replaced = "Kr\xef\xbf\xbdsn\xef\xbf\xbd n\xef\xbf\xbd"
                                 "dra\xef\xbf\xbd\xef\xbf\xbd";
    const std::vector<std::string> names = {windows1250, "Krasne", "Krb", "Kr"};
    const std::vector<std::string_view> views(names.begin(), names.end());
    const QCollator collator = CzechCollator();
    const CollationSketch sketch(collator, views);
    EXPECT_EQ(sketch.Compare(windows1250, replaced), 0);
    for (const std::string& other : names)
        EXPECT_EQ(Sign(sketch.Compare(windows1250, other)),
                  Sign(collator.compare(QString::fromUtf8(windows1250), QString::fromUtf8(other))))
            << other;
}

// Paths of one folder come one after another, sharing most of their bytes; a character first
// met right where a path parts from the one before it is placed all the same: after a shared
// lead byte (Cyrillic "Б" after "А", CJK "浜" after "海"), and where the shorter path ends in the
// first byte of a character the longer one goes on with ("Kr\xC3" after "Kr\xC3\xA1sa").
TEST(CollationSketch, CharactersFirstMetWherePathsPartAreCounted) {
    const std::vector<std::string> names = {
        "Dokumenty\\Отчёт А.txt",      "Dokumenty\\Отчёт Б.txt",  "Dokumenty\\Отчёт .txt",
        "Fotky\\写真\\夏\\海.jpg",     "Fotky\\写真\\夏\\浜.jpg", "Fotky\\写真\\夏\\.jpg",
        "Zálohy\\Kr\xc3\xa1sa.tar.gz", "Zálohy\\Kr\xc3",          "Zálohy\\Kr",
        "Zálohy\\Élève Müller.odt",    "Zálohy\\Élève Mxller.odt"};
    ExpectSketchOrdersAsTheCollator(names);
}

// A soft hyphen inside a name counts for nothing with the collator (ICU's and Windows' alike), and
// so with the sketch: the name stays beside the one without it instead of going before others.
TEST(CollationSketch, CharactersTheCollatorIgnoresArePassedOver) {
    const std::string hyphenated = "Pro\xc2\xad"
                                   "gram.txt";
    const std::vector<std::string> names = {"Prim.txt", hyphenated, "Program.txt",
                                            "Prz.txt",  "\xc2\xad", "Pr"};
    ExpectSketchOrdersAsTheCollator(names);
}

// Paths are put in order as a tree: a folder ("Zálohy\") comes first among its own entries and
// its whole tree stands where its name sorts among the files and folders beside it, also when
// the folder has no name of its own among the paths ("Dokumenty\").
TEST(CollationSketch, FoldersAmongFilesAsATree) {
    EXPECT_EQ(
        InSketchOrder({"Zálohy\\c.txt", "Zálohy\\", "Zálohy\\Archiv\\z.txt", "a.txt",
                       "Zálohy\\Archiv\\", "Dokumenty\\Účty 2024.ods", "Zálohy\\b.txt",
                       "Zálohy\\Archiv\\A.txt", "Bílá.txt"}),
        (std::vector<std::string>{"a.txt", "Bílá.txt", "Dokumenty\\Účty 2024.ods", "Zálohy\\",
                                  "Zálohy\\Archiv\\", "Zálohy\\Archiv\\A.txt",
                                  "Zálohy\\Archiv\\z.txt", "Zálohy\\b.txt", "Zálohy\\c.txt"}));
}

// Enough paths to be read in parts side by side: folders come back after other folders, across
// the middle of the list, and some are first met (with or without a row of their own) late,
// below folders met early. The walk must still be the tree: entries of a folder after the
// folder's own row, each level in the sketch's order.
TEST(CollationSketch, ManyPathsReadInPartsAsATree) {
    const std::vector<std::string> early = {"Hudba\\Dvořák\\Symfonie č. 9\\",
                                            "Hudba\\Smetana\\Má vlast\\",
                                            "Dokumente\\Müller GmbH\\Rechnungen 2024\\",
                                            "Photos\\Été à Paris\\",
                                            "Фото\\Москва 2023\\",
                                            "写真\\東京\\"};
    const std::vector<std::string> late = {"Hudba\\Dvořák\\Rusalka\\", "写真\\東京\\夜景\\",
                                           "Dokumente\\Straße.Nr 5\\"};
    const std::vector<std::string> stems = {"Píseň", "Größe", "Crème brûlée",
                                            "Дача",  "花火",  "README"};
    std::vector<std::string> names;
    for (size_t k = 0; k < 36000; ++k) {
        const bool isLate = k >= 20000 && (k / 700) % 2 == 1;
        const std::vector<std::string>& folders = isLate ? late : early;
        const std::string& folder = folders[(k / 700) % folders.size()];
        if (k % 700 == 0 && (k / 700) % 3 == 0)
            names.push_back(folder); // the folder's own row, not always there
        names.push_back(folder + stems[k % stems.size()] + " " + std::to_string(k % 997) + "." +
                        std::to_string(k) + (k % 2 != 0 ? ".tar.GZ" : ".mp3"));
    }
    const std::vector<std::string_view> views(names.begin(), names.end());
    const CollationSketch sketch(CzechCollator(), views);
    // A path as the entries it goes through: its folders with their "\\", then its own name, or
    // an empty entry (first in its folder) for a folder's own row.
    const auto entries = [](const std::string& path) {
        std::vector<std::string> parts;
        size_t from = 0;
        for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', from)) {
            parts.push_back(path.substr(from, at + 1 - from));
            from = at + 1;
        }
        parts.push_back(path.substr(from));
        return parts;
    };
    std::vector<uint32_t> expected(names.size());
    for (uint32_t i = 0; i < expected.size(); ++i)
        expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) {
        const std::vector<std::string> x = entries(names[a]), y = entries(names[b]);
        for (size_t level = 0; level < std::min(x.size(), y.size()); ++level)
            if (x[level] != y[level])
                return sketch.Compare(x[level], y[level]) < 0;
        return x.size() < y.size();
    });
    const std::vector<uint32_t> order = sketch.Order(views);
    ASSERT_EQ(order.size(), names.size());
    for (size_t at = 0; at < order.size(); ++at)
        ASSERT_EQ(names[order[at]], names[expected[at]]) << "at " << at;
}

} // namespace
} // namespace vyp
