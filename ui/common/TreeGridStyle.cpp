#include "ui/common/TreeGridStyle.h"

#include <QPainter>
#include <QStyleOptionViewItem>
#include <QWidget>
#include <algorithm>

namespace vyp {

namespace {

QColor Mixed(const QColor& over, const QColor& under, double share) {
    return QColor::fromRgbF(
        static_cast<float>(over.redF() * share + under.redF() * (1 - share)),
        static_cast<float>(over.greenF() * share + under.greenF() * (1 - share)),
        static_cast<float>(over.blueF() * share + under.blueF() * (1 - share)));
}

bool HasFocus(const QWidget* widget) {
    return widget != nullptr && widget->hasFocus();
}

// A dotted line of single pixels on the even squares of the whole view, so that the pieces
// drawn row by row join into one line.
void DottedLine(QPainter* painter, QPoint from, QPoint to, const QColor& colour) {
    painter->setPen(colour);
    const bool across = from.y() == to.y();
    const int first = across ? std::min(from.x(), to.x()) : std::min(from.y(), to.y());
    const int last = across ? std::max(from.x(), to.x()) : std::max(from.y(), to.y());
    for (int at = first; at <= last; ++at) {
        const QPoint point = across ? QPoint(at, from.y()) : QPoint(from.x(), at);
        if ((point.x() + point.y()) % 2 == 0)
            painter->drawPoint(point);
    }
}

void DrawBranch(const QStyleOption& option, QPainter* painter) {
    const QRect& r = option.rect;
    const QPoint centre(r.left() + r.width() / 2, r.top() + r.height() / 2);
    const QColor line = TreeGridStyle::LineColour(option.palette);
    painter->save();
    if (option.state & QStyle::State_Item) // this row's node: a line to it
        DottedLine(painter, centre, QPoint(r.right(), centre.y()), line);
    if (option.state & QStyle::State_Sibling) // more nodes follow on this level
        DottedLine(painter, QPoint(centre.x(), r.top()), QPoint(centre.x(), r.bottom()), line);
    else if (option.state & QStyle::State_Item) // the last node of its level
        DottedLine(painter, QPoint(centre.x(), r.top()), centre, line);
    if (option.state & QStyle::State_Children) {
        const QRect box(centre.x() - 4, centre.y() - 4, 8, 8);
        painter->setPen(option.palette.color(QPalette::Dark));
        painter->setBrush(option.palette.color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawLine(centre.x() - 2, centre.y(), centre.x() + 2, centre.y());
        if (!(option.state & QStyle::State_Open))
            painter->drawLine(centre.x(), centre.y() - 2, centre.x(), centre.y() + 2);
    }
    painter->restore();
}

// Where the selection of a cell is drawn: a node of a tree without columns is framed around
// its picture and name only, as wide as the name; a cell of a table fills its whole cell.
QRect SelectionRect(const QStyleOptionViewItem& option, const QStyle& style,
                    const QWidget* widget) {
    const auto position = option.viewItemPosition;
    if (position != QStyleOptionViewItem::OnlyOne && position != QStyleOptionViewItem::Invalid)
        return option.rect;
    const QRect text = style.subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, &option, widget) + 1;
    const int right =
        std::min(option.rect.right(),
                 text.left() + option.fontMetrics.horizontalAdvance(option.text) + 2 * margin);
    return QRect(QPoint(option.rect.left(), option.rect.top()),
                 QPoint(right, option.rect.bottom()));
}

// The selection of one cell; the cells of a row share one frame.
void DrawSelection(const QStyleOptionViewItem& option, const QRect& r, QPainter* painter,
                   bool focused) {
    painter->save();
    painter->fillRect(r, TreeGridStyle::SelectionFill(option.palette, focused));
    painter->setPen(TreeGridStyle::SelectionFrame(option.palette, focused));
    const auto position = option.viewItemPosition;
    const bool first = position == QStyleOptionViewItem::Beginning ||
                       position == QStyleOptionViewItem::OnlyOne ||
                       position == QStyleOptionViewItem::Invalid;
    const bool last = position == QStyleOptionViewItem::End ||
                      position == QStyleOptionViewItem::OnlyOne ||
                      position == QStyleOptionViewItem::Invalid;
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (first)
        painter->drawLine(r.topLeft(), r.bottomLeft());
    if (last)
        painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

} // namespace

TreeGridStyle::TreeGridStyle() = default;

QColor TreeGridStyle::SelectionFill(const QPalette& palette, bool focused) {
    return Mixed(palette.color(QPalette::Active, QPalette::Highlight),
                 palette.color(QPalette::Button), focused ? 0.35 : 0.12);
}

QColor TreeGridStyle::SelectionFrame(const QPalette& palette, bool focused) {
    if (!focused)
        return palette.color(QPalette::Mid);
    return Mixed(palette.color(QPalette::Active, QPalette::Highlight),
                 palette.color(QPalette::Button), 0.75);
}

QColor TreeGridStyle::LineColour(const QPalette& palette) {
    return palette.color(QPalette::Dark);
}

void TreeGridStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_IndicatorBranch:
        DrawBranch(*option, painter);
        return;
    case PE_FrameFocusRect:
        // The focus frame the view draws around a whole selected row, on the selection colour:
        // the selection's own frame already shows the focus, and the desktop's frame would tint
        // the row and its picture.
        if (const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option)) {
            for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                if (focus->backgroundColor == option->palette.color(group, QPalette::Highlight))
                    return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    case PE_PanelItemViewRow: // the row behind the cells: never the desktop's highlight
        if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
            QStyleOptionViewItem plain(*item);
            plain.state &= ~State_Selected;
            QProxyStyle::drawPrimitive(element, &plain, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void TreeGridStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
    if (element != CE_ItemViewItem || item == nullptr || !(item->state & State_Selected)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    DrawSelection(*item, SelectionRect(*item, *this, widget), painter, HasFocus(widget));
    // The rest as for a node that is not selected: the picture untinted, the text in the Text
    // colour, and no second frame for the focus.
    QStyleOptionViewItem plain(*item);
    plain.state &= ~(State_Selected | State_HasFocus);
    QProxyStyle::drawControl(element, &plain, painter, widget);
}

} // namespace vyp
