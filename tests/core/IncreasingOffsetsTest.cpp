#include "lists/IncreasingOffsets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vyp {
namespace {

TEST(IncreasingOffsets, NearFarAndBeyondFourGigabytes) {
    constexpr uint64_t kBand = uint64_t{1} << 32;
    std::vector<uint64_t> values = {0, 17, 17, 17 + 65534, 17 + 65534 + 65535, kBand - 1, kBand};
    for (uint64_t step = 1; values.size() < 200; step = step * 3 % 70001)
        values.push_back(values.back() + step);
    values.push_back(3 * kBand + 5); // far, and at a block's start or not
    for (int i = 0; i < 70; ++i)
        values.push_back(values.back() + (i % 7 == 0 ? 1'000'000 : 12));
    IncreasingOffsets offsets;
    for (uint64_t value : values)
        offsets.Push(value);
    offsets.ShrinkToFit();
    ASSERT_EQ(offsets.Count(), values.size());
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(offsets[i], values[i]) << i;
}

// Truncated at a block's start, inside a block and before a far step, the column goes on from
// the offset it now ends with.
TEST(IncreasingOffsets, TruncatedAndPushedAgain) {
    std::vector<uint64_t> values;
    for (uint64_t i = 0; i < 300; ++i)
        values.push_back(i * 40 + (i > 100 ? 200'000 : 0) + (i > 250 ? 5'000'000'000 : 0));
    for (const size_t count : {0u, 1u, 64u, 65u, 100u, 101u, 128u, 250u, 251u, 299u}) {
        IncreasingOffsets offsets;
        for (uint64_t value : values)
            offsets.Push(value);
        offsets.Truncate(count);
        ASSERT_EQ(offsets.Count(), count);
        std::vector<uint64_t> expected(values.begin(), values.begin() + static_cast<long>(count));
        const uint64_t base = count == 0 ? 0 : values[count - 1];
        for (uint64_t k = 0; k < 150; ++k)
            expected.push_back(base + k * (k % 9 == 0 ? 70'000 : 3));
        for (size_t i = count; i < expected.size(); ++i)
            offsets.Push(expected[i]);
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(offsets[i], expected[i]) << count << " " << i;
        for (size_t i = 1; i < expected.size(); ++i)
            ASSERT_EQ(offsets.BeforeAndAt(i), std::make_pair(expected[i - 1], expected[i]));
    }
}

} // namespace
} // namespace vyp
