// vypisnik-cli: see CliCommands.h.
#include "cli/CliCommands.h"
#include "qtcore/DataFolderChoice.h"
#include "qtcore/LocaleSettings.h"
#include "qtcore/TerminationSignals.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv) {
    vyp::ExitCleanlyOnTerminationSignals();
    std::setlocale(LC_ALL, ""); // dates in local time follow the environment
    vyp::CliEnvironment environment;
    environment.defaultDataFolder = [] {
        return vyp::DataFolderOfThisProgram().toStdString();
    };
    environment.regional = vyp::RegionalSettingsFromLocale(QLocale::system());
    environment.collationLocale = QLocale::system();
    std::ios::sync_with_stdio(false);
    return vyp::RunCli(std::vector<std::string>(argv + 1, argv + argc), environment, std::cout,
                       std::cerr);
}
