// How the tables draw what the desktop's own style draws otherwise or not at all: connecting
// tree lines and expand buttons (a box with plus or minus) on every level, the top level too;
// the selection as a pale fill with a frame, stronger in the pane that has the keyboard focus,
// so the user sees where the keys go; and a node's picture the same whether it is selected or
// not (the desktop's style tints a selected picture with the highlight colour).
//
// Qt's palettes have no "inactive caption" and "inactive border" colours. They stand here for
// what they look like in the classic desktop theme, a pale tint of the selection colour on the
// button face inside a frame of the selection colour:
//   inactive caption (the focused fill)  = Highlight mixed 35 % into Button
//   inactive border (the focused frame)  = Highlight mixed 75 % into Button
//   the unfocused fill                   = Highlight mixed 12 % into Button
//   the unfocused frame                  = Mid
// The text of a selected node keeps the Text colour, which reads well on both fills.
#pragma once

#include <QProxyStyle>

namespace vyp {

class TreeGridStyle final : public QProxyStyle {
    Q_OBJECT
public:
    TreeGridStyle(); // over the desktop's own style

    static QColor SelectionFill(const QPalette& palette, bool focused);
    static QColor SelectionFrame(const QPalette& palette, bool focused);
    static QColor LineColour(const QPalette& palette);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace vyp
