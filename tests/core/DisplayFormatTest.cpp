#include "WorkedSizes.h"

#include "lists/DisplayFormat.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

const RegionalSettings kCzech = RegionalSettings::Czech();

TEST(DisplayFormat, WorkedSizeValues) {
    for (const test::WorkedSize& row : test::kWorkedSizes) {
        EXPECT_EQ(FormatMB(row.bytes, kCzech), row.megabytes) << row.bytes;
        EXPECT_EQ(FormatGB(row.bytes, kCzech), row.gigabytes) << row.bytes;
    }
}

TEST(DisplayFormat, SizeNumberRules) {
    struct Case {
        double value;
        const char* separator;
        const char* shown;
    };
    for (const Case& c :
         {Case{12345.678, ",", "1,235E04"}, Case{10000, ",", "1E04"}, Case{9999.5, ",", "1E04"},
          Case{9999.49, ",", "9999,00"}, Case{123456789, ",", "1,235E08"},
          Case{123.456, ",", "123,50"}, Case{1234.5678, ",", "1235,00"}, Case{0.005, ",", "0,01"},
          Case{0.004, ",", "0,00"}, Case{0.05, ",", "0,05"}, Case{0.999, ",", "1,00"},
          Case{99.999, ",", "100,00"}, Case{-0.001, ",", "0,00"}, Case{1e120, ",", "1E120"},
          Case{0.125, ".", "0.13"}})
        EXPECT_EQ(FormatSizeNumber(c.value, c.separator), c.shown) << c.value;
}

// Megabytes are reckoned in integers where that is exact: the same text as the size number form
// of the double, around every place where rounding or the number of decimals changes, for sizes
// of every magnitude, negative ones and those beyond a double's exact integers.
TEST(DisplayFormat, MegabytesInIntegersAreTheSizeNumberForm) {
    const RegionalSettings english = RegionalSettings::English();
    auto check = [&](int64_t bytes) {
        for (const RegionalSettings* regional : {&kCzech, &english}) {
            const std::string expected = FormatSizeNumber(static_cast<double>(bytes) / 1048576.0,
                                                          regional->decimalSeparator) +
                                         " MB";
            ASSERT_EQ(FormatMB(bytes, *regional), expected) << bytes;
            std::string appended = "Velikost: ";
            AppendMB(bytes, *regional, appended);
            ASSERT_EQ(appended, "Velikost: " + expected) << bytes;
        }
    };
    for (const double megabytes :
         {0.0,    0.001,  0.004,  0.005,  0.0051,  0.006,  0.0099,  0.01,      0.015,  0.125,
          0.995,  1.0,    1.005,  9.995,  10.005,  99.99,  99.995,  100.0,     100.05, 123.45,
          999.94, 999.95, 1000.0, 1000.5, 9999.49, 9999.5, 10000.0, 12345.678, 1e6,    8.5e9}) {
        const auto around = static_cast<int64_t>(megabytes * 1048576.0);
        for (int64_t d = -600; d <= 600; ++d)
            check(around + d);
    }
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 200000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const int shift = static_cast<int>(state >> 58); // sizes of every magnitude
        check(static_cast<int64_t>((state >> 1) >> shift));
    }
    for (const int64_t bytes :
         {int64_t{-1}, int64_t{-1048576}, int64_t{-99999999999}, (int64_t{1} << 53) - 1,
          int64_t{1} << 53, (int64_t{1} << 53) + 1, INT64_MAX, INT64_MIN})
        check(bytes);
}

TEST(DisplayFormat, TreeSizeSwitchesAbove999Megabytes) {
    EXPECT_EQ(FormatTreeSize("1047527424", kCzech), "999,00 MB");
    EXPECT_EQ(FormatTreeSize("1047527425", kCzech), "0,98 GB");
    EXPECT_EQ(FormatTreeSize("-99999999999", kCzech), "-9,537E04 MB");
    EXPECT_EQ(FormatTreeSize("0", kCzech), "0,00 MB");
    try {
        FormatTreeSize("12a", kCzech);
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()), "'12a' is not a valid integer value");
    }
}

TEST(DisplayFormat, RegionalSeparatorAndExactForm) {
    EXPECT_EQ(FormatMB(12345678, RegionalSettings::English()), "11.77 MB");
    EXPECT_EQ(FormatExactSize("0"), "0 B");
    EXPECT_EQ(FormatExactSize("1073741824"), "1073741824 B");
    EXPECT_EQ(FormatExactSize("-5"), "-5 B");
}

TEST(DisplayFormat, ListDatesInRegionalForms) {
    const LocalDateTime t{2004, 1, 5, 14, 3, 20};
    EXPECT_EQ(FormatListDate(t, kCzech), "05.01.2004");
    EXPECT_EQ(FormatListTime(t, kCzech), "14:03:20");
    EXPECT_EQ(FormatListDate(t, RegionalSettings::English()), "1/5/2004");
    EXPECT_EQ(FormatListTime(t, RegionalSettings::English()), "2:03:20 PM");
    EXPECT_EQ(FormatDateTimePattern(t, "d. M. yy 'v' h"), "5. 1. 04 v 14");
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

TEST(DisplayFormat, MonthAndDayNamesWhereTheLocaleHasThem) {
    RegionalSettings regional;
    regional.shortMonthNames[0] = "Jan";
    regional.longDayNames[0] = "Monday"; // 2004-01-05 was a Monday
    const LocalDateTime t{2004, 1, 5, 9, 0, 0};
    EXPECT_EQ(FormatDateTimePattern(t, "dddd d MMM yyyy", regional), "Monday 5 Jan 2004");
    EXPECT_EQ(FormatDateTimePattern(t, "ddd MMMM", regional), "05 01"); // no names: numbers
}

// Dates a file system can hold, however far from today: no overflow, and the weekday still right.
TEST(DisplayFormat, DatesFarFromTodayKeepTheirYearAndWeekday) {
    RegionalSettings regional;
    regional.longDayNames = {"Po", "Út", "St", "Čt", "Pá", "So", "Ne"};
    // 1 March of year 0 was a Wednesday, of year -400 too (the calendar repeats every 400 years).
    EXPECT_EQ(FormatDateTimePattern({0, 3, 1, 0, 0, 0}, "dddd", regional), "St");
    EXPECT_EQ(FormatDateTimePattern({-400, 3, 1, 0, 0, 0}, "dddd", regional), "St");
    // Years beyond 32 bits neither overflow nor lose digits.
    const LocalDateTime far{int64_t{2147483647} + 1900, 12, 31, 23, 59, 58};
    EXPECT_EQ(FormatDateTimePattern(far, "yyyy", regional), "2147485547");
    FormatDateTimePattern(far, "dddd", regional); // UBSan watches the weekday sum
    FormatDateTimePattern({int64_t{-2147483647} - 1 + 1900, 1, 1, 0, 0, 0}, "dddd yy", regional);
    // Before year 1 the sign comes first, then the zeros, as in the stored date.
    EXPECT_EQ(FormatDateTimePattern({-5, 3, 1, 0, 0, 0}, "yyyy", regional), "-0005");
    std::string stored;
    AppendStoredDate({-5, 3, 1, 0, 0, 0}, stored);
    EXPECT_EQ(stored, "-0005.3.1");

    // The local time of the last second a broken-down time can hold: tm_year is then near INT_MAX.
    const LocalDateTime latest = ToLocalDateTime(int64_t{67768036191676799} - 86400);
    EXPECT_GT(latest.year, int64_t{2147483647});
}

} // namespace
} // namespace vyp
