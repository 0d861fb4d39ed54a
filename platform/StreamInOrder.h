// Work on many items spread over the cores whose output is text, handed on in the items' own
// order while it is being made instead of held until the end: the lists of a search that prints
// millions of rows are read and formatted side by side, and the output comes out as from one
// core, with memory bounded however large the lists are. On a single core it is a plain loop.
#pragma once

#include "platform/ParallelInOrder.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vyp {

// Calls produce(i, put) for every i < count on up to workers threads; produce hands item i's
// text in pieces to put(std::string&&) and returns a Result. On the calling thread, take(piece)
// gets the pieces of item 0, then of item 1, ..., each as soon as it is there, and done(i, result)
// follows the last piece of item i. A put waits while its item holds aheadBytes of pieces not
// yet taken, and no item is begun more than workers items after the one being taken, so at most
// about workers × aheadBytes are held at any time. An exception of produce
// reaches the caller from the done step of its item; one of take or done stops the workers.
template <typename Result, typename Produce, typename Take, typename Done>
void StreamInOrder(size_t count, Produce produce, Take take, Done done, size_t aheadBytes,
                   size_t workers = WorkerCount()) {
    workers = std::min(workers, count);
    if (workers <= 1) {
        for (size_t i = 0; i < count; ++i) {
            auto put = [&take](std::string&& piece) {
                take(std::move(piece));
            };
            done(i, produce(i, put));
        }
        return;
    }
    struct Slot {
        std::deque<std::string> pieces;
        size_t bytes = 0; // held in pieces
        std::optional<Result> result;
        std::exception_ptr failure;
        bool done = false;
    };
    // Ends a producer whose output nobody takes any more; the worker then sees stop and returns.
    struct Stopped {};
    ItemsInTurn<Slot> turn(count);
    std::mutex& mutex = turn.mutex;
    std::condition_variable& changed = turn.changed;
    size_t taking = 0; // the item whose pieces the calling thread takes now
    auto make = [&](size_t i) {
        Slot& slot = turn.items[i];
        {
            // An item whose text stays below aheadBytes never waits in put: without this the
            // workers would run on through every item ahead of one slow to be taken.
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return turn.stop || i <= taking + workers; });
            if (turn.stop)
                throw Stopped();
        }
        auto put = [&](std::string&& piece) {
            std::unique_lock lock(mutex);
            slot.bytes += piece.size();
            slot.pieces.push_back(std::move(piece));
            changed.notify_all();
            changed.wait(lock, [&] { return turn.stop || slot.bytes < aheadBytes; });
            if (turn.stop)
                throw Stopped();
        };
        return produce(i, put);
    };
    // The workers are stopped and joined however the taking ends.
    const WorkerThreads threads(
        workers, [&] { turn.Work(make); }, mutex, turn.stop, &changed);
    for (size_t i = 0; i < count; ++i) {
        Slot& slot = turn.items[i];
        {
            const std::lock_guard lock(mutex);
            taking = i;
        }
        changed.notify_all();
        for (;;) {
            std::string piece;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return !slot.pieces.empty() || slot.done; });
                if (slot.pieces.empty()) {
                    if (slot.failure)
                        std::rethrow_exception(slot.failure);
                    break;
                }
                piece = std::move(slot.pieces.front());
                slot.pieces.pop_front();
                slot.bytes -= piece.size();
            }
            changed.notify_all();
            take(std::move(piece));
        }
        // value(), not *: a producer that ended without a result is a fault, never a read of
        // nothing (and GCC's Release build cannot then think the result left unset).
        done(i, std::move(slot.result).value());
    }
}

} // namespace vyp
