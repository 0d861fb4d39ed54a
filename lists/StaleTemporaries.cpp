#include "lists/StaleTemporaries.h"

#include "lists/DataFolder.h"
#include "lists/ListFile.h"
#include "lists/ListRegistry.h"

#include "platform/Files.h"

#include <string>

namespace vyp {

namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr size_t kRandomLength = 6;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int RemoveStaleIn(const std::string& folder) {
    int removed = 0;
    for (const std::string& name : NamesInFolder(folder)) {
        if (IsSafeWriteTemporaryName(name) && RemoveIfUnheld(folder, name))
            ++removed;
    }
    return removed;
}

} // namespace

bool IsSafeWriteTemporaryName(std::string_view name) {
    if (name.size() < kTemporaryInfix.size() + kRandomLength)
        return false;
    const std::string_view random = name.substr(name.size() - kRandomLength);
    name.remove_suffix(kRandomLength);
    for (char c : random) {
        if (!IsLetterOrDigit(c))
            return false;
    }
    if (!name.ends_with(kTemporaryInfix))
        return false;
    name.remove_suffix(kTemporaryInfix.size());
    std::string listPattern = "*";
    listPattern += kListExtension;
    return name == kSettingsFileName ||
           (name.size() > kListExtension.size() && MatchesPattern(name, listPattern));
}

int RemoveStaleTemporaries(const DataFolder& data) {
    return RemoveStaleIn(data.Folder()) + RemoveStaleIn(data.ListFolder());
}

int RemoveOwnTemporaries() {
    int removed = 0;
    for (const std::string& path : PathsOfOwnOpenFiles()) {
        const std::string_view name = std::string_view(path).substr(path.find_last_of("/\\") + 1);
        if (IsSafeWriteTemporaryName(name) && RemoveFile(path) == 0)
            ++removed;
    }
    return removed;
}

} // namespace vyp
