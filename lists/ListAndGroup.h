// Deleting a list and moving it to another group: a list file in "Seznamy" and its group entry
// in "settings.ini" (section "Seznamy", the file's name as key) change together, under the data
// folder's lock (SettingsWriteLock.h), so whatever else runs beside it (another window, the
// command line) neither outlives the other: no entry is left without its list, and no list
// loses its entry and falls back to "Neurčeno" unnoticed. Creating, overwriting and rescanning
// a list keep the same rule in scan/NamedListCreation.h and scan/ListRescan.h.
#pragma once

#include "lists/DataFolder.h"

#include <string>
#include <string_view>

namespace vyp {

// Removes the list file at listFilePath and its group entry fileName. The entry goes first and
// is put back when the file cannot be removed; a file that is gone already is no error. Throws
// VypisnikError, with both as they were, when the file cannot be removed ("Seznam se nepodařilo
// smazat: "PATH". REASON"), the settings cannot be written or the lock cannot be taken.
void DeleteListAndGroup(const DataFolder& data, const std::string& listFilePath,
                        std::string_view fileName);

// Records group as the group of the list file at listFilePath, whose group entry is fileName.
// Refuses, writing nothing, when the file is gone (another program deleted the list), since
// the entry would be left without its list. Throws VypisnikError then, and when the settings
// cannot be written or the lock cannot be taken.
void MoveListToGroup(const DataFolder& data, const std::string& listFilePath,
                     std::string_view fileName, int group);

} // namespace vyp
