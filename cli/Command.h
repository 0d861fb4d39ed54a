// One command of vypisnik-cli ("scan", "lists", "search", ...): its name, the words it takes,
// its options, its help, and the function that does the work. Each command is a file of its
// own that defines its Command (Commands.h lists them); RunCli parses the words for it with
// QCommandLineParser, together with the options every command takes (--data), and runs it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class CliSession;
class CommandLine;

// The exit statuses of a run: 0 on success, 1 when the work failed, 2 for a command line that
// is not understood.
inline constexpr int kCommandDone = 0;
inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandNotUnderstood = 2;

// An option of a command: --name, followed by a value when valueName is given ("--group ID").
struct CommandOption {
    std::string name;           // without the dashes
    std::string valueName = {}; // empty for an option without a value
    std::string help = {};      // lines of the usage's description; empty: the command's help tells
};

struct Command {
    std::string_view name;
    // The words after the name, as the usage shows them ("FOLDER NAME"); the options follow.
    std::string_view arguments;
    std::vector<CommandOption> options;
    // Lines of the usage's description of the command; empty when the synopsis says it all.
    std::string_view help;
    // Does the work and returns the exit status. Throws UsageError for words it cannot take,
    // before it asks the session for the data folder.
    int (*run)(const CommandLine& line, CliSession& session);
};

} // namespace vyp
