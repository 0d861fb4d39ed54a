// Temporary files the safe writer leaves behind when the process is killed while it writes
// ("TARGET.tmp-XXXXXX" beside the file TARGET it was replacing). A writer holds an exclusive lock
// on its temporary from just after making it until it has renamed it into place, so a temporary
// nobody can lock is being written and stays; one that can be locked and was last written
// before this instance started belongs to a writer that is gone. Which targets are the
// program's own is for the caller to say (lists/DataFolder.h knows the data folder's files).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vyp {

// Whether a file name is one of the files whose temporaries may be removed.
using TemporaryTargetTest = bool (*)(std::string_view target);

// The name of the file a safe-write temporary was to replace: "a.sez" for "a.sez.tmp-Ab12Cd"
// (".tmp-" and the six letters or digits the system picked); nothing for any other name.
std::optional<std::string_view> SafeWriteTemporaryTarget(std::string_view name);

// Removes the stale temporaries in folder whose targets isOurs accepts: regular files of the
// temporaries' names that no writer holds, last written a few seconds or more before this
// instance started. Returns how many were removed.
int RemoveStaleTemporariesIn(const std::string& folder, TemporaryTargetTest isOurs);

// Removes the temporaries this process has open for writing, wherever they are, whose targets
// isOurs accepts, so a process that is told to end leaves none behind. Their targets keep their
// old contents. Returns how many were removed.
int RemoveOwnTemporariesOf(TemporaryTargetTest isOurs);

} // namespace vyp
