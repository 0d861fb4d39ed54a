// Windows only: how a console program learns that it is asked to end (Ctrl+C or Ctrl+Break, its
// console window closed, the user logging off, the system shutting down). Linux programs learn
// it from signals instead.
#pragma once

namespace vyp {

// From now on each such request calls handler on a thread of the system's, with the status the
// program should end with: 128 + SIGINT for the keys, 128 + SIGTERM for the others, as a
// program ended by those signals on Linux. The handler is expected to end the process.
void OnConsoleEndRequest(void (*handler)(int exitStatus));

} // namespace vyp
