#include "util/ChildrenByParent.h"

#include <gtest/gtest.h>

#include <string>

namespace vyp {
namespace {

// The children of every slot, as lists of node numbers.
std::vector<std::vector<int32_t>> ChildrenOf(const std::vector<int32_t>& parents) {
    const size_t top = parents.size();
    std::vector<uint32_t> first;
    std::vector<int32_t> children;
    GroupChildrenByParent(
        top + 1, parents.size(),
        [&](size_t node) { return parents[node] < 0 ? top : static_cast<size_t>(parents[node]); },
        first, children);
    EXPECT_EQ(first.size(), top + 2);
    EXPECT_EQ(children.size(), parents.size());
    std::vector<std::vector<int32_t>> grouped;
    for (size_t slot = 0; slot + 1 < first.size(); ++slot)
        grouped.emplace_back(children.begin() + first[slot], children.begin() + first[slot + 1]);
    return grouped;
}

TEST(ChildrenByParent, EveryNodeUnderItsParentInTheOrderOfTheirNumbers) {
    // "Fotky\", "Fotky\Dovolená u moře\", "Hudba\", "Fotky\Été 2019\", "Hudba\Übersicht\",
    // "Фото\", "Fotky\Dovolená u moře\写真\"
    const std::vector<int32_t> parents = {-1, 0, -1, 0, 2, -1, 1};
    EXPECT_EQ(ChildrenOf(parents),
              (std::vector<std::vector<int32_t>>{{1, 3}, {6}, {4}, {}, {}, {}, {}, {0, 2, 5}}));
}

TEST(ChildrenByParent, EmptyTreesChainsAndParentsAfterTheirChildren) {
    EXPECT_EQ(ChildrenOf({}), (std::vector<std::vector<int32_t>>{{}}));
    EXPECT_EQ(ChildrenOf({-1, 0, 1, 2}),
              (std::vector<std::vector<int32_t>>{{1}, {2}, {3}, {}, {0}}));
    // A parent numbered after its children (the walk of a list whose parent lines come late).
    EXPECT_EQ(ChildrenOf({3, 3, -1, -1}),
              (std::vector<std::vector<int32_t>>{{}, {}, {}, {0, 1}, {2, 3}}));

    // Slots of a caller's own numbering: folders 0..2 holding entries 0..5.
    const std::vector<uint32_t> folderOf = {2, 0, 2, 1, 0, 2};
    std::vector<uint32_t> first, entries;
    GroupChildrenByParent(
        3, folderOf.size(), [&](size_t entry) { return folderOf[entry]; }, first, entries);
    EXPECT_EQ(first, (std::vector<uint32_t>{0, 2, 3, 6}));
    EXPECT_EQ(entries, (std::vector<uint32_t>{1, 4, 3, 0, 2, 5}));
}

} // namespace
} // namespace vyp
