// Windows has no termination signals. It asks a windowed program to end by closing its windows
// (WM_CLOSE, and the session's end), which Qt turns into the same close a user makes, so the
// desktop program needs nothing more. A console program is asked through the console instead
// (Ctrl+C, its window closed, logging off), and ends as on Linux: without its temporaries.
#include "qtcore/TerminationSignals.h"

#include "lists/DataFolder.h"
#include "platform/ConsoleEndRequests.h"

#include <cstdlib>

namespace vyp {

void HandleTerminationSignals(QObject*, std::function<void()>) {}

void ExitCleanlyOnTerminationSignals() {
    OnConsoleEndRequest([](int exitStatus) {
        RemoveOwnTemporaries();
        std::_Exit(exitStatus);
    });
}

} // namespace vyp
