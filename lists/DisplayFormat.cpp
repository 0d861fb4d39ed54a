#include "lists/DisplayFormat.h"

#include "lists/SizeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vyp {

namespace {

std::string ZeroText(std::string_view decimalSeparator) {
    std::string text = "0";
    text.append(decimalSeparator);
    text.append("00");
    return text;
}

__extension__ typedef unsigned __int128 Uint128;

std::string ToDecimal(Uint128 value) {
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return std::string(digits.rbegin(), digits.rend());
}

// The decimal digits of a >= 0.001: all integer digits and the first eight fraction digits,
// exact (not rounded), which is all that rounding to four significant digits looks at.
void ExactDecimal(double a, std::string& integerDigits, std::string& fractionDigits) {
    int exponent = 0;
    const double fraction = std::frexp(a, &exponent);
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53)); // a = mantissa * 2^shift
    const int shift = exponent - 53;
    fractionDigits.clear();
    if (shift >= 0) {
        if (shift > 74) { // beyond 128 bits: let the C library write its exact expansion
            std::string text(400, '\0');
            text.resize(static_cast<size_t>(std::snprintf(text.data(), text.size(), "%.0f", a)));
            integerDigits = text;
            return;
        }
        integerDigits = ToDecimal(static_cast<Uint128>(mantissa) << shift);
        return;
    }
    const int bits = -shift; // at most 63 for a >= 0.001
    const Uint128 mask = (static_cast<Uint128>(1) << bits) - 1;
    integerDigits = ToDecimal(bits >= 64 ? 0 : mantissa >> bits);
    Uint128 rest = mantissa & mask;
    for (int i = 0; i < 8; ++i) {
        rest *= 10;
        fractionDigits.push_back(static_cast<char>('0' + static_cast<int>(rest >> bits)));
        rest &= mask;
    }
}

} // namespace

std::string FormatSizeNumber(double v, std::string_view decimalSeparator) {
    // Below 0.001 fewer than no significant digit is kept: the value shows as zero.
    if (!std::isfinite(v) || std::fabs(v) < 0.001)
        return ZeroText(decimalSeparator);
    const bool negative = v < 0;
    std::string integerDigits, fractionDigits;
    ExactDecimal(std::fabs(v), integerDigits, fractionDigits);

    // E: the number of digits before the decimal point (0 and below for values under 1).
    int e = 0;
    std::string digits; // significant digits, the first one non-zero
    if (integerDigits != "0") {
        e = static_cast<int>(integerDigits.size());
        digits = integerDigits + fractionDigits;
    } else {
        const size_t firstNonZero = fractionDigits.find_first_not_of('0');
        if (firstNonZero == std::string::npos)
            return ZeroText(decimalSeparator);
        e = -static_cast<int>(firstNonZero);
        digits = fractionDigits.substr(firstNonZero);
    }

    const int keep = std::min(e + 2, 4);
    if (keep < 0)
        return ZeroText(decimalSeparator);
    std::string kept = digits.substr(0, static_cast<size_t>(keep));
    const char firstDropped = static_cast<size_t>(keep) < digits.size() ? digits[keep] : '0';
    if (firstDropped >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i >= 0) {
            ++kept[i];
        } else {
            kept.assign(1,
                        '1'); // the carry left the first digit: 9999.5 becomes 1 with E one larger
            ++e;
        }
    }
    while (!kept.empty() && kept.back() == '0')
        kept.pop_back();
    if (kept.empty())
        return ZeroText(decimalSeparator);

    std::string text;
    if (negative)
        text.push_back('-');
    if (e > 4) {
        text.push_back(kept[0]);
        if (kept.size() > 1) {
            text.append(decimalSeparator);
            text.append(kept, 1, 3);
        }
        text.push_back('E');
        const int exponent = e - 1;
        if (exponent < 10)
            text.push_back('0');
        text.append(std::to_string(exponent));
        return text;
    }
    std::string decimals;
    if (e <= 0) {
        text.push_back('0');
        decimals.append(static_cast<size_t>(std::min(-e, 2)), '0');
        decimals.append(kept);
    } else {
        for (int i = 0; i < e; ++i)
            text.push_back(static_cast<size_t>(i) < kept.size() ? kept[i] : '0');
        if (kept.size() > static_cast<size_t>(e))
            decimals = kept.substr(static_cast<size_t>(e));
    }
    decimals.resize(2, '0');
    text.append(decimalSeparator);
    text.append(decimals);
    return text;
}

