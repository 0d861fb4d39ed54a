#include "ui/common/GroupBoxes.h"

#include "lists/Groups.h"
#include "qtcore/Utf8.h"

#include <QCheckBox>

namespace vyp {

GroupBoxes::GroupBoxes(QWidget& parent) {
    for (size_t i = 0; i < kGroups.size(); ++i) {
        m_boxes[i] = new QCheckBox(Utf8(kGroups[i].caption), &parent);
        m_boxes[i]->setObjectName(Utf8(kGroups[i].checkBoxName));
    }
}

GroupFilter GroupBoxes::Ticked() const {
    GroupFilter groups{};
    for (size_t i = 0; i < m_boxes.size(); ++i)
        groups[i] = m_boxes[i]->isChecked();
    return groups;
}

} // namespace vyp
