#include "ui/Vypisnik_u/TfLV.h"

#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/SettingsFile.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "qtcore/PathBytes.h"
#include "scan/ListRescan.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTable.h"
#include "ui/common/ImageList.h"
#include "ui/common/SaveFilePicker.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TreeGrid.h"
#include "ui/common/WorkerWait.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <atomic>

namespace vyp {

namespace {

constexpr int kTreePanelWidth = 300;
const QString kListsFolderError =
    QStringLiteral("Nepodařilo se vytvořit složku Seznamy,\r\nkterá je nutná pro funkci programu!");

QToolButton* MakeToolButton(QToolBar* bar, const QString& name, const QString& hint,
                            const QString& picture) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint); // what a screen reader announces
    button->setAutoRaise(true);      // flat until the mouse is over it
    button->setFixedSize(44, 44);
    button->setIconSize(QSize(32, 32));
    button->setIcon(PictureIcon(picture, 32));
    button->setCursor(Qt::PointingHandCursor);
    bar->addWidget(button);
    return button;
}

// A pane of the main window: a table filling it above its status bar.
QWidget* MakePane(QWidget* parent, const QString& name, QWidget* table, QWidget* statusBar) {
    auto* pane = new QWidget(parent);
    pane->setObjectName(name);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(table);
    layout->addWidget(statusBar);
    return pane;
}

} // namespace

TfLV::TfLV(MainWindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)), m_iconCache(*m_env.icons),
      m_contents(m_iconCache, m_env.regional) {
    setObjectName(QStringLiteral("fLV"));
    setWindowTitle(QStringLiteral("Vypisnik"));
    setGeometry(320, 298, 944, 541);
    setBackgroundRole(QPalette::Button);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    BuildLayout();
    FormCreate();
}

TfLV::~TfLV() {
    // The tables ask this window for their texts and pictures: take them down while the data
    // they ask about still exists.
    delete m_splitter;
}

QString TfLV::Utf8(std::string_view text) const {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void TfLV::BuildLayout() {
    m_imgLst16 = new ImageList(QSize(16, 16), this);
    m_imgLst16->setObjectName(QStringLiteral("imgLst16"));
    for (const char* picture : {"folder", "notepad", "joystick", "disc", "landscape", "music",
                                "prompt", "flag", "notepad"})
        m_imgLst16->Add(PictureIcon(QLatin1String(picture), 16));

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFixedHeight(48);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_btnCreateList =
        MakeToolButton(m_toolBar, QStringLiteral("btnCreateList"),
                       QStringLiteral("Vytvořit nový seznam"), QStringLiteral("newlist"));
    m_btnRefresh = MakeToolButton(m_toolBar, QStringLiteral("btnRefresh"),
                                  QStringLiteral("Obnovit seznamy"), QStringLiteral("refresh"));
    m_btnFind = MakeToolButton(m_toolBar, QStringLiteral("btnFind"),
                               QStringLiteral("Najít soubory/složky"), QStringLiteral("find"));
    connect(m_btnCreateList, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnCreateListClick(); }); });
    connect(m_btnRefresh, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnRefreshClick(); }); });
    connect(m_btnFind, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnFindClick(); }); });

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->setHandleWidth(3);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);

    m_tree = new TreeGrid;
    m_tree->setObjectName(QStringLiteral("VSTTree"));
    m_tree->setAccessibleName(QStringLiteral("Seznamy")); // the tables have no caption to read
    m_tree->SetHeaderShown(false);
    m_tree->SetImages(m_imgLst16);
    m_tree->setRootIsDecorated(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->FitColumnToContents();
    m_statBarTree = new StatusPanels({100, 110, 105, 80},
                                     {QStringLiteral("Pocet seznamů:"), QStringLiteral("Velikost:"),
                                      QStringLiteral("Datum:"), QStringLiteral("Čas")});
    m_statBarTree->setObjectName(QStringLiteral("StatBarTree"));
    m_pnlTree = MakePane(m_splitter, QStringLiteral("pnlTree"), m_tree, m_statBarTree);

    m_view = new FileTable(m_env.collation);
    m_view->setObjectName(QStringLiteral("VSTView"));
    m_view->setAccessibleName(QStringLiteral("Soubory"));
    m_view->SetImages(&m_iconCache.ImgS());
    m_view->SetFileColumns(FolderContents::Columns());
    m_view->SetFillColumn(FolderContents::Soubor);
    m_view->header()->setSectionsMovable(true);
    m_statBarView = new StatusPanels(
        {110, 50}, {QStringLiteral("Počet souborů:"), QStringLiteral("Velikost:")});
    m_statBarView->setObjectName(QStringLiteral("StatBarView"));
    m_pnlView = MakePane(m_splitter, QStringLiteral("pnlView"), m_view, m_statBarView);
    // Both tables are drawn on the button-face colour, as the rest of the window.
    for (TreeGrid* grid : {m_tree, static_cast<TreeGrid*>(m_view)}) {
        QPalette colours = grid->palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        grid->setPalette(colours);
    }

    m_splitter->addWidget(m_pnlTree);
    m_splitter->addWidget(m_pnlView);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreePanelWidth, width() - kTreePanelWidth});
    WindowGeometry own(this, "fLV", WindowGeometry::Keys::PositionAndSize);
    own.KeepSplitter(m_splitter);
    RegisterGeometry(std::move(own));

    BuildGroupMenu();

    m_listTree = std::make_unique<ListTree>(*m_tree, m_registry, m_env.regional);
    m_tree->onChange = [this](NodeId node) {
        Guarded([&] { VSTTreeChange(node); });
    };
    m_tree->onKeyDown = [this](QKeyEvent* event) {
        VSTTreeKeyDown(event);
    };
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_actRescan->setEnabled(SelectedList().has_value());
        m_pmGroup->popup(m_tree->viewport()->mapToGlobal(at));
    });

    m_pmView = new QMenu(this);
    m_pmView->setObjectName(QStringLiteral("pmView"));
    QAction* saveCsv = m_pmView->addAction(QStringLiteral("Uložit jako CSV…"));
    saveCsv->setObjectName(QStringLiteral("actSaveViewCsv"));
    connect(saveCsv, &QAction::triggered, this, [this] { Guarded([this] { SaveViewAsCsv(); }); });
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_pmView->popup(m_view->viewport()->mapToGlobal(at)); });

    m_view->onKeyDown = [this](QKeyEvent* event) {
        VSTViewKeyDown(event);
    };
}

