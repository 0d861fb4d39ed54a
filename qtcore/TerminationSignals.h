// SIGTERM and SIGINT end the programs as cleanly as closing them does. The desktop program
// learns of them in its event loop, through a pipe the signal handler writes to; the
// command-line companion, which has no event loop, removes the temporaries it is writing and
// exits at once, so the lists it was writing keep their old contents.
#pragma once

#include <functional>

class QObject;

namespace vyp {

// Calls onSignal from the event loop for each SIGTERM or SIGINT, for as long as owner lives;
// afterwards the signals end the process again.
void HandleTerminationSignals(QObject* owner, std::function<void()> onSignal);

// Lets a thread wait for SIGTERM and SIGINT, which then removes the process's temporaries and
// exits with status 128 + the signal. Call before any other thread starts.
void ExitCleanlyOnTerminationSignals();

} // namespace vyp
