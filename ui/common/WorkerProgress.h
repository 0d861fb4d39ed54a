// One long job on a worker thread (a scan, a rescan, a search, a sort), as the job and the
// window that waits for it share it: the folders and files it has come to (or, for a sort, its
// share done), the flag that asks it to stop, and its end with the error it ended with, if any.
// The job reports and watches the flag; the window reads the counts to paint them, asks for the
// stop and learns of the end. Atomics only: neither side ever waits for the other here.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>

namespace vyp {

class WorkerProgress {
public:
    // For the job: the counts so far. Returns whether the job should go on, which is what a
    // progress hook of the core returns.
    bool Report(uint64_t folders, uint64_t files) {
        m_folders.store(folders, std::memory_order_relaxed);
        m_files.store(files, std::memory_order_relaxed);
        return !StopRequested();
    }
    // For a job whose end is known (a sort): how much of it is done, in thousandths.
    void ReportShare(double done) {
        m_share.store(static_cast<uint32_t>(std::clamp(done, 0.0, 1.0) * 1000),
                      std::memory_order_relaxed);
    }
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    // The flag itself, for a core job that watches a flag of its own kind.
    const std::atomic<bool>& StopFlag() const { return m_stop; }
    // For whoever runs the job, once it has returned or thrown (failure).
    void Finish(std::exception_ptr failure) {
        m_failure = failure; // read only after Ended(), which the release below publishes
        m_ended.store(true, std::memory_order_release);
    }

    // For the window.
    uint64_t Folders() const { return m_folders.load(std::memory_order_relaxed); }
    uint64_t Files() const { return m_files.load(std::memory_order_relaxed); }
    uint32_t Thousandths() const { return m_share.load(std::memory_order_relaxed); }
    void RequestStop() { m_stop.store(true, std::memory_order_relaxed); }
    bool Ended() const { return m_ended.load(std::memory_order_acquire); }
    // The job's error once it has ended; null when it returned.
    std::exception_ptr Failure() const { return Ended() ? m_failure : nullptr; }
    // Ready for the next job: no counts, no stop, not ended.
    void Reset() {
        m_folders = 0;
        m_files = 0;
        m_share = 0;
        m_stop = false;
        m_failure = nullptr;
        m_ended = false;
    }

private:
    std::atomic<uint64_t> m_folders{0};
    std::atomic<uint64_t> m_files{0};
    std::atomic<uint32_t> m_share{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_ended{false};
    std::exception_ptr m_failure;
};

} // namespace vyp
