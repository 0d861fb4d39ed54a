#include "search/FoldedNameKey.h"
#include "util/CaseFolding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// The ways that fold in registers, each held to the words of eight: every character of two and
// three bytes at the places of a name where a register or a word ends, names of every length up
// to 64, names ending where readable memory ends, bytes that are no UTF-8, and names of real
// discs put together at random from many scripts.
class RegisterFolding : public testing::TestWithParam<FoldedNameKey::FoldingWay> {
protected:
    void SetUp() override {
        const bool can = GetParam() == FoldedNameKey::FoldingWay::Avx2
                             ? FoldedNameKey::CanFoldAvx2()
                             : FoldedNameKey::CanFoldWide() || FoldedNameKey::CanFoldAvx2();
        if (!can)
            GTEST_SKIP() << "this processor folds in words of eight only";
    }

    // The same key alone and inside a line of a list, accented fields after it.
    void Same(std::string_view name) {
        const uint64_t expected = m_words.Of(name, 321);
        ASSERT_EQ(m_way.Of(name, 321), expected) << name;
        const std::string line = std::string(name) + "\t321\tČervenec Ü\r\n";
        ASSERT_EQ(
            m_way.Of(std::string_view(line).substr(0, name.size()), 321, line.data() + line.size()),
            expected)
            << name;
    }

    static std::string Utf8(char32_t code) {
        if (code < 0x800)
            return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
        return {static_cast<char>(0xE0 | (code >> 12)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    }

    FoldedNameKey m_way{GetParam()};
    FoldedNameKey m_words{FoldedNameKey::FoldingWay::Words};
};

TEST_P(RegisterFolding, EveryCharacterOfTwoBytesAtEveryPlace) {
    for (char32_t code = 0x80; code < 0x800; ++code) {
        const std::string utf8 = Utf8(code);
        for (size_t at = 0; at < 64; ++at) {
            const std::string name = std::string(at, 'A') + utf8 + "x.TXT";
            ASSERT_NO_FATAL_FAILURE(Same(name));
            ASSERT_NO_FATAL_FAILURE(Same(std::string_view(name).substr(0, at + 2)));
            ASSERT_NO_FATAL_FAILURE(Same(std::string_view(name).substr(0, at + 1))); // cut short
        }
    }
}

// At the start, across the halves of a register of 32, at its end and across it, and at and
// across the end of one of 64.
TEST_P(RegisterFolding, EveryCharacterOfThreeBytesWhereRegistersEnd) {
    for (char32_t code = 0x800; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000)
            continue;
        const std::string utf8 = Utf8(code);
        for (const size_t at : {0, 14, 29, 30, 31, 61, 62}) {
            const std::string name = std::string(at, 'z') + utf8 + "Ž.mp3";
            ASSERT_NO_FATAL_FAILURE(Same(name));
            ASSERT_NO_FATAL_FAILURE(Same(std::string_view(name).substr(0, at + 3)));
            ASSERT_NO_FATAL_FAILURE(Same(std::string_view(name).substr(0, at + 2))); // cut short
        }
    }
}

TEST_P(RegisterFolding, NamesOfEveryLength) {
    const std::vector<std::string> names = {
        "Přehled účtů za rok 2024 — ČTVRTLETÍ první, verze finální (opravená).xlsx",
        "Größe der Übersicht für Straße und Fußgänger — März 2019 (Entwurf).DOCX",
        "Crème brûlée à la française, Noël chez Hélène — Œuvres complètes.PDF",
        "МУЗЫКА ДЛЯ ДУШИ Ё ёлка — Фотографии с дачи, лето 2021 года.jpg",
        "東京の写真_2024年夏休み_ヴァイオリン演奏会_最終版.tar.gz",
        "Ζεύς ΣΊΣΥΦΟΣ and İstanbul ſ ﬁle ＡＢＣ 😀 Ǆ ẞ \u212Aelvin µm.txt",
    };
    for (const std::string& name : names)
        for (size_t length = 1; length <= 64 && length <= name.size(); ++length)
            ASSERT_NO_FATAL_FAILURE(Same(std::string_view(name).substr(0, length)));
}

// A name whose last byte is the last readable one: nothing after it may be read (the page after
// is closed where the system lets the test close it).
TEST_P(RegisterFolding, NamesEndingWhereReadableMemoryEnds) {
    const std::vector<std::string> names = {"a",
                                            "É",
                                            "Čísla.TXT",
                                            "Straße.doc",
                                            "Музыка 10.mp3",
                                            "東京_96828.exe",
                                            "ΣΊΣΥΦΟΣ.txt",
                                            std::string(31, 'x') + "Č",
                                            std::string(32, 'Q'),
                                            std::string(30, 'q') + "音",
                                            "Žluťoučký kůň úpěl ďábelské ódy — NOËL.avi"};
#if defined(__unix__)
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* mapped =
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mapped, MAP_FAILED);
    char* const end = static_cast<char*>(mapped) + page;
    ASSERT_EQ(mprotect(end, page, PROT_NONE), 0);
#else
    std::string text(4096, '\0');
    char* const end = text.data() + text.size();
#endif
    for (const std::string& name : names) {
        for (size_t length = 1; length <= name.size() && length <= 64; ++length) {
            char* const start = end - length;
            std::memcpy(start, name.data(), length);
            const std::string_view there(start, length);
            const uint64_t expected = m_words.Of(std::string(there), 9);
            ASSERT_EQ(m_way.Of(there, 9, end), expected) << there;
            ASSERT_EQ(m_way.Of(there, 9), expected) << there;
        }
    }
#if defined(__unix__)
    munmap(mapped, 2 * page);
#endif
}

