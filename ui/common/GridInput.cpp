#include "ui/common/GridInput.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>

namespace vyp {

bool GridInput::IsInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

int GridInput::HeaderClick(const QHeaderView& header, const QEvent* event,
                           Qt::MouseButton& button) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return -1;
    const auto* mouse = static_cast<const QMouseEvent*>(event); // a press or a release
    const QPoint at = mouse->position().toPoint();
    if (press) {
        m_press = at;
        m_pressColumn = header.logicalIndexAt(at);
        return -1;
    }
    const int column = header.logicalIndexAt(at);
    const bool moved = (at - m_press).manhattanLength() >= QApplication::startDragDistance();
    const bool clicked = column >= 0 && column == m_pressColumn && !moved;
    m_pressColumn = -1;
    button = mouse->button();
    return clicked ? column : -1;
}

} // namespace vyp
