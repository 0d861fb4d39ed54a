#include "ui/Vypisnik_u/ListCommands.h"

#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "qtcore/Utf8.h"
#include "scan/ListRescan.h"
#include "scan/RescanSummary.h"
#include "ui/Vypisnik_u/ListCommandsHost.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/WorkerWait.h"

#include <QFile>
#include <QStringList>

namespace vyp {

ListCommands::ListCommands(QWidget& window, ListCommandsHost& host, ListRegistry& registry,
                           const MainWindowEnvironment& environment)
    : m_window(window), m_host(host), m_registry(registry), m_env(environment) {}

void ListCommands::Delete(size_t list) {
    if (!Dialogs::Ask(&m_window, QStringLiteral("Opravdu chcete tento seznam nenávratně smazat?")))
        return;
    const rsznListInfo& info = m_registry.ListInfos[list];
    // A file that is gone already counts as removed.
    if (const int error = RemoveFile(info.FullPath);
        error != 0 && KindOfPath(info.FullPath) != PathKind::Missing) {
        ReportError(
            QStringLiteral("Seznam se nepodařilo smazat: \"%1\". %2")
                .arg(QFile::decodeName(info.FullPath.c_str()), Utf8(SystemErrorText(error))));
        return;
    }
    SettingsFile(m_env.data.SettingsPath()).DeleteKey(kListsSection, info.FileName);
    m_host.RefreshLists();
}

void ListCommands::ChangeGroup(size_t list, int group) {
    rsznListInfo& info = m_registry.ListInfos[list];
    SettingsFile(m_env.data.SettingsPath()).WriteInteger(kListsSection, info.FileName, group);
    info.Group = group;
    m_host.RefreshLists();
}

void ListCommands::Rescan(size_t list) {
    const std::string listFile = m_registry.ListInfos[list].FullPath;
    ListRescan rescan(listFile);
    ListRescan::Outcome outcome = ListRescan::Outcome::Cancelled;
    WorkerWait wait(m_window);
    const bool finished = wait.Run(
        [&](WorkerProgress& progress) {
            outcome = rescan.Prepare(*m_env.walker, m_env.regional.timeSeparator,
                                     [&progress](const RescanProgress& count) {
                                         return progress.Report(count.folders, count.files);
                                     });
        },
        [this](const WorkerProgress& progress) { m_host.ShowRescanProgress(&progress); });
    m_host.ShowRescanProgress(nullptr);
    if (!finished || outcome == ListRescan::Outcome::Cancelled)
        return;
    if (outcome == ListRescan::Outcome::RootUnavailable) {
        Dialogs::Warn(&m_window, Utf8(RootUnavailableText(rescan.Root())));
        return;
    }
    if (rescan.Summary().MostWouldDisappear() &&
        !Dialogs::Ask(&m_window, Utf8(MostWouldDisappearText(rescan.Summary()))))
        return;
    rescan.Commit();
    m_host.RefreshLists();
    m_host.SelectList(listFile); // its new folders in view
    QStringList lines;
    for (const std::string& line : RescanSummaryLines(rescan.Summary(), m_env.regional))
        lines.append(Utf8(line));
    Dialogs::Inform(&m_window, lines.join(QLatin1Char('\n')));
}

} // namespace vyp
