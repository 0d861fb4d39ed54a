#include "util/StableKeySort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>
#include <vector>

namespace vyp {
namespace {

// The order a comparison sort gives, equal keys in the order the items had.
std::vector<int32_t> ComparedOrder(std::vector<int32_t> items, const std::vector<uint64_t>& keys,
                                   bool descending) {
    std::stable_sort(items.begin(), items.end(), [&](int32_t a, int32_t b) {
        const uint64_t x = keys[static_cast<size_t>(a)], y = keys[static_cast<size_t>(b)];
        return descending ? y < x : x < y;
    });
    return items;
}

void ExpectAsCompared(const std::vector<int32_t>& items, const std::vector<uint64_t>& keys) {
    for (const bool descending : {false, true}) {
        std::vector<int32_t> sorted = items;
        StableSortByKeys(sorted.data(), sorted.size(), keys, descending);
        ASSERT_EQ(sorted, ComparedOrder(items, keys, descending))
            << items.size() << " items, descending " << descending;
    }
}

// Items in a shuffled order (the order of an earlier sort), keys drawn from values, most of them
// shared by many items, as ranks of equal paths or sizes of equal files are.
std::vector<int32_t> Shuffled(size_t count, std::mt19937_64& random) {
    std::vector<int32_t> items(count);
    std::iota(items.begin(), items.end(), 0);
    std::shuffle(items.begin(), items.end(), random);
    return items;
}

TEST(StableKeySort, EqualKeysKeepTheirOrderInBothDirectionsAtEverySize) {
    std::mt19937_64 random(20261209);
    // Compared, counted in one part, counted in parts side by side.
    for (const size_t count :
         {size_t{0}, size_t{1}, size_t{7}, size_t{3000}, size_t{70000}, size_t{400000}}) {
        std::vector<uint64_t> ranks(count);
        for (uint64_t& rank : ranks)
            rank = random() % (count / 3 + 1); // about three items a rank
        ExpectAsCompared(Shuffled(count, random), ranks);
    }
}

TEST(StableKeySort, KeysOfAnyWidthAndSpread) {
    std::mt19937_64 random(7);
    const size_t count = 300000;
    std::vector<uint64_t> keys(count);
    // Sizes with the sign turned, as a size column keys them: wider than 32 bits, most digits
    // the same for all, a few of the largest and smallest there are.
    for (uint64_t& key : keys)
        key = (uint64_t{1} << 63) + random() % 5000000000ULL;
    keys[17] = 0;
    keys[18] = UINT64_MAX;
    keys[19] = UINT64_MAX;
    ExpectAsCompared(Shuffled(count, random), keys);
    // Keys far apart but few (the ranks of a handful of lists, shifted high).
    for (uint64_t& key : keys)
        key = (random() % 4) << 40;
    ExpectAsCompared(Shuffled(count, random), keys);
    // Every key the same: nothing moves.
    std::fill(keys.begin(), keys.end(), 42);
    ExpectAsCompared(Shuffled(count, random), keys);
}

TEST(StableKeySort, OnlyTheItemsGivenMoveAmongThemselves) {
    // The children of one node of a tree: some of the nodes, keyed by node number.
    std::mt19937_64 random(3);
    std::vector<uint64_t> keys(500000);
    for (uint64_t& key : keys)
        key = random() % 1000;
    std::vector<int32_t> children;
    for (int32_t node = 5; node < 500000; node += 2)
        children.push_back(node);
    std::shuffle(children.begin(), children.end(), random);
    std::vector<int32_t> all(10, -1);
    all.insert(all.end(), children.begin(), children.end());
    all.push_back(-1);
    StableSortByKeys(all.data() + 10, children.size(), keys, true);
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 10, all.end() - 1),
              ComparedOrder(children, keys, true));
    EXPECT_EQ(std::count(all.begin(), all.end(), -1), 11); // nothing written around them
}

TEST(StableKeySort, RanksShareEqualKeysAndFollowTheirOrder) {
    EXPECT_EQ(RanksOfKeys({}), std::vector<uint32_t>{});
    EXPECT_EQ(RanksOfKeys({uint64_t{1} << 63, 0, UINT64_MAX, 0, uint64_t{1} << 63}),
              (std::vector<uint32_t>{1, 0, 2, 0, 1}));
    std::mt19937_64 random(11);
    std::vector<uint64_t> keys(200000);
    for (uint64_t& key : keys)
        key = random() % 70000;
    const std::vector<uint32_t> ranks = RanksOfKeys(keys);
    for (size_t i = 1; i < keys.size(); ++i)
        ASSERT_EQ(keys[i - 1] < keys[i], ranks[i - 1] < ranks[i]) << i;
    EXPECT_EQ(*std::max_element(ranks.begin(), ranks.end()) + 1,
              std::set<uint64_t>(keys.begin(), keys.end()).size());
}

} // namespace
} // namespace vyp
