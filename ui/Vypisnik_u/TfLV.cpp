#include "ui/Vypisnik_u/TfLV.h"

#include "lists/DisplayFormat.h"
#include "platform/Files.h"
#include "qtcore/Utf8.h"
#include "scan/ListDifferences.h"
#include "search/ListSearch.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTable.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TreeGrid.h"
#include "ui/common/WorkerProgress.h"
#include "ui/compare_u/TfCompare.h"
#include "util/Errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QWindow>

namespace vyp {

TfLV::TfLV(MainWindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)), m_iconCache(*m_env.icons),
      m_commands(*this, *this, m_registry, m_env), m_contents(m_iconCache, m_env.regional) {
    BuildLayout();
    m_listTree = std::make_unique<ListTree>(*m_tree, m_registry, m_env.regional);
    ConnectHandlers();
    FormCreate();
}

TfLV::~TfLV() {
    // The tables ask this window for their texts and pictures: take them down while the data
    // they ask about still exists.
    delete m_splitter;
}

WindowContext TfLV::Context() {
    return {m_env, m_registry, *m_imgLst16, m_iconCache, *this};
}

void TfLV::ConnectHandlers() {
    // Every handler's error is reported, as the framework's general error report does.
    auto bind = [this](auto* sender, auto signal, auto handler) {
        connect(sender, signal, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
    };
    bind(m_btnCreateList, &QToolButton::clicked, &TfLV::btnCreateListClick);
    bind(m_btnRefresh, &QToolButton::clicked, &TfLV::btnRefreshClick);
    bind(m_btnFind, &QToolButton::clicked, &TfLV::btnFindClick);
    bind(m_btnDuplicates, &QToolButton::clicked, &TfLV::btnDuplicatesClick);
    bind(m_actRescan, &QAction::triggered, &TfLV::actRescanListClick);
    bind(m_actCompare, &QAction::triggered, &TfLV::actCompareListClick);
    bind(m_actSaveCsv, &QAction::triggered, &TfLV::actSaveViewCsvClick);
    for (QAction* item : m_pmGroup->actions()) {
        if (!item->data().isValid())
            continue; // the separator, the rescan and the comparison
        const int group = item->data().toInt();
        connect(item, &QAction::triggered, this,
                [this, group] { Guarded([&] { Gamesy1Click(group); }); });
    }
    connect(m_tree, &TreeGrid::SelectionChanged, this,
            [this](NodeId node) { Guarded([&] { VSTTreeChange(node); }); });
    connect(m_tree, &TreeGrid::KeyDown, this, &TfLV::VSTTreeKeyDown);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TfLV::VSTTreeContextPopup);
    connect(m_view, &FlatGrid::KeyDown, this, &TfLV::VSTViewKeyDown);
    connect(m_view, &QWidget::customContextMenuRequested, this, &TfLV::VSTViewContextPopup);
}

void TfLV::FormCreate() {
    if (MakeFolder(m_env.data.ListFolder()) != 0)
        Dialogs::Warn(this,
                      QStringLiteral("Nepodařilo se vytvořit složku Seznamy,\r\nkterá je nutná pro "
                                     "funkci programu!"),
                      QStringLiteral("Chyba!"));
}

void TfLV::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        // Once the window system has placed the window: geometry restored any sooner would be
        // overridden by its first placement.
        m_shown = true;
        QMetaObject::invokeMethod(
            this, [this] { Guarded([this] { FormShow(); }); }, Qt::QueuedConnection);
    }
}

void TfLV::FormShow() {
    PaintBeforeWork();
    RefreshLists();
    m_iconCache.Seed();
    LoadWindowSettings();
}

void TfLV::PaintBeforeWork() {
    // A window system may place and expose the window a little after it was shown; a window
    // not yet exposed cannot be painted. Waiting is bounded, so no window system can hold the
    // start-up up.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
    repaint();
}

void TfLV::closeEvent(QCloseEvent* event) {
    // A settings file that refuses the write is reported once; the program closes all the same.
    Guarded([this] { SaveWindowSettings(); });
    event->accept();
    QMainWindow::closeEvent(event);
}

// ---- the list tree -------------------------------------------------------------------------

void TfLV::RefreshLists() {
    if (m_listTree->Building()) {
        // The build lets events run; a refresh asked for meanwhile waits for it to end.
        m_refreshPending = true;
        return;
    }
    do {
        m_refreshPending = false;
        FindLists(m_registry, m_env.data.ListFolder(), kListPattern, m_env.data.SettingsPath(),
                  *m_env.walker);
        ShowListCount();
        m_listTree->Build(m_process);
    } while (m_refreshPending);
}

void TfLV::ShowListCount() {
    m_statBarTree->SetText(0, QStringLiteral("Počet seznamů: %1").arg(m_registry.ListPaths.size()));
}

