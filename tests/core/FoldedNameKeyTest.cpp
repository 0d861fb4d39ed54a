#include "search/FoldedNameKey.h"
#include "util/CaseFolding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyp {
namespace {

// Names of real discs and the letters whose folding is out of the ordinary: "ß" to "ss", "ſ"
// to "s", the Kelvin sign to "k", "İ" to "i" and a dot, Greek with accents, letters of three
// and four bytes, two-byte letters standing across the words of eight the key is made of.
const std::vector<std::string> kNames = {
    "Čísla.TXT",
    "čísla.txt",
    "cisla.txt",
    "Straße.doc",
    "STRASSE.DOC",
    "Noël 1.mp3",
    "NOËL 1.MP3",
    "Crème brûlée_28.JPG",
    "ŘEŠENÍ 25.exe",
    "Žluťoučký kůň_5.avi",
    "Музыка 10.mp3",
    "МУЗЫКА 10.MP3",
    "Фотографии",
    "東京_96828.exe",
    "音楽_19.exe",
    "写真 2024.tar.gz",
    "ΐ.txt",
    "ΣΊΣΥΦΟΣ.txt",
    "σίσυφος.txt",
    "ſ.txt",
    "\u212A.txt",
    "k.txt",
    "İstanbul.jpg",
    "ﬁle.txt",
    "ＡＢＣ.txt",
    "ａｂｃ.txt",
    "ẞ.txt",
    "ss.txt",
    "Ǆ.txt",
    "😀 smích.png",
    "aaaaaaaČ.txt",
    "aaaaaaaaaaaaaaaČ.txt",
    "abcdefgÉ",
    "ABCDEFGÉ",
    std::string(63, 'a') + "Č",
    std::string(64, 'B'),
    std::string(65, 'b'),
    "Přehled účtů za rok 2024 — čtvrtletí první, verze finální (opravená).xlsx",
    "PŘEHLED ÚČTŮ ZA ROK 2024 — ČTVRTLETÍ PRVNÍ, VERZE FINÁLNÍ (OPRAVENÁ).XLSX",
    "a",
    "É",
};

TEST(FoldedNameKeyTest, KeyIsTheOneOfTheFoldedNameWhereverTheNameLies) {
    FoldedNameKey key;
    for (const std::string& name : kNames) {
        const uint64_t expected = FoldedNameKey::OfFolded(CaseFolded(name), 1234);
        // Alone, so that nothing after it may be read; then inside a line of a list, with
        // other fields after it, some of them bytes of 128 and more.
        EXPECT_EQ(key.Of(name, 1234), expected) << name;
        const std::string line =
            name + "\t1234\t2024.1.1\t9:30.0 Ünïcödé\r\n" + std::string(80, 'x');
        EXPECT_EQ(
            key.Of(std::string_view(line.data(), name.size()), 1234, line.data() + line.size()),
            expected)
            << name;
    }
}

// Every character of two and three bytes, between letters and standing across two words of
// eight: the tables the key folds by must agree with the folding itself for each one.
TEST(FoldedNameKeyTest, EveryCharacterOfTwoOrThreeBytesFoldsAsTheFoldingSays) {
    FoldedNameKey key;
    for (char32_t code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;
        std::string utf8;
        if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
        for (const std::string& name : {"Přehled " + utf8 + ".TXT", "Zálohy" + utf8 + "Ü"}) {
            ASSERT_EQ(key.Of(name, 7), FoldedNameKey::OfFolded(CaseFolded(name), 7))
                << "U+" << std::hex << static_cast<uint32_t>(code);
        }
    }
}

TEST(FoldedNameKeyTest, NamesOneUnderFoldingShareTheKeyAndOthersDoNot) {
    FoldedNameKey key;
    EXPECT_EQ(key.Of("Čísla.TXT", 10), key.Of("čísla.txt", 10));
    EXPECT_EQ(key.Of("Straße.doc", 10), key.Of("STRASSE.DOC", 10));
    EXPECT_EQ(key.Of("Музыка 10.mp3", 10), key.Of("МУЗЫКА 10.MP3", 10));
    EXPECT_EQ(key.Of("ſ.txt", 10), key.Of("S.TXT", 10));
    EXPECT_EQ(key.Of("ＡＢＣ.txt", 10), key.Of("ａｂｃ.TXT", 10));
    EXPECT_EQ(key.Of(kNames[37], 10), key.Of(kNames[38], 10));
    EXPECT_NE(key.Of("Čísla.TXT", 10), key.Of("cisla.txt", 10));
    EXPECT_NE(key.Of("Čísla.TXT", 10), key.Of("Čísla.TXT", 11));
    EXPECT_NE(key.Of("東京.exe", 10), key.Of("京東.exe", 10));
    EXPECT_NE(key.Of("a", 10), key.Of(std::string_view("a\0", 2), 10));
}

// Words are hashed two by two, each pair on its own: where a word or a pair stands must count,
// or names of the same pieces in another order would all meet as candidates.
TEST(FoldedNameKeyTest, WordsAndPairsOfWordsCountWhereTheyStand) {
    FoldedNameKey key;
    const std::string a = "Crème brûlée ", b = "Фото 2024 01", c = "東京 写真 12";
    ASSERT_EQ(a.size(), 16u);
    ASSERT_EQ(b.size(), 16u);
    ASSERT_EQ(c.size(), 16u);
    EXPECT_NE(key.Of(a + b, 5), key.Of(b + a, 5));
    EXPECT_NE(key.Of(a + b + c, 5), key.Of(c + b + a, 5));
    EXPECT_NE(key.Of(a + b + c + a, 5), key.Of(a + c + b + a, 5));
    EXPECT_NE(key.Of("Photo_01Café.jp", 5), key.Of("Café.jpPhoto_01", 5));
    // Longer names, folded first, are hashed the same way.
    EXPECT_NE(key.Of(a + b + c + a + b, 5), key.Of(a + b + c + b + a, 5));
    EXPECT_EQ(key.Of(a + b + c + a + b, 5), key.Of("CRÈME BRÛLÉE " + b + c + a + b, 5));
    // A pair of words and a name of one word whose next is empty are not the same.
    EXPECT_NE(key.Of(std::string(a.data(), 8), 5),
              key.Of(a.substr(0, 8) + std::string(8, '\0'), 5));
}

} // namespace
} // namespace vyp
