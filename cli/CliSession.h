// What a command of vypisnik-cli works with during one run: the environment, the data folder
// (opened at its first use, so a command line that is not understood never touches it), the
// list registry, and the output, which is kept and handed on in pieces. Owned by RunCli for
// the length of one command.
#pragma once

#include "cli/CliCommands.h"
#include "lists/DataFolder.h"
#include "lists/ListRegistry.h"

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace vyp {

class CliSession {
public:
    CliSession(const CliEnvironment& environment, std::ostream& out, std::ostream& err);

    // The folder given with --data, in place of the environment's default.
    void UseDataFolder(std::string folder) { m_chosenFolder = std::move(folder); }
    // The data folder. The first call chooses it and removes the temporaries that writers killed
    // while writing left there.
    const DataFolder& Data();

    const RegionalSettings& Regional() const { return m_environment.regional; }
    const QLocale& CollationLocale() const { return m_environment.collationLocale; }

    // The lists of the data folder, as the main window loads them.
    ListRegistry LoadRegistry();
    // The file of the list whose caption or file name is name; reports "Seznam "NAME"
    // neexistuje." and returns nothing when there is none.
    std::optional<std::string> FindListFile(const std::string& name);

    // Adds a row of TAB-separated cells and a line end to the output.
    void Row(std::initializer_list<std::string_view> cells);
    // The output not yet written; after appending to it, call FlushSometimes.
    std::string& Output() { return m_output; }
    // Hands the output on once a good piece has gathered, not the whole output at the end.
    void FlushSometimes();
    // Adds text to the output as Output() and FlushSometimes do, a large text written as it
    // stands rather than copied into the output first.
    void Write(std::string_view text);
    // Writes the rest of the output.
    void Flush();

    std::ostream& Errors() { return m_err; }
    // Reports message as an error of the work and returns kCommandFailed.
    int Fail(const std::string& message);

private:
    const CliEnvironment& m_environment;
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<std::string> m_chosenFolder;
    std::optional<DataFolder> m_data;
    std::string m_output;
};

// Appends cells to out as Row prints them: parted by TABs, ended by a line end.
void AppendCells(std::string& out, std::initializer_list<std::string_view> cells);

} // namespace vyp
