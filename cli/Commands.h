// The commands of vypisnik-cli, one file each, and what those files share: the parsed words,
// the session, the usage error. RunCli finds a command in AllCommands by its name.
#pragma once

#include "cli/CliSession.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/UsageError.h"

#include <vector>

namespace vyp {

extern const Command kScanCommand;
extern const Command kListsCommand;
extern const Command kTreeCommand;
extern const Command kRescanCommand;
extern const Command kShowCommand;
extern const Command kSearchCommand;
extern const Command kDuplicatesCommand;
extern const Command kCompareCommand;

// Every command once, in the order of the usage.
const std::vector<const Command*>& AllCommands();

// The options every command takes, wherever they stand on the command line.
const std::vector<CommandOption>& CommonOptions();
// --csv, of the commands that print a table of rows.
const CommandOption& CsvOption();

} // namespace vyp
