// The look the program's windows share, given in one place: the button-face colour behind every
// window and behind its tables and read-only boxes, and the font "MS Sans Serif" of 8 points
// (characters 11 pixels high) that the controls were placed for; where that face is missing, a
// face of the same widths keeps the captions within their places.
#pragma once

#include <QFont>

class QWidget;

namespace vyp {

class DesktopLook {
public:
    // Gives a window the button-face background and the program's font.
    static void ApplyToWindow(QWidget& window);
    // Draws a control's text area (a table, an edit box) on the button-face colour too.
    static void OnButtonFace(QWidget& control);
    // The program's font with characters pixels high.
    static QFont Font(int pixels = 11);
};

} // namespace vyp