void TfLV::BuildGroupMenu() {
    m_pmGroup = new QMenu(this);
    m_pmGroup->setObjectName(QStringLiteral("pmGroup"));
    for (const GroupInfo& group : kGroups) {
        QAction* item = m_pmGroup->addAction(m_imgLst16->At(group.id), Utf8(group.caption));
        item->setObjectName(Utf8(group.menuItemName));
        item->setData(group.id); // the tag
        const int id = group.id;
        connect(item, &QAction::triggered, this,
                [this, id] { Guarded([&] { Gamesy1Click(id); }); });
    }
    m_pmGroup->addSeparator();
    m_actRescan = m_pmGroup->addAction(QStringLiteral("Obnovit seznam"));
    m_actRescan->setObjectName(QStringLiteral("actRescanList"));
    connect(m_actRescan, &QAction::triggered, this,
            [this] { Guarded([this] { RescanSelectedList(); }); });
}

void TfLV::FormCreate() {
    const std::string folder = m_env.data.ListFolder();
    if (MakeFolder(folder) != 0) {
        MessageRequest request;
        request.caption = QStringLiteral("Chyba!");
        request.text = kListsFolderError;
        request.icon = QMessageBox::Warning;
        Dialogs::Show(this, request);
    }
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
        m_statBarTree->SetText(
            0, QStringLiteral("Počet seznamů: %1").arg(m_registry.ListPaths.size()));
        m_listTree->Build(m_process);
    } while (m_refreshPending);
}

void TfLV::VSTTreeChange(NodeId node) {
    if (node == kNoNode)
        return;
    const TNodeRec record = m_listTree->Record(node);
    const QString size =
        QString::fromStdString(FormatTreeSize(record.SizeText.toStdString(), m_env.regional));
    m_statBarTree->SetText(1, QStringLiteral("Velikost: ") + size);
    m_statBarTree->SetText(2, QStringLiteral("Datum: ") + record.DateText);
    m_statBarTree->SetText(3, QStringLiteral("Čas: ") + record.TimeText);
    if (record.IsGroupNode())
        return; // the file table keeps what it showed
    const std::string& listFile =
        m_registry.ListInfos[static_cast<size_t>(record.ListIndex)].FullPath;
    const std::optional<FolderLineHint> hint = m_listTree->Hint(node);
    ShowFolderContents(m_listTree->FolderPath(node), listFile, hint ? &*hint : nullptr);
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
                                  QString::fromStdString(FormatMB(rows.Total(), m_env.regional)));
}

