// The user's regional settings that the display forms depend on. The windows take them from
// the user's locale; the core receives them as plain values so that tests can pin them.
#pragma once

#include <array>
#include <string>

namespace vyp {

struct RegionalSettings {
    std::string decimalSeparator = ",";
    std::string timeSeparator = ":";
    // Date and time patterns in the usual letters: d dd ddd dddd M MM MMM MMMM yy yyyy for the
    // date, h hh H HH m mm s ss AP ap for the time; text in single quotes is copied as it is.
    std::string shortDateFormat = "dd.MM.yyyy";
    std::string longTimeFormat = "H:mm:ss";
    // Names for MMM / MMMM (January first) and ddd / dddd (Monday first); where a name is
    // empty the number is shown instead.
    std::array<std::string, 12> shortMonthNames, longMonthNames;
    std::array<std::string, 7> shortDayNames, longDayNames;

    static RegionalSettings Czech() { return {}; }
    static RegionalSettings English() {
        RegionalSettings english;
        english.decimalSeparator = ".";
        english.shortDateFormat = "M/d/yyyy";
        english.longTimeFormat = "h:mm:ss AP";
        return english;
    }
};

} // namespace vyp
