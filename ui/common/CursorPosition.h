// The mouse pointer's position on the screen behind one seam: the program asks the system,
// tests place the pointer where they need it (a popup menu opened at the pointer, say).
#pragma once

#include <QPoint>

#include <optional>

namespace vyp {

class CursorPosition {
public:
    // The pointer's global position: the placed one while a test has placed it.
    static QPoint Get();

    // For tests: from now on Get() answers at, until Release().
    static void Place(QPoint at);
    static void Release();

private:
    static std::optional<QPoint>& Placed();
};

} // namespace vyp
