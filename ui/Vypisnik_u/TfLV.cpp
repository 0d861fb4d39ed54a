#include "ui/Vypisnik_u/TfLV.h"

#include "lists/DisplayFormat.h"
#include "lists/Errors.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/SettingsFile.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTable.h"
#include "ui/common/ImageList.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TreeGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {

// A tree node's payload: the list (plus one, 0 for a group node) in the high half; the group id
// of a group node, or the folder (plus one, 0 for the list node itself) in the low half.
uint64_t GroupPayload(int group) {
    return static_cast<uint64_t>(group);
}
uint64_t ListPayload(size_t list) {
    return static_cast<uint64_t>(list + 1) << 32;
}
uint64_t FolderPayload(size_t list, size_t folder) {
    return ListPayload(list) | (folder + 1);
}

struct TreeKey {
    int list = -1;   // -1: a group node
    int group = 0;   // of a group node
    int folder = -1; // -1: the list node itself
};
TreeKey DecodePayload(uint64_t payload) {
    TreeKey key;
    const auto high = static_cast<uint32_t>(payload >> 32);
    const auto low = static_cast<uint32_t>(payload & 0xFFFFFFFFu);
    if (high == 0) {
        key.group = static_cast<int>(low);
    } else {
        key.list = static_cast<int>(high) - 1;
        key.folder = static_cast<int>(low) - 1;
    }
    return key;
}

constexpr int kTreePanelWidth = 300;
const QString kListsFolderError =
    QStringLiteral("Nepodařilo se vytvořit složku Seznamy,\r\nkterá je nutná pro funkci programu!");

QToolButton* MakeToolButton(QToolBar* bar, const QString& name, const QString& hint,
                            const QString& svg) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true); // flat until the mouse is over it
    button->setFixedSize(44, 44);
    button->setIconSize(QSize(32, 32));
    button->setIcon(IconFromSvg(svg, QSize(32, 32)));
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
        m_imgLst16->Add(IconFromSvg(QStringLiteral(":/vypisnik/%1.svg").arg(QLatin1String(picture)),
                                    QSize(16, 16)));

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFixedHeight(48);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_btnCreateList = MakeToolButton(m_toolBar, QStringLiteral("btnCreateList"),
                                     QStringLiteral("Vytvořit nový seznam"),
                                     QStringLiteral(":/vypisnik/newlist.svg"));
    m_btnRefresh =
        MakeToolButton(m_toolBar, QStringLiteral("btnRefresh"), QStringLiteral("Obnovit seznamy"),
                       QStringLiteral(":/vypisnik/refresh.svg"));
    m_btnFind =
        MakeToolButton(m_toolBar, QStringLiteral("btnFind"), QStringLiteral("Najít soubory/složky"),
                       QStringLiteral(":/vypisnik/find.svg"));
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
    m_tree->SetHeaderShown(false);
    m_tree->SetImages(m_imgLst16);
    m_tree->setRootIsDecorated(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->header()->setStretchLastSection(true);
    m_statBarTree = new StatusPanels({100, 110, 105, 80},
                                     {QStringLiteral("Pocet seznamů:"), QStringLiteral("Velikost:"),
                                      QStringLiteral("Datum:"), QStringLiteral("Čas")});
    m_statBarTree->setObjectName(QStringLiteral("StatBarTree"));
    m_pnlTree = MakePane(m_splitter, QStringLiteral("pnlTree"), m_tree, m_statBarTree);

    m_view = new FileTable(m_env.collation);
    m_view->setObjectName(QStringLiteral("VSTView"));
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

    m_tree->OnGetText() = [this](NodeId node, int) {
        return TreeRecord(node).Caption;
    };
    m_tree->OnGetImageIndex() = [this](NodeId node, int) {
        return TreeRecord(node).ImageIndex;
    };
    m_tree->onChange = [this](NodeId node) {
        Guarded([&] { VSTTreeChange(node); });
    };
    m_tree->onKeyDown = [this](QKeyEvent* event) {
        VSTTreeKeyDown(event);
    };
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_pmGroup->popup(m_tree->viewport()->mapToGlobal(at)); });

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
}

