// The user's regional settings that the display forms depend on. The windows take them from
// the user's locale; the core receives them as plain values so that tests can pin them.
#pragma once

#include <string>

namespace vyp {

struct RegionalSettings {
    std::string decimalSeparator = ",";
    std::string timeSeparator = ":";
    // Date and time patterns in the usual letters: d dd ddd dddd M MM MMM MMMM yy yyyy for the
    // date, h hh H HH m mm s ss AP ap for the time; text in single quotes is copied as it is.
    std::string shortDateFormat = "dd.MM.yyyy";
    std::string longTimeFormat = "H:mm:ss";

    static RegionalSettings Czech() { return {}; }
    static RegionalSettings English() { return {".", ":", "M/d/yyyy", "h:mm:ss AP"}; }
};

} // namespace vyp
