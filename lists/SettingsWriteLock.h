// The lock that every writer of one data folder holds while it reads, changes and replaces
// "settings.ini", and while a list file and its group entry change together: the lock file
// "settings.ini.lock" beside it (platform/WriterLock.h), shared by the windows and the command
// line of every running copy of the program. Readers take no lock: the file is replaced whole,
// so they never see it half-written.
#pragma once

#include "platform/WriterLock.h"

#include <string>

namespace vyp {

class SettingsWriteLock {
public:
    // How long a writer waits for another one before it gives up, unless a test says otherwise.
    static constexpr int kWaitMilliseconds = 10000;
    // For tests of a lock held elsewhere: the wait of every lock taken from now on.
    static void SetWaitForTests(int milliseconds);

    // Takes the lock of the settings file at settingsPath. Throws VypisnikError when it cannot:
    // naming the file and the other program when that one kept it too long, and "Unable to
    // write to PATH" when the lock cannot be taken at all (a read-only folder), as for a write
    // the system refuses.
    explicit SettingsWriteLock(const std::string& settingsPath);

    // The lock file of the settings file at settingsPath.
    static std::string LockPathOf(const std::string& settingsPath);

private:
    WriterLock m_lock;
};

} // namespace vyp
