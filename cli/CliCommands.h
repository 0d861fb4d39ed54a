// vypisnik-cli: the command-line companion for scripting and batch cataloguing. It runs the
// same core as the desktop program and prints rows as the windows show them, one row a line,
// fields separated by TAB. Each command is a file of its own (Commands.h).
#pragma once

#include "lists/RegionalSettings.h"

#include <QLocale>

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vyp {

struct CliEnvironment {
    // The data folder when --data does not name one: beside the executable, or the user's
    // (DataFolderChoice.h). Asked only by a command that works with the data folder, since the
    // choice may create the user's folder.
    std::function<std::string()> defaultDataFolder;
    RegionalSettings regional; // from the environment's locale
    QLocale collationLocale = QLocale::system();
};

// Runs the command line args (without the program name). Returns the exit status: 0 on
// success, 1 when the work failed, 2 for a command line that is not understood. --help, -h and
// --version, anywhere, print the usage or the version; they and a command line that is not
// understood leave the data folder untouched.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err);

// What --help prints: every command's synopsis and what needs saying about them.
std::string CliUsage();
// What --version prints.
std::string CliVersion();

} // namespace vyp
