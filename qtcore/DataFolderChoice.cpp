#include "qtcore/DataFolderChoice.h"

#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vyp {

QString UserDataFolder() {
    // The same folder as AppDataLocation of an application named "Vypisnik", also for the
    // command-line companion, which has no application object.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vypisnik");
}

namespace {
// The system's own folders of programs (a package installs to /usr/bin, whatever prefix the
// build was configured with) and the folder `cmake --install` puts executables in.
bool IsInstalledProgramFolder(const QFileInfo& folder, const QString& installedBinFolder) {
    const QString path = folder.canonicalFilePath() + QLatin1Char('/');
    if (path.startsWith(QLatin1String("/usr/")) || path.startsWith(QLatin1String("/opt/")))
        return true;
    return !installedBinFolder.isEmpty() &&
           folder.canonicalFilePath() == QFileInfo(installedBinFolder).canonicalFilePath();
}
} // namespace

QString ChooseDataFolder(const QString& executableFolder, const QString& installedBinFolder) {
    const QFileInfo beside(executableFolder);
    // Even where it could (as root), an installed program writes nothing into the system's
    // folders of programs.
    if (!IsInstalledProgramFolder(beside, installedBinFolder) && beside.isDir() &&
        beside.isWritable())
        return executableFolder;
    const QString user = UserDataFolder();
    QDir().mkpath(user);
    return user;
}

QString DataFolderOfThisProgram() {
    std::string executableFolder = ExecutableFolder();
    if (executableFolder.size() > 1)
        executableFolder.pop_back(); // the separator
    const QString folder =
        executableFolder.empty() ? QDir::currentPath() : QString::fromStdString(executableFolder);
#ifdef VYPISNIK_INSTALLED_BINDIR
    return ChooseDataFolder(folder, QStringLiteral(VYPISNIK_INSTALLED_BINDIR));
#else
    return ChooseDataFolder(folder, QString());
#endif
}

} // namespace vyp
