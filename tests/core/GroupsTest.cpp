#include "lists/Groups.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

TEST(Groups, TableAndPlacement) {
    EXPECT_EQ(kGroups.size(), 7u);
    EXPECT_EQ(GroupById(2).caption, "Gamesy");
    EXPECT_EQ(GroupById(4).menuItemName, "Obrzky1");
    EXPECT_EQ(GroupById(8).checkBoxName, "CheckBox7");
    EXPECT_EQ(GroupById(0).caption, "Neurčeno");
    EXPECT_EQ(GroupById(-3).id, 8);
    for (size_t i = 0; i < kGroups.size(); ++i)
        EXPECT_EQ(kGroups[i].comboIndex + 2, kGroups[i].id);
}

} // namespace
} // namespace vyp
