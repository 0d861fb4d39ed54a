#include "search/CaseInsensitiveFinder.h"
#include "util/Encoding.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace vyp {
namespace {

// From every step-th place of hay, each needle is found exactly where a byte loop over ASCII
// upper case finds it, by Find and by every scan this processor can run.
void ExpectFindsWhatAByteLoopFinds(const std::string& hay,
                                   std::initializer_list<const char*> needles, size_t step) {
    std::string upperHay = hay;
    for (char& c : upperHay)
        c = UpperAscii(c);
    for (const char* needle : needles) {
        const CaseInsensitiveFinder finder(needle);
        std::string upperNeedle = needle;
        for (char& c : upperNeedle)
            c = UpperAscii(c);
        using Scan = CaseInsensitiveFinder::Scan;
        for (size_t from = 0; from <= hay.size(); from += step) {
            const size_t expected = upperHay.find(upperNeedle, from);
            auto at = [&hay](const char* found) {
                return found == nullptr ? std::string::npos
                                        : static_cast<size_t>(found - hay.data());
            };
            const char* begin = hay.data() + from;
            const char* end = hay.data() + hay.size();
            EXPECT_EQ(at(finder.Find(begin, end)), expected) << needle << " from " << from;
            for (const Scan scan : {Scan::Sse2, Scan::Avx2, Scan::Avx512}) {
                if (CaseInsensitiveFinder::CanRun(scan)) {
                    EXPECT_EQ(at(finder.FindWith(scan, begin, end)), expected)
                        << needle << " from " << from << " by scan " << static_cast<int>(scan);
                }
            }
        }
    }
}

TEST(CaseInsensitiveFinder, FindsEveryPlaceAByteLoopWould) {
    const std::string once =
        "0123456789abcdefABCDEF xyzXYZ @[`{ qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq q@Q";
    const std::string hay = once + once; // past the first block of the widest scan too
    ExpectFindsWhatAByteLoopFinds(
        hay, {"a", "F", "xyz", "@", "`", "q@q", "Z @[", "0123456789abcdefABCDEF x"}, 1);
}

// Texts with accents, CJK and letters of both cases in a haystack of list lines long enough
// for the widest scan: the finder may pick any two of the needle's bytes to scan for, but must
// find exactly what a byte loop finds.
TEST(CaseInsensitiveFinder, FindsAccentedAndWideTextsWhereAByteLoopWould) {
    std::string hay;
    for (const char* name :
         {"Sborník písní 1998\\", "Přehled účtů_24.JPG", "ŘEŠENÍ 25.exe", "Crème brûlée_28.JPG",
          "東京_32.JPG", "写真 36.avi", "Музыка 10.mp3", "sborník", "SBORNÍK", "Größe 27.dll"}) {
        hay += name;
        hay += "\t2997097\t1998.7.1\t18:48.6\r\n";
    }
    ExpectFindsWhatAByteLoopFinds(
        hay, {"Sborník", "ník", "ÍK", "účt", "Ř", "写真", "é", "k\t", "2.JPG"}, 7);
}

} // namespace
} // namespace vyp
