// The exclusive lock that every writer of a set of files takes before it reads, changes and
// replaces them, whether it runs in this process or in another: an advisory lock on a lock file
// (TryLockFile in Files.h). A thread that holds it may take it again, so a transaction can call
// another that takes the same lock; other threads and processes wait for it. The system drops
// it with its holder, so a lock file left by a killed process means nothing.
#pragma once

#include <cstdint>
#include <string>

namespace vyp {

class WriterLock {
public:
    WriterLock() = default;
    ~WriterLock() { Release(); }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    // Takes the lock of lockPath, waiting up to waitMilliseconds for its holder. Returns 0;
    // kErrorLockHeld when another holder kept it all that time; or the system's error when the
    // lock cannot be taken at all (the lock file cannot be made in a read-only folder).
    int Acquire(const std::string& lockPath, int waitMilliseconds);
    // Gives the lock up (this holder's part of it, when the thread took it more than once), on
    // the thread that took it.
    void Release();
    bool Held() const { return m_held != nullptr; }

    struct Shared; // the lock of one lock file within this process

private:
    Shared* m_held = nullptr;
};

} // namespace vyp
