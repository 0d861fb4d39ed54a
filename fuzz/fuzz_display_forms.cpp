// The size and date display forms against the rules written here from the forms' description:
// the size number format step by step on the exact decimal value, the megabyte, gigabyte, exact
// and tree forms over the whole signed 64-bit range and any size text, the stored date and time,
// and regional date and time patterns built from their letters.
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "lists/StoredDateTime.h"
#include "tests/support/WorkedSizes.h"
#include "util/Errors.h"

#include <cmath>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

// The decimal digits of whole / 2^halvings exactly, with the point after `point` of them: a
// halving is a multiplication by 5 and one more digit after the point.
std::string ExactDigits(uint64_t whole, int halvings, size_t& point) {
    std::string digits = std::to_string(whole);
    for (int i = 0; i < halvings; ++i) {
        int carry = 0;
        for (size_t d = digits.size(); d > 0; --d) {
            const int product = (digits[d - 1] - '0') * 5 + carry;
            digits[d - 1] = static_cast<char>('0' + product % 10);
            carry = product / 10;
        }
        if (carry != 0)
            digits.insert(digits.begin(), static_cast<char>('0' + carry));
    }
    while (digits.size() < static_cast<size_t>(halvings) + 1)
        digits.insert(digits.begin(), '0');
    point = digits.size() - static_cast<size_t>(halvings);
    return digits;
}

// The size number format of bytes / 2^halvings, the count first taken as the floating-point
// value the division is made on.
std::string SizeNumber(int64_t bytes, int halvings, const std::string& separator) {
    const std::string zero = "0" + separator + "00";
    const double asReal = static_cast<double>(bytes); // an integer, at most 2^63 in size
    const bool negative = asReal < 0;
    size_t point = 0;
    const std::string digits =
        ExactDigits(static_cast<uint64_t>(std::fabs(asReal)), halvings, point);
    // 1. Zero.
    const size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return zero;
    // 2. E: digits before the point, counted from the first that is not 0 (0 or below for less
    // than one).
    int e = static_cast<int>(point) - static_cast<int>(firstNonZero);
    const std::string significant = digits.substr(firstNonZero);
    // 3. K significant digits, rounded half up at the first dropped one.
    const int k = std::min(e + 2, 4);
    if (k < 0)
        return zero;
    int kept = k == 0 ? 0 : std::stoi(significant.substr(0, static_cast<size_t>(k)));
    const bool roundUp =
        static_cast<size_t>(k) < significant.size() && significant[static_cast<size_t>(k)] >= '5';
    std::string keptDigits;
    if (roundUp && kept + 1 == static_cast<int>(std::pow(10, k))) {
        keptDigits = "1"; // the carry ran out of the first digit
        ++e;
    } else {
        kept += roundUp ? 1 : 0;
        keptDigits = k == 0 ? (kept == 0 ? "" : "1") : std::to_string(kept);
        keptDigits.insert(0, static_cast<size_t>(k) - keptDigits.size(), '0');
    }
    while (!keptDigits.empty() && keptDigits.back() == '0')
        keptDigits.pop_back();
    if (keptDigits.empty())
        return zero;
    const std::string sign = negative ? "-" : "";
    // 4. The exponent form from five digits before the point on.
    if (e > 4) {
        std::string exponent = std::to_string(e - 1);
        if (exponent.size() < 2)
            exponent = "0" + exponent;
        const std::string rest =
            keptDigits.size() > 1 ? separator + keptDigits.substr(1, 3) : std::string();
        return sign + keptDigits.substr(0, 1) + rest + "E" + exponent;
    }
    // 5. The fixed form with two decimals.
    std::string integerPart = "0";
    std::string decimals;
    if (e > 0) {
        integerPart.clear();
        for (int i = 0; i < e; ++i)
            integerPart += static_cast<size_t>(i) < keptDigits.size() ? keptDigits[i] : '0';
        decimals = keptDigits.size() > static_cast<size_t>(e) ? keptDigits.substr(e) : "";
    } else {
        decimals = std::string(static_cast<size_t>(std::min(-e, 2)), '0') + keptDigits;
    }
    while (decimals.size() < 2)
        decimals += '0';
    return sign + integerPart + separator + decimals;
}

