#include "lists/ListRegistry.h"

#include "lists/Groups.h"
#include "lists/SettingsFile.h"
#include "platform/Native.h"
#include "util/Encoding.h"

namespace vyp {

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    // Greedy matching with one remembered "*", which is enough for "*" and "?" patterns.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool FindLists(ListRegistry& registry, std::string folder, std::string_view pattern,
               const std::string& settingsPath, DirectoryWalker& walker) {
    registry.ListPaths.clear();
    registry.ListInfos.clear();
    const SettingsFile settings(settingsPath);
    if (folder.empty() || folder.back() != kNativeSeparator)
        folder.push_back(kNativeSeparator);
    std::vector<DirectoryEntry> entries;
    walker.ListFolder(folder, entries);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isFolder || !MatchesPattern(entry.name, pattern))
            continue;
        rsznListInfo info;
        info.FileName = entry.name;
        info.FullPath = folder + entry.name;
        info.Date = entry.modified;
        info.Time = entry.modified;
        info.FileSize = static_cast<int32_t>(static_cast<uint32_t>(entry.size));
        info.Kind = 1;
        info.Group = settings.ReadInteger(kListsSection, entry.name, kDefaultGroup);
        registry.ListPaths.push_back(info.FullPath);
        registry.ListInfos.push_back(std::move(info));
    }
    return !registry.ListPaths.empty();
}

} // namespace vyp
