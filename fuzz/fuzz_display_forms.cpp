// The size and date display forms on any value: sizes of the whole signed 64-bit range and any
// size text, dates with any fields and any regional patterns. Nothing may crash or overflow.
#include "FuzzSupport.h"

#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "lists/StoredDateTime.h"
#include "util/Errors.h"

using namespace vyp;
using namespace vyp::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputTaker input(data, size);
    const auto bytes = static_cast<int64_t>(input.Number(8));
    RegionalSettings regional =
        input.Number(1) % 2 ? RegionalSettings::English() : RegionalSettings::Czech();
    regional.decimalSeparator = std::string(input.Text().substr(0, 4));
    regional.shortDateFormat = std::string(input.Text().substr(0, 64));
    regional.longTimeFormat = std::string(input.Text().substr(0, 64));

    FUZZ_CHECK(!FormatMB(bytes, regional).empty());
    FUZZ_CHECK(!FormatGB(bytes, regional).empty());
    // A size text that is no number raises the error the user reads; anything else is shown.
    const std::string_view sizeText = input.Text();
    const bool isNumber = TryParseSizeText(sizeText).has_value();
    try {
        FUZZ_CHECK(!FormatExactSize(sizeText).empty());
        FUZZ_CHECK(!FormatTreeSize(sizeText, regional).empty());
        FUZZ_CHECK(isNumber);
    } catch (const VypisnikError&) {
        FUZZ_CHECK(!isNumber);
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
    FormatListDate(t, regional);
    FormatListTime(t, regional);
    FormatDateTimePattern(t, input.Rest().substr(0, 128), regional);
    std::string stored;
    AppendStoredDate(t, stored);
    AppendStoredTime(t, regional.timeSeparator, stored);
    FUZZ_CHECK(!stored.empty());
    return 0;
}