// ---- commands ------------------------------------------------------------------------------

void TfLV::ShowWindow(QWidget* window) {
    if (window == nullptr)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void TfLV::btnCreateListClick() {
    ShowWindow(m_newListWindow);
}
void TfLV::btnRefreshClick() {
    RefreshLists();
}
void TfLV::btnFindClick() {
    ShowWindow(m_findWindow);
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
    return false;
}

void TfLV::VSTTreeKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        try {
            DeleteSelectedList();
        } catch (const std::exception&) {
            // Errors of the Delete key are dropped, as they always were.
        }
    }
    HandleShortcut(event);
}

void TfLV::VSTViewKeyDown(QKeyEvent* event) {
    HandleShortcut(event);
}

std::optional<size_t> TfLV::SelectedList() const {
    const NodeId node = m_tree->SelectedNode();
    if (node == kNoNode || m_listTree->Kind(node) != ListTree::NodeKind::List)
        return std::nullopt;
    return m_listTree->ListOf(node);
}

void TfLV::DeleteSelectedList() {
    const std::optional<size_t> list = SelectedList();
    if (!list)
        return;
    MessageRequest question;
    question.caption = QStringLiteral("Vypisnik");
    question.text = QStringLiteral("Opravdu chcete tento seznam nenávratně smazat?");
    question.icon = QMessageBox::Question;
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = QMessageBox::No;
    if (Dialogs::Show(this, question) != QMessageBox::Yes)
        return;
    const rsznListInfo& info = m_registry.ListInfos[*list];
    const int err = RemoveFile(info.FullPath);
    if (err != 0 && KindOfPath(info.FullPath) != PathKind::Missing) {
        // The list stays, and so does its group: nothing may fall back to "Neurčeno" unnoticed.
        ReportError(
            QStringLiteral("Seznam se nepodařilo smazat: \"%1\". %2")
                .arg(PathText(info.FullPath), QString::fromStdString(SystemErrorText(err))));
        return;
    }
    SettingsFile(m_env.data.SettingsPath()).DeleteKey(kListsSection, info.FileName);
    RefreshLists();
}

void TfLV::Gamesy1Click(int group) {
    const std::optional<size_t> list = SelectedList();
    if (!list)
        return;
    rsznListInfo& info = m_registry.ListInfos[*list];
    SettingsFile(m_env.data.SettingsPath()).WriteInteger(kListsSection, info.FileName, group);
    info.Group = group;
    RefreshLists();
}

NodeId TfLV::ListNode(size_t list) const {
    const auto count = static_cast<NodeId>(m_tree->NodeCount());
    for (NodeId node = 0; node < count; ++node)
        if (m_listTree->Kind(node) == ListTree::NodeKind::List && m_listTree->ListOf(node) == list)
            return node;
    return kNoNode;
}

void TfLV::RescanSelectedList() {
    const std::optional<size_t> list = SelectedList();
    if (!list)
        return;
    const std::string listFile = m_registry.ListInfos[*list].FullPath;
    ListRescan rescan(listFile);
    ListRescan::Outcome outcome = ListRescan::Outcome::Cancelled;
    std::atomic<size_t> folders{0};
    std::atomic<size_t> files{0};
    WorkerWait wait(*this);
    const bool finished = wait.Run(
        [&](const std::atomic<bool>& stop) {
            outcome = rescan.Prepare(*m_env.walker, m_env.regional.timeSeparator,
                                     [&](const RescanProgress& progress) {
                                         folders.store(progress.folders, std::memory_order_relaxed);
                                         files.store(progress.files, std::memory_order_relaxed);
                                         return !stop.load(std::memory_order_relaxed);
                                     });
        },
        [&] {
            m_statBarTree->SetText(0, QStringLiteral("Obnovuji… složek: %1, souborů: %2")
                                          .arg(folders.load(std::memory_order_relaxed))
                                          .arg(files.load(std::memory_order_relaxed)));
            m_statBarTree->repaint();
        });
    m_statBarTree->SetText(0, QStringLiteral("Počet seznamů: %1").arg(m_registry.ListPaths.size()));
    if (!finished || outcome == ListRescan::Outcome::Cancelled)
        return;

    MessageRequest message;
    message.caption = QStringLiteral("Vypisnik");
    if (outcome == ListRescan::Outcome::RootUnavailable) {
        message.text = QString::fromStdString(RootUnavailableText(rescan.Root()));
        message.icon = QMessageBox::Warning;
        Dialogs::Show(this, message);
        return;
    }
    if (rescan.Summary().MostWouldDisappear()) {
        message.text = QString::fromStdString(MostWouldDisappearText(rescan.Summary()));
        message.icon = QMessageBox::Question;
        message.buttons = QMessageBox::Yes | QMessageBox::No;
        message.defaultButton = QMessageBox::No;
        if (Dialogs::Show(this, message) != QMessageBox::Yes)
            return;
    }
    rescan.Commit();
    RefreshLists();
    // The list stays selected, so its new folders are in view.
    for (size_t i = 0; i < m_registry.ListInfos.size(); ++i)
        if (m_registry.ListInfos[i].FullPath == listFile)
            if (const NodeId node = ListNode(i); node != kNoNode)
                m_tree->SelectNode(node);
    QStringList lines;
    for (const std::string& line : RescanSummaryLines(rescan.Summary(), m_env.regional))
        lines.append(QString::fromStdString(line));
    message.text = lines.join(QLatin1Char('\n'));
    message.icon = QMessageBox::Information;
    message.buttons = QMessageBox::Ok;
    message.defaultButton = QMessageBox::Ok;
    Dialogs::Show(this, message);
}