char* PutMB(int64_t bytes, const RegionalSettings& regional, char* out) {
    // bytes / 2^20 is exact in a double below 2^53 bytes, so the size number form of it can be
    // reckoned in integers: round half up to four significant digits, at most two decimals,
    // shown with two. What would take the exponent form (from 10000 MB on, after rounding),
    // negative and huge sizes go the general way.
    constexpr int64_t kExactBelow = int64_t{1} << 53;
    const std::string_view separator = regional.decimalSeparator;
    if (bytes < 0 || bytes >= kExactBelow || separator.size() > 8)
        return nullptr;
    const auto n = static_cast<uint64_t>(bytes);
    const uint64_t whole = n >> 20;
    const int decimals = whole < 100 ? 2 : whole < 1000 ? 1 : 0;
    const uint64_t scale = decimals == 2 ? 100 : decimals == 1 ? 10 : 1;
    const uint64_t scaled = n * scale;
    uint64_t kept = scaled >> 20;
    if ((scaled & ((uint64_t{1} << 20) - 1)) >= (uint64_t{1} << 19))
        ++kept;
    const uint64_t hundredths = kept * (100 / scale);
    if (hundredths >= 1000000)
        return nullptr;
    // Two digits at a time from a table: this runs for every row a search prints.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "62636465666768697071727374757677787980818283848586878889909192"
        "93949596979899";
    auto pair = [](char* at, uint64_t value) {
        std::memcpy(at, kPairs + 2 * value, 2);
    };
    const uint64_t integer = hundredths / 100;
    if (integer < 10) {
        *out++ = static_cast<char>('0' + integer);
    } else if (integer < 100) {
        pair(out, integer);
        out += 2;
    } else if (integer < 1000) {
        *out++ = static_cast<char>('0' + integer / 100);
        pair(out, integer % 100);
        out += 2;
    } else {
        pair(out, integer / 100);
        pair(out + 2, integer % 100);
        out += 4;
    }
    if (separator.size() == 1) {
        *out++ = separator[0]; // the usual "," or ".", with no call of memcpy
    } else {
        std::memcpy(out, separator.data(), separator.size());
        out += separator.size();
    }
    pair(out, hundredths % 100);
    std::memcpy(out + 2, " MB", 3);
    return out + 5;
}

void AppendMB(int64_t bytes, const RegionalSettings& regional, std::string& out) {
    char text[kMBFormMost];
    if (const char* end = PutMB(bytes, regional, text)) {
        out.append(text, static_cast<size_t>(end - text));
        return;
    }
    out.append(FormatSizeNumber(static_cast<double>(bytes) / 1048576.0, regional.decimalSeparator));
    out.append(" MB");
}

std::string FormatMB(int64_t bytes, const RegionalSettings& regional) {
    std::string text;
    AppendMB(bytes, regional, text);
    return text;
}

std::string FormatGB(int64_t bytes, const RegionalSettings& regional) {
    return FormatSizeNumber(static_cast<double>(bytes) / 1073741824.0, regional.decimalSeparator) +
           " GB";
}

std::string FormatTreeSize(std::string_view sizeText, const RegionalSettings& regional) {
    const int64_t bytes = ParseSizeText(sizeText);
    return bytes <= kTreeSizeMegabyteLimit ? FormatMB(bytes, regional) : FormatGB(bytes, regional);
}

