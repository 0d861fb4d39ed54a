#include "platform/ParallelInOrder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace vyp {
namespace {

// Items that take very different times still come out in their own order, each once, however
// many threads work on them; a failure of one item reaches the caller at that item, after the
// items before it.
TEST(ParallelInOrder, ResultsComeInOrderAndFailuresAtTheirItem) {
    for (size_t workers : {1, 2, 3, 8}) {
        std::vector<size_t> order;
        ParallelInOrder<std::string>(
            50,
            [](size_t i) {
                std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 500));
                return "Seznam " + std::to_string(i);
            },
            [&](size_t i, std::string&& text) {
                EXPECT_EQ(text, "Seznam " + std::to_string(i));
                order.push_back(i);
            },
            workers);
        ASSERT_EQ(order.size(), 50u);
        for (size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(order[i], i);
    }
    std::vector<size_t> consumed;
    EXPECT_THROW(ParallelInOrder<int>(
                     20,
                     [](size_t i) {
                         if (i == 7)
                             throw std::runtime_error("Cannot open file");
                         return static_cast<int>(i);
                     },
                     [&](size_t i, int&&) { consumed.push_back(i); }, 2),
                 std::runtime_error);
    EXPECT_EQ(consumed.size(), 7u);
    ParallelInOrder<int>(
        0, [](size_t) { return 0; }, [](size_t, int&&) { ADD_FAILURE(); });
}

} // namespace
} // namespace vyp
