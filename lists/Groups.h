// The seven groups of lists. Every place that offers or shows groups (the list tree and its
// popup menu, the new-list window's choice, the search window's check boxes) uses this one
// table, in this order. A group's id is also its picture in the main window's image list.
#pragma once

#include <array>
#include <string_view>

namespace vyp {

struct GroupInfo {
    int id;
    std::string_view caption;
    int comboIndex;                // position in the new-list window's group choice
    std::string_view menuItemName; // item of the list tree's group popup menu
    std::string_view checkBoxName; // check box of the search window's filter
};

inline constexpr int kFirstGroup = 2;
inline constexpr int kLastGroup = 8;
inline constexpr int kDefaultGroup = 8; // "Neurčeno"

inline constexpr std::array<GroupInfo, 7> kGroups = {{
    {2, "Gamesy", 0, "Gamesy1", "CheckBox1"},
    {3, "Filmy", 1, "Filmy1", "CheckBox2"},
    {4, "Obrázky", 2, "Obrzky1", "CheckBox3"},
    {5, "Hudba", 3, "Hudba1", "CheckBox4"},
    {6, "Programy", 4, "Programy1", "CheckBox5"},
    {7, "Ostatní", 5, "Ostatn1", "CheckBox6"},
    {8, "Neurčeno", 6, "Neureno1", "CheckBox7"},
}};

// The group a list is placed and searched under: its own id when it is 2..8, otherwise
// "Neurčeno". An id outside 2..8 comes only from an edited settings file and is kept as read;
// this keeps such a list visible and searchable.
constexpr int EffectiveGroup(int group) {
    return (group >= kFirstGroup && group <= kLastGroup) ? group : kDefaultGroup;
}

// The table entry of EffectiveGroup(group).
constexpr const GroupInfo& GroupById(int group) {
    return kGroups[EffectiveGroup(group) - kFirstGroup];
}

} // namespace vyp
