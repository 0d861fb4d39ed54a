// Local time on Windows. The offset is the one in force on the file's own date, from the time
// zone's rules for that year (as on Linux), not today's offset that the classic conversion of a
// FILETIME applies: so a list made in winter shows a summer file at the hour it showed in
// summer, and the same tree gives the same list on either system.
#include "platform/LocalDateTime.h"

#include "platform/windows/WindowsApi.h"

#include <map>
#include <mutex>

namespace vyp {

namespace {
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kFileTimeOf1970Seconds = 11644473600; // seconds from 1601 to 1970
constexpr int64_t kLastFileTimeSeconds = 910692730085;  // the last second a FILETIME can hold
constexpr int64_t kMomentLimit = int64_t{1} << 56;      // far beyond any file system's time

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// The time zone's rules for a year, asked once per year: a scan converts a time per file.
const TIME_ZONE_INFORMATION* ZoneOfYear(WORD year) {
    static std::mutex mutex;
    static std::map<WORD, TIME_ZONE_INFORMATION> zones;
    const std::lock_guard lock(mutex);
    const auto found = zones.find(year);
    if (found != zones.end())
        return &found->second;
    TIME_ZONE_INFORMATION zone{};
    if (!::GetTimeZoneInformationForYear(year, nullptr, &zone))
        ::GetTimeZoneInformation(&zone); // today's rules, for a system without the yearly ones
    return &zones.emplace(year, zone).first->second;
}

// The offset of local time from UTC at the moment, in seconds.
int64_t OffsetAt(int64_t unixSeconds) {
    static const int64_t standard = [] {
        TIME_ZONE_INFORMATION zone{};
        ::GetTimeZoneInformation(&zone);
        return -int64_t{zone.Bias} * 60;
    }();
    if (unixSeconds < -kFileTimeOf1970Seconds || unixSeconds > kLastFileTimeSeconds)
        return standard; // no rules for such years: the standard offset
    const auto steps = static_cast<uint64_t>(unixSeconds + kFileTimeOf1970Seconds) * 10000000;
    const FILETIME utcTime{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localTime{};
    if (!::FileTimeToSystemTime(&utcTime, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(ZoneOfYear(utc.wYear), &utc, &local) ||
        !::SystemTimeToFileTime(&local, &localTime))
        return standard;
    const auto localSteps =
        static_cast<int64_t>((uint64_t{localTime.dwHighDateTime} << 32) | localTime.dwLowDateTime);
    return (localSteps - static_cast<int64_t>(steps)) / 10000000;
}
} // namespace

LocalDateTime ToLocalDateTime(int64_t unixSeconds) {
    if (unixSeconds < -kMomentLimit || unixSeconds > kMomentLimit)
        return {};
    const int64_t local = unixSeconds + OffsetAt(unixSeconds);
    const int64_t days = FloorDiv(local, kSecondsPerDay);
    const int64_t secondOfDay = local - days * kSecondsPerDay;
    // The civil date of a day count since 1970-01-01, proleptic Gregorian.
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153; // March is 0
    LocalDateTime t;
    t.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    t.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    t.year = yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60) & ~1;
    return t;
}

} // namespace vyp