std::string FormatExactSize(std::string_view sizeText) {
    std::string text(sizeText);
    text.append(" B");
    return text;
}

namespace {
// Monday 0 … Sunday 6, for a date of the proleptic Gregorian calendar. Any year: the sums are
// 64-bit and the divisions round down, so years before 1 and near the ends of the range work too.
int DayOfWeek(int64_t year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12)
        return 0;
    const int64_t y = month < 3 ? year - 1 : year;
    auto floorDiv = [](int64_t a, int64_t b) {
        return a / b - ((a % b != 0) && (a < 0));
    };
    const int64_t sum =
        y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) + offsets[month - 1] + day;
    const auto sundayFirst = static_cast<int>(((sum % 7) + 7) % 7);
    return (sundayFirst + 6) % 7;
}
} // namespace

std::string FormatDateTimePattern(const LocalDateTime& t, std::string_view pattern,
                                  const RegionalSettings& regional) {
    const bool twelveHour = pattern.find("AP") != std::string_view::npos ||
                            pattern.find("ap") != std::string_view::npos;
    std::string out;
    // The sign comes before the leading zeros, as in the stored dates ("-0005", not "00-5").
    auto number = [&out](int64_t value, size_t width) {
        const std::string digits = std::to_string(value < 0 ? -static_cast<uint64_t>(value)
                                                            : static_cast<uint64_t>(value));
        if (value < 0)
            out.push_back('-');
        if (digits.size() < width)
            out.append(width - digits.size(), '0');
        out.append(digits);
    };
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            const size_t close = pattern.find('\'', i + 1);
            if (close == i + 1) {
                out.push_back('\''); // '' is a quote
            } else {
                out.append(pattern.substr(i + 1, close == std::string_view::npos
                                                     ? std::string_view::npos
                                                     : close - i - 1));
            }
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
            if (run >= 3) {
                const auto& names = run >= 4 ? regional.longDayNames : regional.shortDayNames;
                const std::string& name =
                    names[static_cast<size_t>(DayOfWeek(t.year, t.month, t.day))];
                if (!name.empty()) {
                    out.append(name);
                    break;
                }
            }
            number(t.day, run >= 2 ? 2 : 1);
            break;
        case 'M':
            if (run >= 3 && t.month >= 1 && t.month <= 12) {
                const auto& names = run >= 4 ? regional.longMonthNames : regional.shortMonthNames;
                const std::string& name = names[static_cast<size_t>(t.month - 1)];
                if (!name.empty()) {
                    out.append(name);
                    break;
                }
            }
            number(t.month, run >= 2 ? 2 : 1);
            break;
        case 'y':
            if (run >= 4)
                number(t.year, 4);
            else
                number(((t.year % 100) + 100) % 100, 2);
            break;
        case 'h': {
            int hour = t.hour;
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            number(hour, run >= 2 ? 2 : 1);
            break;
        }
        case 'H':
            number(t.hour, run >= 2 ? 2 : 1);
            break;
        case 'm':
            number(t.minute, run >= 2 ? 2 : 1);
            break;
        case 's':
            number(t.second, run >= 2 ? 2 : 1);
            break;
        case 'A':
        case 'a':
            if (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) {
                const bool pm = t.hour >= 12;
                out.append(c == 'A' ? (pm ? "PM" : "AM") : (pm ? "pm" : "am"));
                run = 2;
            } else {
                out.append(run, c);
            }
            break;
        default:
            out.append(run, c);
            break;
        }
        i += run;
    }
    return out;
}

std::string FormatListDate(const LocalDateTime& t, const RegionalSettings& regional) {
    return FormatDateTimePattern(t, regional.shortDateFormat, regional);
}

std::string FormatListTime(const LocalDateTime& t, const RegionalSettings& regional) {
    return FormatDateTimePattern(t, regional.longTimeFormat, regional);
}

} // namespace vyp
