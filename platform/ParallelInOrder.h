// Work on many independent items (the lists of a catalogue) spread over the processor's cores,
// with the results taken in the items' own order on the calling thread: the readers run side by
// side, while whatever the results go into (a tree, a table of rows) is filled in the same order
// as by one core. On a single core it is a plain loop.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vyp {

// The number of threads that work side by side: one per core.
inline size_t WorkerCount() {
    return std::max<size_t>(1, std::thread::hardware_concurrency());
}

// Threads that run work until it returns, stopped and joined when this goes, however the
// caller's loop ends: stop is set under mutex and wake (if given) is told, so that a worker
// waiting on it sees the stop and returns.
class WorkerThreads {
public:
    template <typename Work>
    WorkerThreads(size_t count, Work work, std::mutex& mutex, bool& stop,
                  std::condition_variable* wake = nullptr)
        : m_mutex(mutex), m_stop(stop), m_wake(wake) {
        m_threads.reserve(count);
        for (size_t t = 0; t < count; ++t)
            m_threads.emplace_back(work);
    }
    ~WorkerThreads() {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        if (m_wake != nullptr)
            m_wake->notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

private:
    std::mutex& m_mutex;
    bool& m_stop;
    std::condition_variable* m_wake;
    std::vector<std::thread> m_threads;
};

// What the workers of ParallelInOrder and StreamInOrder share: a slot per item, and the loop
// each worker runs, which takes the items in turn until stop is set or none is left, has make(i)
// make item i's result, stores it or what make threw in the item's slot, and wakes whoever waits
// on changed. Slot holds result (an optional), failure and done, and may hold more.
template <typename Slot> struct ItemsInTurn {
    explicit ItemsInTurn(size_t count) : items(count) {}

    template <typename Make> void Work(Make& make) {
        for (;;) {
            size_t i = 0;
            {
                const std::lock_guard lock(mutex);
                if (stop || next == items.size())
                    return;
                i = next++;
            }
            decltype(Slot::result) result;
            std::exception_ptr failure;
            try {
                result.emplace(make(i));
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                items[i].result = std::move(result);
                items[i].failure = failure;
                items[i].done = true;
            }
            changed.notify_all();
        }
    }

    std::vector<Slot> items;
    std::mutex mutex;
    std::condition_variable changed;
    size_t next = 0;
    bool stop = false;
};

// Calls produce(i) for every i < count on up to workers threads and consume(i, result) on the
// calling thread for i = 0, 1, ... in turn, each as soon as its result is there. An exception of
// produce reaches the caller from the consume step of its item.
template <typename Result, typename Produce, typename Consume>
void ParallelInOrder(size_t count, Produce produce, Consume consume,
                     size_t workers = WorkerCount()) {
    workers = std::min(workers, count);
    if (workers <= 1) {
        for (size_t i = 0; i < count; ++i)
            consume(i, produce(i));
        return;
    }
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr failure;
        bool done = false;
    };
    ItemsInTurn<Slot> turn(count);
    // The workers are joined however the consuming ends.
    const WorkerThreads threads(
        workers, [&] { turn.Work(produce); }, turn.mutex, turn.stop);
    for (size_t i = 0; i < count; ++i) {
        Slot& slot = turn.items[i];
        std::optional<Result> result;
        {
            std::unique_lock lock(turn.mutex);
            turn.changed.wait(lock, [&] { return slot.done; });
            if (slot.failure)
                std::rethrow_exception(slot.failure);
            result = std::move(slot.result);
            slot.result.reset();
        }
        consume(i, std::move(*result));
    }
}

} // namespace vyp
