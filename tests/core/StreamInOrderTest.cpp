#include "platform/StreamInOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace vyp {
namespace {

std::string PieceText(size_t item, size_t piece) {
    return "Seznam " + std::to_string(item) + " kus " + std::to_string(piece) + ";";
}

// Items of very different lengths, made at different speeds, come out piece by piece in their
// own order, however many threads make them; each item's result follows its last piece, and an
// item ahead of the one being taken never holds much more than the bound.
TEST(StreamInOrder, PiecesComeInOrderAndItemsAheadHoldLittle) {
    for (size_t workers : {1, 2, 3, 8}) {
        std::atomic<size_t> held{0};
        size_t mostHeld = 0;
        std::string expected;
        for (size_t i = 0; i < 40; ++i) {
            for (size_t k = 0; k < (i * 37) % 90; ++k)
                expected += PieceText(i, k);
            expected += "|" + std::to_string(i) + "|";
        }
        std::string taken;
        StreamInOrder<size_t>(
            40,
            [&](size_t i, auto& put) {
                const size_t pieces = (i * 37) % 90;
                for (size_t k = 0; k < pieces; ++k) {
                    if ((i + k) % 11 == 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                    std::string piece = PieceText(i, k);
                    held += piece.size();
                    put(std::move(piece));
                }
                return i;
            },
            [&](std::string&& piece) {
                mostHeld = std::max(mostHeld, held.load());
                held -= piece.size();
                taken += piece;
            },
            [&](size_t i, size_t result) {
                EXPECT_EQ(result, i);
                taken += "|" + std::to_string(result) + "|";
            },
            64, workers);
        EXPECT_EQ(taken, expected) << workers << " workers";
        // Each worker waits once its item holds 64 bytes; one more piece may be on its way.
        EXPECT_LE(mostHeld, workers * (64 + 64)) << workers << " workers";
    }
}

// Items too short ever to wait in put are not begun far ahead of the one being taken: a slow
// taker of many short items (the small pieces of a list, say) has a few of them held, not all.
TEST(StreamInOrder, ShortItemsAreNotBegunFarAheadOfASlowTaker) {
    for (size_t workers : {2, 3}) {
        std::atomic<size_t> finished{0}; // items whose result was taken
        std::atomic<size_t> mostAhead{0};
        std::string taken;
        StreamInOrder<size_t>(
            200,
            [&](size_t i, auto& put) {
                const size_t ahead = i - std::min(i, finished.load());
                size_t seen = mostAhead.load();
                while (ahead > seen && !mostAhead.compare_exchange_weak(seen, ahead)) {
                }
                put(PieceText(i, 0));
                return i;
            },
            [&](std::string&& piece) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                taken += piece;
            },
            [&](size_t, size_t) { ++finished; }, size_t{1} << 20, workers);
        EXPECT_EQ(taken.rfind(PieceText(199, 0)), taken.size() - PieceText(199, 0).size());
        EXPECT_LE(mostAhead.load(), workers + 1) << workers << " workers";
    }
}

// A failing item reaches the caller at its place, after the pieces before it; a taker that
// fails stops the workers, also those waiting to hand on, and the call returns.
TEST(StreamInOrder, FailuresOfItemsAndOfTheTakerEndTheWork) {
    for (size_t workers : {1, 2, 4}) {
        std::string taken;
        auto produce = [](size_t i, auto& put) {
            for (size_t k = 0; k < 5; ++k)
                put(PieceText(i, k));
            if (i == 3)
                throw std::runtime_error("Cannot read list 3");
            return i;
        };
        EXPECT_THROW(StreamInOrder<size_t>(
                         10, produce, [&](std::string&& piece) { taken += piece; },
                         [](size_t, size_t) {}, 16, workers),
                     std::runtime_error);
        EXPECT_EQ(taken.rfind(PieceText(3, 4)), taken.size() - PieceText(3, 4).size());

        size_t pieces = 0;
        EXPECT_THROW(StreamInOrder<size_t>(
                         100,
                         [](size_t i, auto& put) {
                             for (size_t k = 0; k < 1000; ++k)
                                 put(PieceText(i, k));
                             return i;
                         },
                         [&](std::string&&) {
                             if (++pieces == 50)
                                 throw std::runtime_error("output closed");
                         },
                         [](size_t, size_t) {}, 16, workers),
                     std::runtime_error);
        EXPECT_EQ(pieces, 50u);
    }
}

} // namespace
} // namespace vyp
