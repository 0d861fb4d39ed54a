#include "platform/WriterLock.h"

#include "platform/Files.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace vyp {

// Within one process the threads queue on a mutex, so that only one of them holds the file's
// lock and the system sees one holder; the thread that holds it counts how often it took it.
struct WriterLock::Shared {
    std::recursive_timed_mutex threads;
    intptr_t handle = kClosedHandle;
    int depth = 0; // touched only by the thread that holds `threads`
};

namespace {

WriterLock::Shared& SharedLockOf(const std::string& lockPath) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<WriterLock::Shared>> locks; // a few paths a run
    const std::lock_guard guard(mutex);
    std::unique_ptr<WriterLock::Shared>& shared = locks[lockPath];
    if (!shared)
        shared = std::make_unique<WriterLock::Shared>();
    return *shared;
}

// Waits between tries of the file's lock: short at first, a little longer later, and never in
// step with the other waiters, so that they do not all try at the same moment.
std::chrono::microseconds Pause(int attempt) {
    thread_local std::minstd_rand random{std::random_device{}()};
    const int longest = std::min(20000, 500 << std::min(attempt, 5));
    return std::chrono::microseconds(
        std::uniform_int_distribution<int>(longest / 2, longest)(random));
}

} // namespace

int WriterLock::Acquire(const std::string& lockPath, int waitMilliseconds) {
    Release();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    Shared& shared = SharedLockOf(lockPath);
    if (!shared.threads.try_lock_until(deadline))
        return kErrorLockHeld;
    if (shared.depth == 0) {
        for (int attempt = 0;; ++attempt) {
            const int err = TryLockFile(lockPath, shared.handle);
            if (err == 0)
                break;
            if (err != kErrorLockHeld || std::chrono::steady_clock::now() >= deadline) {
                shared.threads.unlock();
                return err;
            }
            std::this_thread::sleep_for(Pause(attempt));
        }
    }
    ++shared.depth;
    m_held = &shared;
    return 0;
}

void WriterLock::Release() {
    if (m_held == nullptr)
        return;
    if (--m_held->depth == 0) {
        UnlockFile(m_held->handle);
        m_held->handle = kClosedHandle;
    }
    m_held->threads.unlock();
    m_held = nullptr;
}

} // namespace vyp
