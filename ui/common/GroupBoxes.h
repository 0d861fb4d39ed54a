// The check boxes of the seven groups through which the search and duplicates windows choose
// the lists they read: "CheckBox1".."CheckBox7" for groups 2..8, captioned as the groups are,
// all unticked. They belong to the widget given; the window places them, pictures them and
// shows them its own way.
#pragma once

#include "search/ListSearch.h"

#include <array>

class QCheckBox;
class QWidget;

namespace vyp {

class GroupBoxes {
public:
    explicit GroupBoxes(QWidget& parent);

    // In the groups' order.
    const std::array<QCheckBox*, 7>& Boxes() const { return m_boxes; }
    // The ticked groups, as the searches take them.
    GroupFilter Ticked() const;

private:
    std::array<QCheckBox*, 7> m_boxes{};
};

} // namespace vyp