void TfLV::FormCreate() {
    const std::string folder = m_env.data.ListFolder();
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return;
    if (::mkdir(folder.c_str(), 0777) != 0) {
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
    RefreshLists();
    m_iconCache.Seed();
    LoadWindowSettings();
}

void TfLV::closeEvent(QCloseEvent* event) {
    // A settings file that refuses the write is reported once; the program closes all the same.
    Guarded([this] { SaveWindowSettings(); });
    event->accept();
    QMainWindow::closeEvent(event);
}

// ---- the list tree -------------------------------------------------------------------------

void TfLV::RefreshLists() {
    if (m_building) {
        // The build lets events run; a refresh asked for meanwhile waits for it to end.
        m_refreshPending = true;
        return;
    }
    do {
        m_refreshPending = false;
        FindLists(m_registry, m_env.data.ListFolder(), kListPattern, m_env.data.SettingsPath(),
                  *m_env.walker);
        BuildListTree();
    } while (m_refreshPending);
}

bool TfLV::BuildListTree() {
    m_building = true;
    const size_t listCount = m_registry.ListPaths.size();
    m_groupCounts.fill(0);
    for (const rsznListInfo& info : m_registry.ListInfos)
        ++m_groupCounts[static_cast<size_t>(EffectiveGroup(info.Group) - kFirstGroup)];

    m_tree->BeginUpdate();
    m_tree->Clear();
    m_hierarchies.clear();
    m_hierarchies.resize(listCount);
    std::array<NodeId, 7> groupNodes{};
    for (const GroupInfo& group : kGroups)
        groupNodes[static_cast<size_t>(group.id - kFirstGroup)] =
            m_tree->AddChild(kNoNode, GroupPayload(group.id));
    m_statBarTree->SetText(0, QStringLiteral("Počet seznamů: %1").arg(listCount));

    QProgressBar* bar = m_process != nullptr ? m_process->ProgressBarFile() : nullptr;
    if (m_process != nullptr) {
        m_process->show();
        QApplication::processEvents();
        bar->setMaximum(static_cast<int>(listCount));
    }
    std::vector<NodeId> folderNodes;
    for (size_t i = 0; i < listCount; ++i) {
        if (bar != nullptr) {
            bar->setValue(static_cast<int>(i + 1));
            QApplication::processEvents();
        }
        // A list that cannot be read keeps its node, without folders; the others still load.
        m_hierarchies[i] = FolderHierarchy::Read(m_registry.ListPaths[i]);
        const FolderHierarchy& hierarchy = m_hierarchies[i];
        const int group = EffectiveGroup(m_registry.ListInfos[i].Group);
        const NodeId listNode =
            m_tree->AddChild(groupNodes[static_cast<size_t>(group - kFirstGroup)], ListPayload(i));
        folderNodes.resize(hierarchy.Count());
        for (size_t folder = 0; folder < hierarchy.Count(); ++folder) {
            const int32_t parent = hierarchy.Parent(folder);
            const NodeId parentNode = parent == FolderHierarchy::kListNode
                                          ? listNode
                                          : folderNodes[static_cast<size_t>(parent)];
            folderNodes[folder] = m_tree->AddChild(parentNode, FolderPayload(i, folder));
        }
    }
    m_tree->SelectNode(m_tree->FirstNode());
    if (m_process != nullptr)
        m_process->hide();
    m_building = false;
    m_tree->EndUpdate(); // reports the selection of the first group
    return true;
}

TNodeRec TfLV::TreeRecord(NodeId node) const {
    TNodeRec record;
    const TreeKey key = DecodePayload(m_tree->Payload(node));
    if (key.list < 0) {
        const GroupInfo& group = GroupById(key.group);
        record.Caption = QStringLiteral("%1 (%2)")
                             .arg(Utf8(group.caption))
                             .arg(m_groupCounts[static_cast<size_t>(group.id - kFirstGroup)]);
        record.SizeText = QStringLiteral("0");
        record.ImageIndex = group.id;
        record.ListIndex = -1;
        return record;
    }
    const auto list = static_cast<size_t>(key.list);
    const rsznListInfo& info = m_registry.ListInfos[list];
    const FolderHierarchy& hierarchy = m_hierarchies[list];
    record.ListIndex = key.list;
    if (key.folder < 0) {
        record.Path = QString::fromStdString(info.FullPath);
        record.Caption = Utf8(ListCaption(info.FileName));
        record.SizeText = Utf8(hierarchy.ListSizeText());
        record.DateText = QString::fromStdString(FormatListDate(info.Date, m_env.regional));
        record.TimeText = QString::fromStdString(FormatListTime(info.Time, m_env.regional));
        record.ImageIndex = info.Kind;
        return record;
    }
    const auto folder = static_cast<size_t>(key.folder);
    record.Path = Utf8(hierarchy.Path(folder));
    record.Caption = Utf8(hierarchy.Caption(folder));
    record.SizeText = Utf8(hierarchy.SizeText(folder));
    record.DateText = Utf8(hierarchy.DateText(folder));
    record.TimeText = Utf8(hierarchy.TimeText(folder));
    record.ImageIndex = 0;
    return record;
}

void TfLV::VSTTreeChange(NodeId node) {
    if (node == kNoNode)
        return;
    const TNodeRec record = TreeRecord(node);
    const QString size =
        QString::fromStdString(FormatTreeSize(ToStd(record.SizeText), m_env.regional));
    m_statBarTree->SetText(1, QStringLiteral("Velikost: ") + size);
    m_statBarTree->SetText(2, QStringLiteral("Datum: ") + record.DateText);
    m_statBarTree->SetText(3, QStringLiteral("Čas: ") + record.TimeText);
    if (record.IsGroupNode())
        return; // the file table keeps what it showed
    const std::string& listFile =
        m_registry.ListInfos[static_cast<size_t>(record.ListIndex)].FullPath;
    ShowFolderContents(record.IsListNode() ? std::string() : ToStd(record.Path), listFile);
}

// ---- the file table ------------------------------------------------------------------------

void TfLV::ShowFolderContents(std::string_view folderPath, const std::string& listFile) {
    const std::string error = m_contents.Read(listFile, folderPath);
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
    if (node == kNoNode)
        return std::nullopt;
    const TNodeRec record = TreeRecord(node);
    if (!record.IsListNode())
        return std::nullopt;
    return static_cast<size_t>(record.ListIndex);
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
    if (::unlink(info.FullPath.c_str()) != 0 && errno != ENOENT) {
        const int err = errno;
        // The list stays, and so does its group: nothing may fall back to "Neurčeno" unnoticed.
        ReportError(QStringLiteral("Seznam se nepodařilo smazat: \"%1\". %2")
                        .arg(QString::fromStdString(info.FullPath),
                             QString::fromLocal8Bit(std::strerror(err))));
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
    for (const WindowGeometry& geometry : m_geometries)
        geometry.Save(settings);
}

void TfLV::LoadWindowSettings() {
    const SettingsFile settings(m_env.data.SettingsPath());
    for (const WindowGeometry& geometry : m_geometries)
        geometry.Restore(settings);
}

} // namespace vyp
