// The list registry: the list files found in the list folder, with their file dates and
// groups, in the order of the enumeration. Other records refer to a list by its index here.
#pragma once

#include "platform/LocalDateTime.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class DirectoryWalker;

struct rsznListInfo {
    std::string FileName; // as enumerated, extension included ("Disk1.sez")
    std::string FullPath; // the searched folder followed by FileName
    LocalDateTime Date;   // last write, local time, even seconds
    LocalDateTime Time;   // the same value as Date
    int32_t FileSize = 0; // low 32 bits of the size; nothing reads it
    int32_t Kind = 1;     // the list node's kind and picture in the list tree
    int32_t Group = 8;    // from "settings.ini", stored as read (see EffectiveGroup)
};

struct ListRegistry {
    std::vector<std::string> ListPaths;  // FullPath of each entry
    std::vector<rsznListInfo> ListInfos; // same length and order as ListPaths
};

// Rebuilds registry from the files in folder whose names match pattern (letter case ignored;
// "*" and "?" as wildcards), reading each list's group from the "Seznamy" section of the
// settings file at settingsPath (default 8). Folders are skipped: a folder named x.sez is no
// list. Returns true when at least one list was found.
bool FindLists(ListRegistry& registry, std::string folder, std::string_view pattern,
               const std::string& settingsPath, DirectoryWalker& walker);

// True when name matches a "*"/"?" pattern, ASCII letter case ignored.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The settings section that holds the groups of the lists.
inline constexpr std::string_view kListsSection = "Seznamy";

} // namespace vyp
