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

} // namespace
} // namespace vyp
