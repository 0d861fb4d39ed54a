#include "lists/SettingsWriteLock.h"

#include "platform/SystemError.h"
#include "util/Errors.h"

#include <atomic>

namespace vyp {

namespace {
std::atomic<int> g_waitMilliseconds{SettingsWriteLock::kWaitMilliseconds};
} // namespace

void SettingsWriteLock::SetWaitForTests(int milliseconds) {
    g_waitMilliseconds = milliseconds;
}

std::string SettingsWriteLock::LockPathOf(const std::string& settingsPath) {
    return settingsPath + ".lock";
}

SettingsWriteLock::SettingsWriteLock(const std::string& settingsPath) {
    const int wait = g_waitMilliseconds.load();
    const int err = m_lock.Acquire(LockPathOf(settingsPath), wait);
    if (err == kErrorLockHeld)
        throw VypisnikError("Soubor \"" + settingsPath +
                            "\" právě mění jiný spuštěný Vypisnik a "
                            "ani po " +
                            std::to_string((wait + 999) / 1000) +
                            " s jej neuvolnil; nic nebylo změněno. Zkuste to znovu.");
    if (err != 0)
        throw VypisnikError("Unable to write to " + settingsPath);
}

} // namespace vyp
