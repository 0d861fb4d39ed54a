// vypisnik-cli: see CliCommands.h.
#include "cli/CliCommands.h"
#include "platform/ConsoleProgram.h"
#include "qtcore/DataFolderChoice.h"
#include "qtcore/LocaleSettings.h"
#include "qtcore/PathBytes.h"
#include "qtcore/TerminationSignals.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv) {
    vyp::ExitCleanlyOnTerminationSignals();
    vyp::UseUtf8Console();
    std::setlocale(LC_ALL, ""); // dates in local time follow the environment
    vyp::CliEnvironment environment;
    environment.defaultDataFolder = [] {
        return vyp::CorePath(vyp::DataFolderOfThisProgram());
    };
    environment.regional = vyp::RegionalSettingsFromLocale(QLocale::system());
    environment.collationLocale = QLocale::system();
    std::ios::sync_with_stdio(false);
    return vyp::RunCli(vyp::ProgramWords(argc, argv), environment, std::cout, std::cerr);
}
