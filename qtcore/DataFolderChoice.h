// Which folder holds "Seznamy" and "settings.ini". A copy of the program that was merely
// unpacked or built keeps them beside its executable (it is portable); an installed program, or
// one whose folder cannot be written, keeps them in the user's data folder instead. The desktop
// program and the command-line companion choose alike, so both see the same lists.
#pragma once

#include <QString>

namespace vyp {

// executableFolder: where the running executable lies. installedBinFolder: where
// `cmake --install` puts executables (empty: none); folders under /usr and /opt on Linux, and
// the Program Files folders on Windows, count as installed too. The chosen folder exists on
// return when it could be created.
QString ChooseDataFolder(const QString& executableFolder, const QString& installedBinFolder);

// The user's data folder of the program: "~/.local/share/Vypisnik" on Linux, "%APPDATA%\Vypisnik"
// on Windows.
QString UserDataFolder();

// ChooseDataFolder for the running executable and this build's install folder.
QString DataFolderOfThisProgram();

} // namespace vyp
