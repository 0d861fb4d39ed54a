#include "ui/Vypisnik_u/ListCommands.h"

#include "lists/ListAndGroup.h"
#include "lists/ListRegistry.h"
#include "qtcore/Utf8.h"
#include "scan/ListDifferences.h"
#include "scan/ListRescan.h"
#include "scan/RescanSummary.h"
#include "ui/Vypisnik_u/ListCommandsHost.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/WorkerWait.h"
#include "ui/compare_u/ListChooser.h"
#include "util/Errors.h"

#include <QStringList>

#include <optional>

namespace vyp {

namespace {
// Takes a job's count out of the status bar when the job ends, also when it throws.
class ProgressShown {
public:
    using Show = void (ListCommandsHost::*)(const WorkerProgress*);
    ProgressShown(ListCommandsHost& host, Show show) : m_host(host), m_show(show) {}
    ~ProgressShown() { (m_host.*m_show)(nullptr); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    ListCommandsHost& m_host;
    Show m_show;
};
} // namespace

ListCommands::ListCommands(QWidget& window, ListCommandsHost& host, ListRegistry& registry,
                           const MainWindowEnvironment& environment)
    : m_window(window), m_host(host), m_registry(registry), m_env(environment) {}

void ListCommands::Delete(size_t list) {
    if (!Dialogs::Ask(&m_window, QStringLiteral("Opravdu chcete tento seznam nenávratně smazat?")))
        return;
    const rsznListInfo& info = m_registry.ListInfos[list];
    try {
        // A file that is gone already counts as removed; one that stays keeps its group.
        DeleteListAndGroup(m_env.data, info.FullPath, info.FileName);
    } catch (const VypisnikError& error) {
        ReportError(Utf8(error.what()));
        return;
    }
    m_host.RefreshLists();
}

void ListCommands::ChangeGroup(size_t list, int group) {
    rsznListInfo& info = m_registry.ListInfos[list];
    MoveListToGroup(m_env.data, info.FullPath, info.FileName, group);
    info.Group = group;
    m_host.RefreshLists();
}

void ListCommands::Rescan(size_t list) {
    const std::string listFile = m_registry.ListInfos[list].FullPath;
    ListRescan rescan(listFile);
    ListRescan::Outcome outcome = ListRescan::Outcome::Cancelled;
    std::optional<ProgressShown> shown;
    shown.emplace(m_host, &ListCommandsHost::ShowRescanProgress);
    WorkerWait wait(m_window);
    const bool finished = wait.Run(
        [&](WorkerProgress& progress) {
            outcome = rescan.Prepare(*m_env.walker, m_env.regional.timeSeparator,
                                     [&progress](const RescanProgress& count) {
                                         return progress.Report(count.folders, count.files);
                                     });
        },
        [this](const WorkerProgress& progress) { m_host.ShowRescanProgress(&progress); });
    shown.reset(); // before the questions below
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

void ListCommands::Compare(size_t list) {
    const std::optional<size_t> other =
        ListChooser::Choose(&m_window, m_registry, list, m_host.GroupPictures());
    if (!other)
        return;
    const std::string firstFile = m_registry.ListInfos[list].FullPath;
    const std::string secondFile = m_registry.ListInfos[*other].FullPath;
    std::optional<ListDifferences> differences;
    std::optional<ProgressShown> shown;
    shown.emplace(m_host, &ListCommandsHost::ShowCompareProgress);
    WorkerWait wait(m_window);
    const bool finished = wait.Run(
        [&](WorkerProgress& progress) {
            differences = ListDifferences::Compare(firstFile, secondFile,
                                                   [&progress](uint64_t folders, uint64_t files) {
                                                       return progress.Report(folders, files);
                                                   });
        },
        [this](const WorkerProgress& progress) { m_host.ShowCompareProgress(&progress); });
    shown.reset();
    if (!finished || !differences)
        return; // the program is closing
    m_host.ShowDifferences(std::move(*differences), list, *other);
}

} // namespace vyp
