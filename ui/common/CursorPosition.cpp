#include "ui/common/CursorPosition.h"

#include <QCursor>

namespace vyp {

std::optional<QPoint>& CursorPosition::Placed() {
    static std::optional<QPoint> placed;
    return placed;
}

QPoint CursorPosition::Get() {
    return Placed().value_or(QCursor::pos());
}

void CursorPosition::Place(QPoint at) {
    Placed() = at;
}

void CursorPosition::Release() {
    Placed().reset();
}

} // namespace vyp
