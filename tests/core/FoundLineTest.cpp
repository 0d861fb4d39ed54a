#include "search/FoundLine.h"
#include "lists/ListRegionReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vyp {
namespace {

// What the search took a found line apart into before it did so in one pass: the line's end
// from a search for it, a search for "\" and the fields split apart.
void ExpectAsSplitApart(const std::string& bytes) {
    // The bytes alone in memory of their own size, so that a read past them is seen by the
    // sanitizers.
    const auto copy = std::make_unique<char[]>(bytes.size() + 1);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    const char* begin = copy.get();
    const char* end = begin + bytes.size();
    const char* lineEnd = LineEndAfter(begin, end);
    const std::string_view line(begin, static_cast<size_t>(lineEnd - begin));
    const ListLineFields fields = SplitListLine(line);

    FoundLine found;
    found.isFolder = true; // left from a line before
    TakeFoundLineApart(begin, end, found);
    ASSERT_EQ(found.line.data(), line.data()) << bytes;
    ASSERT_EQ(found.line.size(), line.size()) << bytes;
    ASSERT_EQ(found.isFolder, line.find('\\') != std::string_view::npos) << bytes;
    ASSERT_EQ(found.fields.count, fields.count) << bytes;
    for (int i = 0; i < fields.count; ++i)
        ASSERT_EQ(found.fields.field[i], fields.field[i]) << bytes << ", field " << i;
}

// Lines of every length around the 16 and 64 bytes the scan takes at a time, with no TAB up to
// six, TABs and "\" before and after the first 64 bytes, each line break, and the last line of
// what was read with none.
TEST(FoundLine, IsTakenApartAsItsFieldsSplitApart) {
    for (const std::string& line : std::vector<std::string>{
             "Přehled účtů.xlsx\t4096\t2019.1.7\t1:55.28",
             "Фотографии 2004\\\t800050612\t2004.1.15\t9:30.0",
             "写真 東京 2019.jpg\t3114953\t2019.4.20\t1:41.42",
             "Noël à Paris.tar.gz\t0\t2010.11.24\t9:25.10\tnavíc\tještě", "Straße", "\t\t\t", "",
             "Žluťoučký kůň úpěl ďábelské ódy, dlouhé jméno "
             "souboru.2020.mkv\t1048576\t2020.5.6\t7:8.9",
             "Grüße\\Été\\Übersicht 0\\IMG 0\\Noël 1\\záloha 2\\archiv.old "
             "3\\\t756816165\t2004.1.15"}) {
        for (const std::string lineEnd : {"\r\n", "\n", "\r", ""}) {
            ExpectAsSplitApart(line + lineEnd);
            ExpectAsSplitApart(line + lineEnd + "C:\\další\tsoubor.txt\t1\r\n");
        }
    }
    // Random lines of the bytes that matter and letters, from 0 to 150 bytes.
    std::mt19937 random(2026);
    const std::string alphabet = "\t\t\t\\\r\n..aZ é東";
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const size_t length = random() % 150;
        while (bytes.size() < length)
            bytes += alphabet[random() % alphabet.size()];
        ExpectAsSplitApart(bytes);
    }
}

} // namespace
} // namespace vyp