bool TfLV::GoToFolder(const std::string& listFile, std::string_view folderPath,
                      std::string_view fileName) {
    std::optional<size_t> list;
    for (size_t i = 0; i < m_registry.ListInfos.size(); ++i)
        if (m_registry.ListInfos[i].FullPath == listFile)
            list = i;
    if (!list)
        return false;
    NodeId target = ListNode(*list);
    if (target == kNoNode)
        return false;
    if (!folderPath.empty()) {
        target = kNoNode;
        const auto count = static_cast<NodeId>(m_tree->NodeCount());
        for (NodeId node = 0; node < count && target == kNoNode; ++node)
            if (m_listTree->Kind(node) == ListTree::NodeKind::Folder &&
                m_listTree->ListOf(node) == list && m_listTree->FolderPath(node) == folderPath)
                target = node;
        if (target == kNoNode)
            return false;
    }
    ShowWindow(this);
    for (NodeId parent = m_tree->Model().Parent(target); parent != kNoNode;
         parent = m_tree->Model().Parent(parent))
        m_tree->expand(m_tree->Model().IndexOf(parent));
    m_tree->SelectNode(target); // fills the file table
    m_tree->setFocus();
    if (fileName.empty())
        return true;
    const FolderRows& rows = m_contents.Rows();
    for (int row = 0; row < m_view->ChildCount(kNoNode); ++row) {
        const NodeId node = m_view->ChildAt(kNoNode, row);
        if (rows.Caption(m_view->Row(node)) == fileName) {
            m_view->SelectNode(node);
            break;
        }
    }
    return true;
}

void TfLV::SaveViewAsCsv() {
    // Named after the folder shown, as the user knows it from the tree.
    const NodeId shown = m_tree->SelectedNode();
    const QString name = shown == kNoNode ? QStringLiteral("Soubory") : m_listTree->Caption(shown);
    const std::optional<QString> path = SaveFilePicker::Pick(
        this, {QStringLiteral("Uložit jako CSV"), name + QStringLiteral(".csv"),
               QStringLiteral("Soubory CSV (*.csv)")});
    if (!path)
        return;
    std::string out;
    AppendFolderRowsCsvHeader(out);
    // In the order the table shows them.
    for (int row = 0; row < m_view->ChildCount(kNoNode); ++row)
        AppendFolderRowCsv(m_contents.Rows(), m_view->Row(m_view->ChildAt(kNoNode, row)),
                           m_env.regional, out);
    WriteFileSafely(CorePath(*path), out);
}

// ---- window settings -----------------------------------------------------------------------

void TfLV::SetSearchWindow(QWidget* window) {
    m_findWindow = window;
    RegisterGeometry(WindowGeometry(window, "fFind", WindowGeometry::Keys::PositionAndSize));
}

void TfLV::SetNewListWindow(QWidget* window) {
    m_newListWindow = window;
    RegisterGeometry(WindowGeometry(window, "fNewList", WindowGeometry::Keys::Position));
}

void TfLV::SaveWindowSettings() {
    SettingsFile settings(m_env.data.SettingsPath());
    m_geometries.SaveAll(settings);
}

void TfLV::LoadWindowSettings() {
    m_geometries.RestoreAll(SettingsFile(m_env.data.SettingsPath()));
}

} // namespace vyp