TEST_P(RegisterFolding, BytesThatAreNoUtf8) {
    const std::string bad[] = {"\x80",
                               "abc\xBF",
                               "Čís\x80la",
                               "\xC4",
                               "Přehled \xC5",
                               "\xC4\x41.txt",
                               "\xC0\x80",
                               "\xC1\xBF x",
                               "\xE0\x80\x80",
                               "\xE0\xA0",
                               "\xE6\x9D\x41",
                               "\xED\xA0\x80",
                               "\xED\xBF\xBF.mp3",
                               "\xF0\x9F\x98",
                               "\xF0\x9F\x98\x80",
                               "\xF8\x88\x80\x80\x80",
                               "\xFF\xFE",
                               "Музыка\xD0",
                               "東京\xE4\xBA"};
    for (const std::string& bytes : bad) {
        for (const size_t at : {0, 7, 15, 29, 31, 40}) {
            ASSERT_NO_FATAL_FAILURE(Same(std::string(at, 'k') + bytes));
            ASSERT_NO_FATAL_FAILURE(Same(std::string(at, 'K') + bytes + "Ü.doc"));
        }
    }
    std::mt19937 random(4242);
    for (int n = 0; n < 20000; ++n) {
        std::string bytes(1 + random() % 64, ' ');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? 'a' + random() % 26 : 0x80 + random() % 128);
        ASSERT_NO_FATAL_FAILURE(Same(bytes));
    }
}

TEST_P(RegisterFolding, NamesOfManyScripts) {
    const std::string filler = "Přehled ÚČTŮ 2024.Foto.v2 Größe Noël МУЗЫКА 東京 ";
    std::mt19937 random(4242);
    const std::string pieces[] = {
        "Č",  "č", "Ř", "ř", "Ů", "ů",  "Ä",  "ö",  "ß",  "ẞ", "É", "ë", "Ÿ",   "ÿ",      "Œ", "Ж",
        "ж",  "Ё", "ё", "Ѐ", "ѐ", "東", "京", "ア", "ヴ", "—", "Ω", "ά", "ſ",   "\u212A", "İ", "ı",
        "Ａ", "ﬁ", "😀", "µ", "Ǆ", "A",  "z",  "0",  " ",  ".", "_", "-", "DSC", "mp3",    "…", "№"};
    for (int n = 0; n < 20000; ++n) {
        std::string name;
        const size_t want = 1 + random() % 70;
        while (name.size() < want)
            name += pieces[random() % std::size(pieces)];
        ASSERT_NO_FATAL_FAILURE(Same(name));
        ASSERT_NO_FATAL_FAILURE(
            Same(filler.substr(0, random() % 40) + name.substr(0, random() % 30)));
    }
}

INSTANTIATE_TEST_SUITE_P(FoldedNameKeyTest, RegisterFolding,
                         testing::Values(FoldedNameKey::FoldingWay::Fastest,
                                         FoldedNameKey::FoldingWay::Avx2),
                         [](const testing::TestParamInfo<FoldedNameKey::FoldingWay>& way) {
                             return way.param == FoldedNameKey::FoldingWay::Avx2 ? "Avx2"
                                                                                 : "Fastest";
                         });

} // namespace
} // namespace vyp
