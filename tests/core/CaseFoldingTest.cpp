#include "util/CaseFolding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vyp {
namespace {

std::string Utf8Of(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

TEST(CaseFolding, EveryLetterFoldsButAccentsStay) {
    EXPECT_EQ(CaseFolded("Čísla.TXT"), CaseFolded("čísla.txt"));
    EXPECT_EQ(CaseFolded("čísla.txt"), "čísla.txt");
    EXPECT_NE(CaseFolded("Čísla.TXT"), CaseFolded("cisla.txt"));
    EXPECT_EQ(CaseFolded("ŘEŠENÍ Žluťoučký KŮŇ.doc"), "řešení žluťoučký kůň.doc");
    EXPECT_EQ(CaseFolded("Crème BRÛLÉE Noël ŒUVRE.JPG"), "crème brûlée noël œuvre.jpg");
    EXPECT_EQ(CaseFolded("ФОТОГРАФИИ Ёлка.mp3"), "фотографии ёлка.mp3");
    EXPECT_EQ(CaseFolded("東京 写真.PNG"), "東京 写真.png");
}

TEST(CaseFolding, FullFoldingChangesLengths) {
    // German sharp s folds to "ss", both capital forms too.
    EXPECT_EQ(CaseFolded("Straße.txt"), CaseFolded("STRASSE.TXT"));
    EXPECT_EQ(CaseFolded("GRÖẞE"), "grösse");
    // Capital I with a dot above: "i" and a combining dot (the full, not the Turkic folding).
    EXPECT_EQ(CaseFolded("\xC4\xB0"), "i\xCC\x87");
    // Greek final sigma and the ligature "ﬃ".
    EXPECT_EQ(CaseFolded("ΣΊΣΥΦΟΣ"), "σίσυφοσ");
    EXPECT_EQ(CaseFolded("oﬃce"), "office");
    // A two-byte letter that grows to six bytes, three times as many.
    EXPECT_EQ(CaseFolded("\xCE\x90"), "\xCE\xB9\xCC\x88\xCC\x81");
    // Beyond the Basic Multilingual Plane (Deseret).
    EXPECT_EQ(CaseFolded("\xF0\x90\x90\x80"), "\xF0\x90\x90\xA8");
}

TEST(CaseFolding, AsciiEightAtATimeChangesOnlyLetters) {
    // The bytes around A..Z and a..z ("@", "[", "`", "{") stay, at every place of a word.
    const std::string edges = "@AZ[`az{@AZ[`az{ 0123456789!~\x7F";
    std::string expected = "@az[`az{@az[`az{ 0123456789!~\x7F";
    EXPECT_EQ(CaseFolded(edges), expected);
    for (size_t start = 0; start < 9; ++start)
        EXPECT_EQ(CaseFolded(edges.substr(start)), expected.substr(start));
    EXPECT_EQ(CaseFolded("READ ME_12345.Mix.Of.Dots.TAR.GZ"), "read me_12345.mix.of.dots.tar.gz");
    EXPECT_EQ(CaseFolded(""), "");
}

TEST(CaseFolding, BytesThatAreNotUtf8AreKept) {
    EXPECT_EQ(CaseFolded("A\xC4"), "a\xC4"); // a lead byte at the end
    EXPECT_EQ(CaseFolded("\xFF\xFE"
                         "AB"),
              "\xFF\xFE"
              "ab");
    EXPECT_EQ(CaseFolded("\xC0\x80X"), "\xC0\x80x");                 // an overlong form
    EXPECT_EQ(CaseFolded("\xED\xA0\x80Y"), "\xED\xA0\x80y");         // a surrogate
    EXPECT_EQ(CaseFolded("\x8Eluou\xE8k\xFD"), "\x8Eluou\xE8k\xFD"); // Windows-1250 bytes
}

// Over every code point: folding twice is folding once, a folded text is never more than three
// times as long, and exactly the 1,530 code points of Unicode 15's full folding change.
TEST(CaseFolding, EveryCodePointFoldsOnceAndStaysWithinItsRoom) {
    size_t changed = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;
        const std::string text = Utf8Of(code);
        const std::string folded = CaseFolded(text);
        ASSERT_LE(folded.size(), 3 * text.size()) << std::hex << static_cast<uint32_t>(code);
        ASSERT_EQ(CaseFolded(folded), folded) << std::hex << static_cast<uint32_t>(code);
        changed += folded != text;
    }
    EXPECT_EQ(changed, 1530u);
}

// Names that mix ASCII runs with letters of two, three and four bytes, folded whole and cut at
// every byte: the same as folding them letter by letter, wherever a letter falls among the
// eight bytes taken at a time and however near the name's end.
TEST(CaseFolding, MixedNamesFoldAsTheirLettersDoAtEveryPlace) {
    const std::vector<std::string> letters = {
        "P", "ř", "E", "h", "L", "E", "D", " ", "Ú", "Č",  "T",  "Ů", "_",
        "2", ".", "T", "A", "R", ".", "G", "Z", "Ü", "b",  "E",  "R", "S",
        "I", "C", "H", "T", "ẞ", "Ф", "о", "Т", "О", "写", "真", "Ǆ", "\xE2\x84\xAA" /* Kelvin */,
        "Σ", "𐐀", "İ", "É", "t", "é", "ß"};
    std::string name, expected;
    std::vector<size_t> letterEnds;
    for (const std::string& letter : letters) {
        name += letter;
        expected += CaseFolded(letter);
        letterEnds.push_back(name.size());
    }
    EXPECT_EQ(CaseFolded(name), expected);
    // Every tail of the name that starts on a letter, and every head that ends on one.
    std::string tailExpected = expected;
    for (size_t l = 0; l + 1 < letters.size(); ++l) {
        tailExpected.erase(0, CaseFolded(letters[l]).size());
        EXPECT_EQ(CaseFolded(std::string_view(name).substr(letterEnds[l])), tailExpected) << l;
    }
    std::string headExpected;
    for (size_t l = 0; l < letters.size(); ++l) {
        headExpected += CaseFolded(letters[l]);
        EXPECT_EQ(CaseFolded(std::string_view(name).substr(0, letterEnds[l])), headExpected) << l;
    }
    EXPECT_EQ(CaseFolded("ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY.MP3"),
              "žluťoučký kůň úpěl ďábelské ódy.mp3");
}

} // namespace
} // namespace vyp
