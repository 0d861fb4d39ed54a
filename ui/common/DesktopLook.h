// The look the program's windows share, given in one place: the button-face colour behind every
// window and behind its tables and read-only boxes, and the font "MS Sans Serif" of 8 points
// (characters 11 pixels high) that the controls were placed for; where that face is missing, a
// face of the same widths keeps the captions within their places.
#pragma once

#include <QFont>

class QVBoxLayout;
class QWidget;

namespace vyp {

class DesktopLook {
public:
    // Gives a window the button-face background and the program's font.
    static void ApplyToWindow(QWidget& window);
    // A window beside the main one: named objectName and titled title, with the program's look;
    // closing the main window ends the program even while this one is open.
    static void ApplyToSideWindow(QWidget& window, const QString& objectName, const QString& title);
    // The controls of widget one under another, edge to edge: how the windows stack their
    // panels, tables and status bars.
    static QVBoxLayout* Column(QWidget& widget);
    // Draws a control's text area (a table, an edit box) on the button-face colour too.
    static void OnButtonFace(QWidget& control);
    // The program's font with characters pixels high.
    static QFont Font(int pixels = 11);
};

} // namespace vyp
