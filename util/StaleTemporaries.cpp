#include "util/StaleTemporaries.h"

#include "platform/Files.h"

#include <chrono>

namespace vyp {

namespace {

// When this instance started (taken before main runs): a temporary written since then may
// belong to a writer that has made it and not locked it yet.
const int64_t g_instanceStart = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
// File systems keep coarser times than the clock (two seconds on FAT, and a clock tick
// behind elsewhere); a temporary counts as older only by more than that.
constexpr int64_t kFileTimeSlack = 3'000'000'000;

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr size_t kRandomLength = 6;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

std::optional<std::string_view> SafeWriteTemporaryTarget(std::string_view name) {
    if (name.size() < kTemporaryInfix.size() + kRandomLength)
        return std::nullopt;
    const std::string_view random = name.substr(name.size() - kRandomLength);
    name.remove_suffix(kRandomLength);
    for (char c : random) {
        if (!IsLetterOrDigit(c))
            return std::nullopt;
    }
    if (!name.ends_with(kTemporaryInfix))
        return std::nullopt;
    name.remove_suffix(kTemporaryInfix.size());
    return name;
}

int RemoveStaleTemporariesIn(const std::string& folder, TemporaryTargetTest isOurs) {
    int removed = 0;
    for (const std::string& name : NamesInFolder(folder)) {
        const auto target = SafeWriteTemporaryTarget(name);
        if (target && isOurs(*target) &&
            RemoveIfUnheld(folder, name, g_instanceStart - kFileTimeSlack))
            ++removed;
    }
    return removed;
}

int RemoveOwnTemporariesOf(TemporaryTargetTest isOurs) {
    int removed = 0;
    for (const std::string& path : PathsOfOwnOpenFiles()) {
        const std::string_view name = std::string_view(path).substr(path.find_last_of("/\\") + 1);
        const auto target = SafeWriteTemporaryTarget(name);
        if (target && isOurs(*target) && RemoveFile(path) == 0)
            ++removed;
    }
    return removed;
}

} // namespace vyp
