#include "util/Utf8Validation.h"
#include "util/Encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vyp {
namespace {

// Whether every fast check this processor can run (and the one IsValidUtf8Fast picks) gives
// valid for bytes.
bool EveryFastCheckGives(bool valid, std::string_view bytes) {
    if (IsValidUtf8Fast(bytes) != valid)
        return false;
    for (const Utf8FastCheck check : {Utf8FastCheck::Avx2, Utf8FastCheck::Avx512}) {
        if (CanRunUtf8Check(check) && IsValidUtf8With(check, bytes) != valid)
            return false;
    }
    return true;
}

// Every place a sequence can fall relative to the 32- and 64-byte blocks of the fast checks, at
// the start, in the middle and at the very end.
std::string At(size_t offset, const std::string& sequence) {
    return std::string(offset, 'a') + sequence;
}

TEST(Utf8Validation, FastAndPlainChecksAgreeOnEveryKindOfSequence) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"Přehled účtů", true},
        {"Straße Größe", true},
        {"Crème brûlée", true},
        {"Фотографии", true},
        {"東京 写真", true},
        {"\xF0\x9F\x92\xBE", true},
        {"\xEF\xBF\xBF", true},
        {"\xF4\x8F\xBF\xBF", true}, // U+10FFFF, the last
        {"\xC0\xAF", false},
        {"\xC1\xBF", false}, // overlong two bytes
        {"\xE0\x9F\xBF", false},
        {"\xF0\x8F\xBF\xBF", false}, // overlong three and four
        {"\xED\xA0\x80", false},
        {"\xED\xBF\xBF", false}, // surrogates
        {"\xF4\x90\x80\x80", false},
        {"\xF5\x80\x80\x80", false},
        {"\xFF", false},
        {"\x80", false},
        {"a\xBF", false}, // continuation alone
        {"\xC3", false},
        {"\xE2\x82", false}, // cut short
        {"\xF0\x9F\x92", false},
        {"\xC3\xA9\xA9", false}, // one continuation too many
        {"\xE8ty", false},
        {"\x8A"
         "aty",
         false}, // Windows-1250 bytes
    };
    for (size_t offset = 0; offset < 140; ++offset) {
        for (const auto& [sequence, valid] : cases) {
            for (const std::string& bytes : {At(offset, sequence), At(offset, sequence) + "x",
                                             At(offset, sequence) + std::string(40, 'z')}) {
                ASSERT_EQ(IsValidUtf8Plain(bytes), valid) << offset << " " << sequence;
                ASSERT_TRUE(EveryFastCheckGives(valid, bytes)) << offset << " " << sequence;
            }
        }
    }
}

TEST(Utf8Validation, FastAndPlainChecksAgreeOnDamagedText) {
    const std::string text = "Žluťoučký kůň úpěl ďábelské ódy; Müller & Söhne; Noël; "
                             "Фильмы 1998; 東京の写真.JPG\r\n";
    std::mt19937 random(3);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const size_t copies = 1 + random() % 5;
        for (size_t i = 0; i < copies; ++i)
            bytes += text;
        bytes = bytes.substr(random() % 7);
        const int damage = static_cast<int>(random() % 3);
        for (int d = 0; d < damage && !bytes.empty(); ++d)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        ASSERT_TRUE(EveryFastCheckGives(IsValidUtf8Plain(bytes), bytes)) << round;
        ASSERT_EQ(IsValidUtf8(bytes), IsValidUtf8Plain(bytes));
    }
}

// Long texts, checked in runs of a few KiB: a fault is found wherever it falls, at a run's edge
// or a block's, and a sequence cut short by the very end is found after any length.
TEST(Utf8Validation, FaultsInLongTextsWhereverTheyFall) {
    std::string text;
    while (text.size() < 10000)
        text += "Přehled účtů_24.JPG\t3884982\t2008.3.13\t16:22.52\r\nФото 東京\r\n";
    ASSERT_TRUE(EveryFastCheckGives(true, text));
    for (size_t at : {4063u, 4064u, 4095u, 4096u, 4097u, 4127u, 4128u, 4159u, 4160u, 4161u, 8191u,
                      8224u, 8255u, 8256u, 9999u}) {
        for (const char bad : {'\x80', '\xC0', '\xE0', '\xFF'}) {
            std::string damaged = text;
            damaged[at] = bad;
            ASSERT_TRUE(EveryFastCheckGives(IsValidUtf8Plain(damaged), damaged))
                << at << " " << +bad;
        }
    }
    EXPECT_TRUE(EveryFastCheckGives(true, std::string_view()));
    EXPECT_TRUE(EveryFastCheckGives(true, ""));
    for (size_t length = 4090; length < 4240; ++length) {
        const std::string cut = text.substr(0, length) + "\xE2\x82";
        ASSERT_TRUE(EveryFastCheckGives(false, cut)) << length;
        ASSERT_TRUE(EveryFastCheckGives(false, text.substr(0, length) + "a\xC3"));
        ASSERT_TRUE(
            EveryFastCheckGives(IsValidUtf8Plain(text.substr(0, length)), text.substr(0, length)));
    }
}

} // namespace
} // namespace vyp
