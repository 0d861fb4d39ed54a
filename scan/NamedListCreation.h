// Creating a named list: the one sequence behind the new-list window and the command line's
// "scan". It refuses names that are no plain file name or that "settings.ini" could not keep,
// scans the folder, writes the list into "Seznamy" and records its group, in such an order
// that a failure anywhere leaves the old list and its group as they were.
#pragma once

#include "lists/DataFolder.h"
#include "lists/Groups.h"
#include "scan/FolderScan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vyp {

struct NamedList {
    std::string root; // native path ending with the native separator
    std::string name; // the list's name, UTF-8: its file is NAME.sez in "Seznamy"
    int group = kDefaultGroup;
    ScanOptions options;
    // Whether a list of that name may be replaced; when not, one that appears while the folder
    // is scanned (made by another program) is kept and the new one refused.
    bool replaceExisting = true;
};

// What the user is told when a list of that name exists and may not be replaced.
inline constexpr std::string_view kListExistsText = "Tento název seznamu už existuje!";

// How far a scan has come: folders enumerated and files met so far.
struct ScanCount {
    uint64_t folders = 0;
    uint64_t files = 0;
};

// Called on the scanning thread after each folder has been read. Returning false stops the
// scan: CreateNamedList then throws ListCreationStopped and writes nothing.
using ScanProgressHook = std::function<bool(const ScanCount&)>;

// Thrown when the progress hook stopped the scan. Not an error: nobody is told.
struct ListCreationStopped {};

// Why name cannot be the name of a list in data, in the words shown to the user; nothing when
// it can. An empty name is not judged here: the callers ask for a name first.
std::optional<std::string> NamedListProblem(const DataFolder& data, std::string_view name);

// Scans list.root into lines and writes it as the list list.name, with its group, together
// under the data folder's lock (lists/SettingsWriteLock.h). Makes the folder "Seznamy" when it
// is missing. Throws VypisnikError with NamedListProblem's text for a name that is refused,
// kListExistsText for a list that may not be replaced, and with the file's or the lock's error
// when the list or the settings cannot be written; the old list (or none) and its group then
// stay as they were. Returns how many folders could not be read (UnreadableFoldersText tells
// the user).
size_t CreateNamedList(const DataFolder& data, DirectoryWalker& walker, const NamedList& list,
                       ScanLines& lines, const ScanProgressHook& progress = {});

// What the user is told when a list was written but some of its folders could not be read.
std::string UnreadableFoldersText(size_t unreadable);

} // namespace vyp