void TfLV::VSTTreeChange(NodeId node) {
    if (node == kNoNode)
        return;
    const TNodeRec record = m_listTree->Record(node);
    m_statBarTree->SetText(1, QStringLiteral("Velikost: ") +
                                  Utf8(FormatTreeSize(Utf8Bytes(record.SizeText), m_env.regional)));
    m_statBarTree->SetText(2, QStringLiteral("Datum: ") + record.DateText);
    m_statBarTree->SetText(3, QStringLiteral("Čas: ") + record.TimeText);
    if (m_listTree->Kind(node) == ListTree::NodeKind::Group)
        return; // the file table keeps what it showed
    const std::string& listFile =
        m_registry.ListInfos[static_cast<size_t>(record.ListIndex)].FullPath;
    const std::optional<FolderLineHint> hint = m_listTree->Hint(node);
    ShowFolderContents(m_listTree->FolderPath(node), listFile, hint ? &*hint : nullptr);
}

void TfLV::VSTTreeContextPopup(const QPoint& at) {
    m_actRescan->setEnabled(SelectedList().has_value());
    m_actCompare->setEnabled(SelectedList().has_value());
    m_pmGroup->popup(m_tree->viewport()->mapToGlobal(at));
}

std::optional<size_t> TfLV::SelectedList() const {
    const NodeId node = m_tree->SelectedNode();
    if (node == kNoNode || m_listTree->Kind(node) != ListTree::NodeKind::List)
        return std::nullopt;
    return m_listTree->ListOf(node);
}

void TfLV::ShowRescanProgress(const WorkerProgress* progress) {
    ShowWorkProgress(QStringLiteral("Obnovuji"), progress);
}

void TfLV::ShowCompareProgress(const WorkerProgress* progress) {
    ShowWorkProgress(QStringLiteral("Porovnávám"), progress);
}

void TfLV::ShowWorkProgress(const QString& doing, const WorkerProgress* progress) {
    if (progress == nullptr) {
        ShowListCount();
        return;
    }
    m_statBarTree->SetText(0, QStringLiteral("%1… složek: %2, souborů: %3")
                                  .arg(doing)
                                  .arg(progress->Folders())
                                  .arg(progress->Files()));
    m_statBarTree->repaint();
}

void TfLV::ShowDifferences(ListDifferences&& differences, size_t first, size_t second) {
    if (m_compareWindow == nullptr)
        m_compareWindow = new TfCompare(Context(), *this, this);
    const rsznListInfo& a = m_registry.ListInfos[first];
    const rsznListInfo& b = m_registry.ListInfos[second];
    m_compareWindow->Show(std::move(differences), ListNameOf(a), a.FullPath, ListNameOf(b),
                          b.FullPath);
    ShowWindow(m_compareWindow);
}

// ---- the file table ------------------------------------------------------------------------

void TfLV::ShowFolderContents(std::string_view folderPath, const std::string& listFile,
                              const FolderLineHint* hint) {
    m_view->Show(nullptr); // the table must not ask for rows while they are replaced
    const std::string error = m_contents.Read(listFile, folderPath, hint);
    m_view->Show(&m_contents);
    if (!error.empty())
        throw VypisnikError(error);
    const FolderRows& rows = m_contents.Rows();
    m_statBarView->SetText(0, QStringLiteral("Počet souborů: %1").arg(rows.Count()));
    m_statBarView->SetText(1, QStringLiteral("Velikost: ") +
                                  Utf8(FormatMB(rows.Total(), m_env.regional)));
}

void TfLV::VSTViewContextPopup(const QPoint& at) {
    m_pmView->popup(m_view->viewport()->mapToGlobal(at));
}

void TfLV::actSaveViewCsvClick() {
    // Named after the folder shown, as the user knows it from the tree.
    const NodeId shown = m_tree->SelectedNode();
    m_view->SaveAsCsv((shown == kNoNode ? QStringLiteral("Soubory") : m_listTree->Caption(shown)) +
                      QStringLiteral(".csv"));
}

// ---- commands ------------------------------------------------------------------------------

void TfLV::btnCreateListClick() {
    ShowWindow(m_newListWindow);
}

void TfLV::btnRefreshClick() {
    RefreshLists();
}

void TfLV::btnFindClick() {
    ShowWindow(m_findWindow);
}

void TfLV::btnDuplicatesClick() {
    ShowWindow(m_duplicatesWindow);
}

bool TfLV::HandleShortcut(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    if (event->key() == Qt::Key_F) {
        Guarded([this] { btnFindClick(); });
        return true;
    }
    if (event->key() == Qt::Key_N) {
        Guarded([this] { btnCreateListClick(); });
        return true;
    }
    if (event->key() == Qt::Key_D) {
        Guarded([this] { btnDuplicatesClick(); });
        return true;
    }
    return false;
}

void TfLV::VSTTreeKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        try {
            if (const std::optional<size_t> list = SelectedList())
                m_commands.Delete(*list);
        } catch (const std::exception&) {
            // Errors of the Delete key are dropped, as they always were.
        }
    }
    HandleShortcut(event);
}

void TfLV::VSTViewKeyDown(QKeyEvent* event) {
    HandleShortcut(event);
}

void TfLV::Gamesy1Click(int group) {
    if (const std::optional<size_t> list = SelectedList())
        m_commands.ChangeGroup(*list, group);
}

void TfLV::actRescanListClick() {
    if (const std::optional<size_t> list = SelectedList())
        m_commands.Rescan(*list);
}

void TfLV::actCompareListClick() {
    if (const std::optional<size_t> list = SelectedList())
        m_commands.Compare(*list);
}

} // namespace vyp
