// Where the program keeps its data: the folder "Seznamy" with the list files and the file
// "settings.ini", both in one data folder (beside the executable for the desktop program).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vyp {

class DataFolder {
public:
    // folder is a native path; a missing trailing separator is added.
    explicit DataFolder(std::string folder);

    const std::string& Folder() const { return m_folder; }
    // The list folder with its trailing separator ("…/Seznamy/").
    std::string ListFolder() const;
    std::string SettingsPath() const;
    // The file of the list named name ("…/Seznamy/NAME.sez").
    std::string ListFilePath(std::string_view name) const;

private:
    std::string m_folder;
};

// Why name cannot be a list name, in the words shown to the user; nothing when it can. A list
// name is a file name, never a path: separators, the characters Windows forbids in names,
// control characters, "." and ".." are refused, and so are names "settings.ini" could not keep
// the group of: holding "=", "[" or "]", starting with ";", starting or ending with a blank, or
// not valid UTF-8.
std::optional<std::string> ListNameProblem(std::string_view name);

// True for the names of the safe writer's temporaries of a list file or of "settings.ini"
// ("NAME.sez.tmp-XXXXXX", "settings.ini.tmp-XXXXXX"; util/StaleTemporaries.h).
bool IsSafeWriteTemporaryName(std::string_view name);

// Removes the stale temporaries of list files and "settings.ini" in data's folder and list
// folder. Returns how many were removed. Called at start, before anything writes.
int RemoveStaleTemporaries(const DataFolder& data);

// Removes the temporaries of list files and "settings.ini" this process has open for writing,
// so a process that is told to end leaves none behind.
int RemoveOwnTemporaries();

} // namespace vyp
