// Temporary files the safe writer leaves behind when the process is killed while it writes
// ("NAME.sez.tmp-XXXXXX" in "Seznamy", "settings.ini.tmp-XXXXXX" beside them). A writer holds
// an exclusive lock on its temporary for as long as it writes, so a temporary nobody can lock
// is being written and stays; one that can be locked belongs to a writer that is gone.
#pragma once

#include <string_view>

namespace vyp {

class DataFolder;

// True for the names of our temporaries: a list file or "settings.ini" followed by ".tmp-" and
// the six letters or digits the system picked.
bool IsSafeWriteTemporaryName(std::string_view name);

// Removes the stale temporaries in data's folder and list folder: regular files of our names
// that no writer holds. Returns how many were removed. Called at start, before anything writes.
int RemoveStaleTemporaries(const DataFolder& data);

// Removes the temporaries this process has open for writing, wherever they are, so a process
// that is told to end leaves none behind. Their targets keep their old contents.
int RemoveOwnTemporaries();

} // namespace vyp
