// What the tree grid and the flat grid do alike with input: which events count as the user's
// input (held back while a grid's rows are being replaced), and when presses and releases on a
// header make a click on one of its columns.
#pragma once

#include <QPoint>
#include <Qt>

class QEvent;
class QHeaderView;

namespace vyp {

class GridInput {
public:
    static bool IsInput(const QEvent* event);

    // Follows the presses and releases of header's viewport; on a release that makes a click (a
    // press and a release on the same column without a drag between, with any button) gives the
    // column and sets button, else -1.
    int HeaderClick(const QHeaderView& header, const QEvent* event, Qt::MouseButton& button);

private:
    QPoint m_press;
    int m_pressColumn = -1;
};

} // namespace vyp
