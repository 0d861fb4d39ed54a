#include "cli/CliCommands.h"

#include "cli/Commands.h"

#include <algorithm>
#include <new>
#include <ostream>

namespace vyp {

namespace {

// Where the descriptions of the usage start, after the word described.
constexpr size_t kDescriptionColumn = 13;

std::string Synopsis(const CommandOption& option) {
    return "--" + option.name + (option.valueName.empty() ? "" : " " + option.valueName);
}

// The word, then the lines of the description beside it, each line under the one before.
std::string Described(std::string_view word, std::string_view description) {
    std::string text(word);
    text.resize(std::max(kDescriptionColumn, text.size() + 1), ' ');
    for (char c : description) {
        text.push_back(c);
        if (c == '\n')
            text.append(kDescriptionColumn, ' ');
    }
    text.push_back('\n');
    return text;
}

const Command* FindCommand(std::string_view name) {
    for (const Command* command : AllCommands())
        if (command->name == name)
            return command;
    return nullptr;
}

// Whether a word before any "--" is one of words.
bool Asks(const std::vector<std::string>& args, std::initializer_list<std::string_view> words) {
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (std::find(words.begin(), words.end(), arg) != words.end())
            return true;
    }
    return false;
}

int RunCommandLine(std::vector<std::string> args, const CliEnvironment& environment,
                   std::ostream& out, std::ostream& err) {
    if (Asks(args, {"--help", "-h"})) {
        out << CliUsage();
        return kCommandDone;
    }
    if (Asks(args, {"--version"})) {
        out << CliVersion();
        return kCommandDone;
    }
    // Only the options every command takes may come before the command.
    const size_t at = CommandLine::FirstPositional(CommonOptions(), args);
    if (at == args.size())
        throw UsageError{"chybí příkaz"};
    const Command* command = FindCommand(args[at]);
    if (command == nullptr)
        throw UsageError{"neznámý příkaz: " + args[at]};
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(at));

    std::vector<CommandOption> options = CommonOptions();
    options.insert(options.end(), command->options.begin(), command->options.end());
    const CommandLine line = CommandLine::Parse(options, args);
    CliSession session(environment, out, err);
    if (const auto folder = line.Value("data"))
        session.UseDataFolder(*folder);
    const int status = command->run(line, session);
    session.Flush();
    return status;
}

} // namespace

const std::vector<const Command*>& AllCommands() {
    static const std::vector<const Command*> commands = {
        &kScanCommand, &kListsCommand,  &kTreeCommand,       &kRescanCommand,
        &kShowCommand, &kSearchCommand, &kDuplicatesCommand, &kCompareCommand};
    return commands;
}

const std::vector<CommandOption>& CommonOptions() {
    static const std::vector<CommandOption> options = {
        {"data", "DIR",
         "the folder that holds \"Seznamy\" and \"settings.ini\" (default: the folder of\n"
#ifdef _WIN32
         "the executable, or %APPDATA%\\Vypisnik when the program is installed)"}};
#else
         "the executable, or ~/.local/share/Vypisnik when the program is installed)"}};
#endif
    return options;
}

const CommandOption& CsvOption() {
    static const CommandOption option = {
        "csv", "",
        "prints the rows as CSV (UTF-8, a header line, CR LF line ends) with the\n"
        "exact size in bytes as the last column, and no totals"};
    return option;
}

std::string CliUsage() {
    std::string usage = "usage:\n";
    for (const Command* command : AllCommands()) {
        usage += "  vypisnik-cli";
        for (const CommandOption& option : CommonOptions())
            usage += " [" + Synopsis(option) + "]";
        usage += " ";
        usage += command->name;
        if (!command->arguments.empty()) {
            usage += " ";
            usage += command->arguments;
        }
        for (const CommandOption& option : command->options)
            usage += " [" + Synopsis(option) + "]";
        usage += "\n";
    }
    usage += "\n";
    for (const CommandOption& option : CommonOptions())
        usage += Described(Synopsis(option), option.help);
    usage += "Rows are printed one a line, fields separated by TAB, as the windows show them.\n";
    for (const Command* command : AllCommands())
        if (!command->help.empty())
            usage += Described(command->name, command->help);
    // An option several commands take is described once.
    std::vector<std::string> described;
    for (const Command* command : AllCommands()) {
        for (const CommandOption& option : command->options) {
            if (option.help.empty() ||
                std::find(described.begin(), described.end(), option.name) != described.end())
                continue;
            usage += Described(Synopsis(option), option.help);
            described.push_back(option.name);
        }
    }
    return usage;
}

std::string CliVersion() {
    return "vypisnik-cli " VYPISNIK_VERSION "\n";
}

int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err) {
    try {
        return RunCommandLine(args, environment, out, err);
    } catch (const UsageError& usage) {
        err << "vypisnik-cli: " << usage.message << "\n\n" << CliUsage();
        return kCommandNotUnderstood;
    } catch (const std::bad_alloc&) {
        // What was printed stays; the library's own words would say nothing to a user.
        err << "Pro dokončení příkazu není dost paměti.\n";
        return kCommandFailed;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kCommandFailed;
    }
}

} // namespace vyp
