// vypisnik-cli: the command-line companion for scripting and batch cataloguing. It runs the
// same core as the desktop program and prints rows as the windows show them, one row a line,
// fields separated by TAB.
#pragma once

#include "lists/RegionalSettings.h"

#include <QLocale>

#include <iosfwd>
#include <string>
#include <vector>

namespace vyp {

struct CliEnvironment {
    std::string defaultDataFolder; // beside the executable, or the user's (DataFolderChoice.h)
    RegionalSettings regional;     // from the environment's locale
    QLocale collationLocale = QLocale::system();
};

// Runs the command line args (without the program name). Returns the exit status: 0 on
// success, 1 when the work failed, 2 for a command line that is not understood.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err);

extern const char* const kCliUsage;

} // namespace vyp