std::string Megabytes(int64_t bytes, const std::string& separator) {
    return SizeNumber(bytes, 20, separator) + " MB";
}
std::string Gigabytes(int64_t bytes, const std::string& separator) {
    return SizeNumber(bytes, 30, separator) + " GB";
}

// The worked values of the size forms, so the rules above are known to say what was meant.
void CheckTheReferenceOnItsExamples() {
    for (const test::WorkedSize& example : test::kWorkedSizes) {
        FUZZ_CHECK(Megabytes(example.bytes, ",") == example.megabytes);
        FUZZ_CHECK(Gigabytes(example.bytes, ",") == example.gigabytes);
    }
}

std::string Padded(int64_t value, size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return (value < 0 ? "-" : "") + digits;
}

// Days from 1 March of year 0 in the proleptic Gregorian calendar: whole eras of 400 years,
// then years of the era, then days of the year counted from March.
int64_t DaysSinceMarchOfYearZero(int64_t year, int month, int day) {
    const int64_t y = month <= 2 ? year - 1 : year;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

// Monday 0 … Sunday 6. 1 March of year 0 was a Wednesday.
int Weekday(const LocalDateTime& t) {
    const int64_t days = DaysSinceMarchOfYearZero(t.year, t.month, t.day);
    return static_cast<int>(((days + 2) % 7 + 7) % 7);
}

// One piece of a date or time pattern: its letters and what they show for t, or a separator.
struct Piece {
    const char* pattern;
    std::string shown;
};

// The kinds of piece, and the two a pattern depends on as a whole.
constexpr size_t kPieceKinds = 16;
constexpr size_t kWeekdayPiece = 12;
constexpr size_t kTwelveHourPiece = 14;

Piece PatternPiece(uint64_t choice, const LocalDateTime& t, const RegionalSettings& regional,
                   bool twelveHour) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    const int hour = twelveHour ? hour12 : t.hour;
    const bool monthKnown = t.month >= 1 && t.month <= 12;
    const auto name = [](const std::string& text, std::string number) {
        return text.empty() ? number : text;
    };
    const Piece pieces[] = {
        {"d", std::to_string(t.day)},
        {"dd", Padded(t.day, 2)},
        {"M", std::to_string(t.month)},
        {"MM", Padded(t.month, 2)},
        {"yy", Padded(((t.year % 100) + 100) % 100, 2)},
        {"yyyy", Padded(t.year, 4)},
        {"h", std::to_string(hour)},
        {"hh", Padded(hour, 2)},
        {"HH", Padded(t.hour, 2)},
        {"m", std::to_string(t.minute)},
        {"ss", Padded(t.second, 2)},
        {"MMMM", monthKnown ? name(regional.longMonthNames[t.month - 1], Padded(t.month, 2))
                            : Padded(t.month, 2)},
        {"ddd", monthKnown ? name(regional.shortDayNames[Weekday(t)], Padded(t.day, 2)) : ""},
        {"'h:m' ''", "h:m '"}, // quoted text as it is; '' is a quote
        {"AP", t.hour >= 12 ? "PM" : "AM"},
        {". ", ". "},
    };
    static_assert(std::size(pieces) == kPieceKinds);
    return pieces[choice % kPieceKinds];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool referenceChecked = (CheckTheReferenceOnItsExamples(), true);
    FUZZ_CHECK(referenceChecked);
    InputTaker input(data, size);
    const auto bytes = static_cast<int64_t>(input.Number(8));
    RegionalSettings regional =
        input.Number(1) % 2 ? RegionalSettings::English() : RegionalSettings::Czech();
    regional.decimalSeparator = std::string(input.Text().substr(0, 4));
    const std::string& separator = regional.decimalSeparator;

    FUZZ_CHECK(FormatMB(bytes, regional) == Megabytes(bytes, separator));
    FUZZ_CHECK(FormatGB(bytes, regional) == Gigabytes(bytes, separator));
    // A size text: the exact form is the text as it is; the tree form converts it, and a text
    // that is no number gives the user's error.
    const std::string_view sizeText = input.Text();
    FUZZ_CHECK(FormatExactSize(sizeText) == std::string(sizeText) + " B");
    const std::optional<int64_t> value = ReferenceSizeValue(sizeText);
    FUZZ_CHECK(TryParseSizeText(sizeText) == value);
    try {
        const std::string tree = FormatTreeSize(sizeText, regional);
        FUZZ_CHECK(value.has_value());
        FUZZ_CHECK(tree == (*value <= 1047527424 ? Megabytes(*value, separator)
                                                 : Gigabytes(*value, separator)));
    } catch (const VypisnikError& error) {
        FUZZ_CHECK(!value.has_value());
        FUZZ_CHECK(std::string(error.what()) ==
                   "'" + std::string(sizeText) + "' is not a valid integer value");
    }

    // A date as a list stores it, with fields of any value a damaged list may give.
    LocalDateTime t;
    // Any year the system's broken-down time can give: tm_year is an int counted from 1900.
    t.year = int64_t{static_cast<int32_t>(input.Number(4))} + 1900;
    t.month = static_cast<int>(input.Number(1)) % 16 - 2;
    t.day = static_cast<int>(input.Number(1)) % 40 - 4;
    t.hour = static_cast<int>(input.Number(1)) % 30 - 2;
    t.minute = static_cast<int>(input.Number(1)) % 70 - 2;
    t.second = static_cast<int>(input.Number(1)) % 70 - 2;
    regional.timeSeparator = std::string(input.Text().substr(0, 3));
    std::string stored = "x";
    AppendStoredDate(t, stored);
    FUZZ_CHECK(stored == "x" + Padded(t.year, 4) + "." + std::to_string(t.month) + "." +
                             std::to_string(t.day));
    stored.clear();
    AppendStoredTime(t, regional.timeSeparator, stored);
    FUZZ_CHECK(stored == std::to_string(t.hour) + regional.timeSeparator +
                             std::to_string(t.minute) + "." + std::to_string(t.second));

    // A pattern of letters and separators, each piece after a separator so no two merge.
    const std::string_view names = input.Text();
    for (size_t i = 0; i < 12; ++i) {
        regional.longMonthNames[i] = i % 2 == 0 ? std::string(names.substr(0, i)) : "";
        regional.shortDayNames[i % 7] = i < 7 && i % 3 != 0 ? "Út" + std::to_string(i) : "";
    }
    std::string pattern, expected;
    const std::string_view choices = input.Rest().substr(0, 24);
    bool twelveHour = false; // hours count to 12 where the pattern has an AP piece
    for (const char choice : choices)
        twelveHour =
            twelveHour || static_cast<unsigned char>(choice) % kPieceKinds == kTwelveHourPiece;
    bool weekdayUnknown = false; // no weekday without a month
    for (const char choice : choices) {
        const Piece piece =
            PatternPiece(static_cast<unsigned char>(choice), t, regional, twelveHour);
        weekdayUnknown =
            weekdayUnknown || (static_cast<unsigned char>(choice) % kPieceKinds == kWeekdayPiece &&
                               (t.month < 1 || t.month > 12));
        pattern += piece.pattern;
        pattern += "-";
        expected += piece.shown + "-";
    }
    const std::string shown = FormatDateTimePattern(t, pattern, regional);
    if (!weekdayUnknown)
        FUZZ_CHECK(shown == expected);
    regional.shortDateFormat = pattern;
    regional.longTimeFormat = pattern;
    FUZZ_CHECK(FormatListDate(t, regional) == shown && FormatListTime(t, regional) == shown);
    return 0;
}
