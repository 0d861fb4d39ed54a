#include "qtcore/DataFolderChoice.h"

#include "platform/Files.h"
#include "qtcore/PathBytes.h"
#ifdef _WIN32
#include "platform/WindowsShell.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vyp {

QString UserDataFolder() {
#ifdef _WIN32
    // %APPDATA%\Vypisnik, where installed Windows programs keep what roams with the user.
    const std::string roaming = RoamingAppDataFolder();
    if (!roaming.empty())
        return QString::fromStdString(roaming) + QStringLiteral("\\Vypisnik");
#endif
    // The same folder as AppDataLocation of an application named "Vypisnik", also for the
    // command-line companion, which has no application object.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vypisnik");
}

namespace {
// The system's own folders of programs (a package installs to /usr/bin, whatever prefix the
// build was configured with; the installer to Program Files) and the folder `cmake --install`
// puts executables in.
bool IsInstalledProgramFolder(const QFileInfo& folder, const QString& installedBinFolder) {
#ifdef _WIN32
    const QString path = QDir::toNativeSeparators(folder.canonicalFilePath()) + QLatin1Char('\\');
    for (const std::string& programs : InstalledProgramsFolders())
        if (path.startsWith(QString::fromStdString(programs), Qt::CaseInsensitive))
            return true;
#else
    const QString path = folder.canonicalFilePath() + QLatin1Char('/');
    if (path.startsWith(QLatin1String("/usr/")) || path.startsWith(QLatin1String("/opt/")))
        return true;
#endif
    return !installedBinFolder.isEmpty() &&
           folder.canonicalFilePath() == QFileInfo(installedBinFolder).canonicalFilePath();
}

// Whether files can be made in folder. Its attributes do not tell on Windows, where the access
// rights decide and Qt looks at the read-only flag alone, so a temporary is made and removed.
bool CanMakeFilesIn(const QString& folder) {
    TemporaryFile probe;
    const int status = probe.CreateBeside(
        CorePath(QDir::toNativeSeparators(folder + QStringLiteral("/settings.ini"))));
    probe.Discard();
    return status == 0;
}
} // namespace

QString ChooseDataFolder(const QString& executableFolder, const QString& installedBinFolder) {
    const QFileInfo beside(executableFolder);
    // Even where it could (as root), an installed program writes nothing into the system's
    // folders of programs.
    if (!IsInstalledProgramFolder(beside, installedBinFolder) && beside.isDir() &&
        CanMakeFilesIn(executableFolder))
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
        executableFolder.empty() ? QDir::currentPath() : PathText(executableFolder);
#ifdef VYPISNIK_INSTALLED_BINDIR
    return ChooseDataFolder(folder, QStringLiteral(VYPISNIK_INSTALLED_BINDIR));
#else
    return ChooseDataFolder(folder, QString());
#endif
}

} // namespace vyp
