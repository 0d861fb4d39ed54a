#include "util/Utf8Decoding.h"
#include "util/Utf8Validation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vyp {
namespace {

// The code points of text, or none when some character of it does not decode.
std::vector<char32_t> Decoded(std::string_view text, bool& valid) {
    std::vector<char32_t> codes;
    valid = true;
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const size_t length = DecodeUtf8(text, at, code);
        if (length == 0) {
            valid = false;
            return {};
        }
        codes.push_back(code);
        at += length;
    }
    return codes;
}

TEST(Utf8Decoding, CharactersOfEveryLength) {
    bool valid = false;
    EXPECT_EQ(Decoded("Řež 東京\xF0\x9F\x93\xB7", valid),
              (std::vector<char32_t>{0x158, 0x65, 0x17E, 0x20, 0x6771, 0x4EAC, 0x1F4F7}));
    EXPECT_TRUE(valid);
    EXPECT_EQ(Decoded("Фото.jpg", valid),
              (std::vector<char32_t>{0x424, 0x43E, 0x442, 0x43E, 0x2E, 0x6A, 0x70, 0x67}));
    EXPECT_EQ(Decoded("\xF4\x8F\xBF\xBF", valid), std::vector<char32_t>{0x10FFFF});
    EXPECT_TRUE(valid);
    // A character in the middle of a name, the bytes before it left alone.
    char32_t code = 0;
    EXPECT_EQ(DecodeUtf8("Größe", 2, code), 2u);
    EXPECT_EQ(code, U'ö');
}

// What the decoder refuses is what the validation refuses, character by character: overlongs,
// surrogates, values above U+10FFFF, stray continuations, sequences cut short by the end of
// the name (also where the bytes after it in memory would complete them).
TEST(Utf8Decoding, RefusesWhatTheValidationRefuses) {
    const std::string cut = "Kůň\xC5\xAF";
    const std::string_view shortened(cut.data(), cut.size() - 1);
    bool valid = true;
    Decoded(shortened, valid);
    EXPECT_FALSE(valid);
    for (const char* bad :
         {"\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\x80", "\xC3", "\xE2\x82", "\xE8ty"}) {
        Decoded(bad, valid);
        EXPECT_FALSE(valid) << bad;
    }
    const std::string text = "Žluťoučký kůň úpěl ďábelské ódy; Müller & Söhne; Фильмы; 東京の写真";
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = text.substr(random() % 9);
        for (int d = 0; d < 2; ++d)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        Decoded(bytes, valid);
        ASSERT_EQ(valid, IsValidUtf8Plain(bytes)) << round;
    }
}

} // namespace
} // namespace vyp
