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
    std::vector<uint64_t> keys(300000); // ranked in parts side by side
    for (uint64_t& key : keys)
        key = random() % 70000;
    const std::vector<uint32_t> ranks = RanksOfKeys(keys);
    for (size_t i = 1; i < keys.size(); ++i)
        ASSERT_EQ(keys[i - 1] < keys[i], ranks[i - 1] < ranks[i]) << i;
    EXPECT_EQ(*std::max_element(ranks.begin(), ranks.end()) + 1,
              std::set<uint64_t>(keys.begin(), keys.end()).size());
    // Sizes as a size column gives them (the sign bit flipped): rows without a number (0)
    // among sizes within 4 GiB of each other, a disc's 123 GB beside them, sizes of any width.
    for (const uint64_t spread : {uint64_t{5000000}, uint64_t{1} << 37, UINT64_MAX}) {
        for (uint64_t& key : keys)
            key = random() % 9 == 0 ? 0 : (uint64_t{1} << 63) + random() % spread;
        keys[7] = (uint64_t{1} << 63) + 123456789012;
        const std::vector<uint32_t> sizes = RanksOfKeys(keys);
        std::vector<size_t> order(keys.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::sort(order.begin(), order.end(),
                  [&](size_t a, size_t b) { return keys[a] < keys[b]; });
        ASSERT_EQ(sizes[order[0]], 0u) << spread;
        for (size_t i = 1; i < order.size(); ++i)
            ASSERT_EQ(sizes[order[i]], sizes[order[i - 1]] + (keys[order[i]] != keys[order[i - 1]]))
                << spread << " " << i;
    }
}

// Rows of a table in the order shown, sorted by the ranks of a column as a comparison would.
void ExpectRankedAsCompared(const std::vector<uint32_t>& rows, const std::vector<uint32_t>& ranks,
                            bool descending) {
    std::vector<uint32_t> sorted = rows;
    const bool moved = StableSortByRanks(sorted.data(), sorted.size(), ranks, descending);
    std::vector<uint32_t> compared = rows;
    std::stable_sort(compared.begin(), compared.end(), [&](uint32_t a, uint32_t b) {
        return descending ? ranks[b] < ranks[a] : ranks[a] < ranks[b];
    });
    ASSERT_EQ(sorted, compared) << rows.size() << " rows, descending " << descending;
    // Told whether the table has a new order to show.
    ASSERT_EQ(moved, compared != rows) << rows.size() << " rows, descending " << descending;
}

TEST(StableKeySort, RowsByRanksFromAnyEarlierOrderInBothDirections) {
    std::mt19937_64 random(26);
    for (const size_t count : {size_t{0}, size_t{1}, size_t{2}, size_t{900}, size_t{250000}}) {
        // Many paths equal (the same disc in two lists), many sizes shared by many files, every
        // row its own rank, and every row the same.
        for (const size_t spread : {count / 3 + 1, count / 1000 + 1, count + 1, size_t{1}}) {
            std::vector<uint32_t> ranks(count);
            for (uint32_t& rank : ranks)
                rank = static_cast<uint32_t>(random() % spread % (count == 0 ? 1 : count));
            std::vector<uint32_t> rows(count);
            std::iota(rows.begin(), rows.end(), 0U);
            std::shuffle(rows.begin(), rows.end(), random);
            for (const bool descending : {false, true})
                ExpectRankedAsCompared(rows, ranks, descending);
            // Sorted one way, then the other, then back: runs of equal ranks are turned over as
            // wholes and keep the order they had; a table sorted by another column first.
            for (const bool first : {false, true}) {
                std::vector<uint32_t> sorted = rows;
                StableSortByRanks(sorted.data(), count, ranks, first);
                ExpectRankedAsCompared(sorted, ranks, !first);
                ExpectRankedAsCompared(sorted, ranks, first);
                std::vector<uint32_t> turned = sorted;
                StableSortByRanks(turned.data(), count, ranks, !first);
                ExpectRankedAsCompared(turned, ranks, first);
            }
        }
    }
}

TEST(StableKeySort, RowsByRanksLeaveWhatLiesAroundThem) {
    // Some of the rows, between others that stay where they are.
    std::mt19937_64 random(5);
    std::vector<uint32_t> ranks(100000);
    for (uint32_t& rank : ranks)
        rank = static_cast<uint32_t>(random() % 100000);
    std::vector<uint32_t> all(100000);
    std::iota(all.begin(), all.end(), 0U);
    std::shuffle(all.begin(), all.end(), random);
    const std::vector<uint32_t> before = all;
    StableSortByRanks(all.data() + 7, 60000, ranks, true);
    EXPECT_TRUE(std::equal(all.begin(), all.begin() + 7, before.begin()));
    EXPECT_TRUE(std::equal(all.begin() + 60007, all.end(), before.begin() + 60007));
    std::vector<uint32_t> middle(before.begin() + 7, before.begin() + 60007);
    std::stable_sort(middle.begin(), middle.end(),
                     [&](uint32_t a, uint32_t b) { return ranks[b] < ranks[a]; });
    EXPECT_TRUE(std::equal(middle.begin(), middle.end(), all.begin() + 7));
}

TEST(StableKeySort, RowsOfAHugeTableByRanksOfAnySpread) {
    // A few of the rows of a table of millions (ranks of 23 bits and more): paths all apart, most
    // rows on one disc listed twice, and nearly every row of one size with a few far from it.
    std::mt19937_64 random(24);
    const size_t tableRows = (size_t{1} << 23) + 5;
    std::vector<uint32_t> ranks(tableRows);
    std::vector<uint32_t> rows(300000);
    for (int spread = 0; spread < 3; ++spread) {
        for (uint32_t& rank : ranks) {
            const uint64_t any = random() % tableRows;
            rank = static_cast<uint32_t>(spread == 0   ? any
                                         : spread == 1 ? any / 2 * 2
                                                       : (random() % 50 == 0 ? any : 77777));
        }
        ranks[3] = static_cast<uint32_t>(tableRows - 1); // the highest rank among them
        for (uint32_t& row : rows)
            row = static_cast<uint32_t>(random() % tableRows);
        rows[10] = 3;
        for (const bool descending : {false, true})
            ExpectRankedAsCompared(rows, ranks, descending);
    }
}

} // namespace
} // namespace vyp
