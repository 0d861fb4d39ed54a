#include "ui/Vypisnik_u/TfLV.h"

#include "lists/DisplayFormat.h"
#include "lists/Errors.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/SettingsFile.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
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
    button->setAccessibleName(hint); // what a screen reader announces
    button->setAutoRaise(true);      // flat until the mouse is over it
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
      m_collator(m_env.collation) {
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

    m_view = new TreeGrid;
    m_view->setObjectName(QStringLiteral("VSTView"));
    m_view->setAccessibleName(QStringLiteral("Soubory"));
    m_view->SetImages(&m_iconCache.ImgS());
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setAllColumnsShowFocus(true);
    m_view->SetColumns({{QStringLiteral("Soubor"), 250, Qt::AlignLeft},
                        {QStringLiteral("Velikost"), 70, Qt::AlignRight},
                        {QStringLiteral("Přesná velikost"), 90, Qt::AlignRight},
                        {QStringLiteral("Datum"), 70, Qt::AlignLeft},
                        {QStringLiteral("Čas"), 70, Qt::AlignLeft}});
    m_view->header()->setSectionsMovable(true);
    m_view->SetSortColumn(0, Qt::AscendingOrder);
    m_view->SetAutoSort(true);
    m_statBarView = new StatusPanels(
        {110, 50}, {QStringLiteral("Počet souborů:"), QStringLiteral("Velikost:")});
    m_statBarView->setObjectName(QStringLiteral("StatBarView"));
    m_pnlView = MakePane(m_splitter, QStringLiteral("pnlView"), m_view, m_statBarView);
    // Both tables are drawn on the button-face colour, as the rest of the window.
    for (TreeGrid* grid : {m_tree, m_view}) {
        QPalette colours = grid->palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        grid->setPalette(colours);
    }

    m_splitter->addWidget(m_pnlTree);
    m_splitter->addWidget(m_pnlView);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreePanelWidth, width() - kTreePanelWidth});
    // The table's width changes when the window is resized and when the splitter has moved.
    m_view->installEventFilter(this);

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

    m_view->OnGetText() = [this](NodeId node, int column) {
        return VSTViewGetText(node, column);
    };
    m_view->OnGetImageIndex() = [this](NodeId node, int column) {
        return column == 0 ? m_rowImages[static_cast<size_t>(m_view->Payload(node))] : -1;
    };
    m_view->OnCompareNodes() = [this](NodeId a, NodeId b, int column) {
        return VSTViewCompareNodes(a, b, column);
    };
    m_view->onHeaderClick = [this](int column, Qt::MouseButton button) {
        Guarded([&] { VSTViewHeaderClick(column, button); });
    };
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

bool TfLV::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TfLV::FormResize() {
    int others = 0;
    for (int column = 1; column <= 4; ++column)
        others += m_view->ColumnWidth(column);
    m_view->SetColumnWidth(0, m_view->width() - others - 20);
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
    const QString listFile = QString::fromStdString(
        m_registry.ListInfos[static_cast<size_t>(record.ListIndex)].FullPath);
    ShowFolderContents(record.IsListNode() ? QString() : record.Path, listFile);
}

// ---- the file table ------------------------------------------------------------------------

void TfLV::ShowFolderContents(const QString& folderPath, const QString& listFile) {
    FolderRows rows = FolderRows::Read(listFile.toStdString(), ToStd(folderPath));
    const bool complete = rows.Error().empty();
    // A file that cannot be read, or a folder that is not in it, leaves the table empty.
    const bool anyRows = complete || rows.Count() > 0;
    m_view->BeginUpdate();
    m_view->Clear();
    m_rows = anyRows ? std::move(rows) : FolderRows();
    m_rowKeys.clear();
    m_rowImages.assign(m_rows.Count(), -1);
    for (size_t i = 0; i < m_rows.Count(); ++i) {
        m_rowImages[i] = m_iconCache.ImageIndexForExt(m_rows.Extension(i));
        m_view->AddChild(kNoNode, i);
    }
    m_view->EndUpdate(); // sorts by the header's column and direction
    if (!complete)
        throw VypisnikError(anyRows ? m_rows.Error() : rows.Error());
    m_statBarView->SetText(0, QStringLiteral("Počet souborů: %1").arg(m_rows.Count()));
    m_statBarView->SetText(1, QStringLiteral("Velikost: ") +
                                  QString::fromStdString(FormatMB(m_rows.Total(), m_env.regional)));
}

QString TfLV::VSTViewGetText(NodeId node, int column) const {
    const auto row = static_cast<size_t>(m_view->Payload(node));
    switch (static_cast<ViewColumn>(column)) {
    case ViewColumn::Soubor:
        return Utf8(m_rows.Caption(row));
    case ViewColumn::Velikost:
        return QString::fromStdString(FormatMB(m_rows.Size(row), m_env.regional));
    case ViewColumn::PresnaVelikost:
        return QString::fromStdString(FormatExactSize(m_rows.SizeText(row)));
    case ViewColumn::Datum:
        return Utf8(m_rows.DateText(row));
    case ViewColumn::Cas:
        return Utf8(m_rows.TimeText(row));
    }
    return {};
}

int TfLV::VSTViewCompareNodes(NodeId a, NodeId b, int column) {
    const auto rowA = static_cast<size_t>(m_view->Payload(a));
    const auto rowB = static_cast<size_t>(m_view->Payload(b));
    switch (static_cast<ViewColumn>(column)) {
    case ViewColumn::Soubor:
        if (m_rowKeys.size() != m_rows.Count()) { // once per fill, not once per comparison
            m_rowKeys.clear();
            m_rowKeys.reserve(m_rows.Count());
            for (size_t i = 0; i < m_rows.Count(); ++i)
                m_rowKeys.push_back(m_collator.Key(m_rows.Caption(i)));
        }
        return m_rowKeys[rowA].compare(m_rowKeys[rowB]);
    case ViewColumn::Velikost:
    case ViewColumn::PresnaVelikost: {
        const int64_t sizeA = m_rows.Size(rowA), sizeB = m_rows.Size(rowB);
        return sizeA < sizeB ? -1 : (sizeA > sizeB ? 1 : 0);
    }
    case ViewColumn::Datum:
    case ViewColumn::Cas:
        return 0; // the table is never put in date or time order
    }
    return 0;
}

void TfLV::VSTViewHeaderClick(int column, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (column == m_view->SortColumn())
        m_view->SetSortColumn(column, m_view->SortDirection() == Qt::AscendingOrder
                                          ? Qt::DescendingOrder
                                          : Qt::AscendingOrder);
    else
        m_view->SetSortColumn(column, Qt::AscendingOrder);
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

void TfLV::SaveWindowSettings() {
    SettingsFile settings(m_env.data.SettingsPath());
    const QRect main = frameGeometry();
    settings.WriteInteger("fLV", "Splitter", m_pnlTree->width());
    settings.WriteInteger("fLV", "Top", main.top());
    settings.WriteInteger("fLV", "Left", main.left());
    settings.WriteInteger("fLV", "Width", main.width());
    settings.WriteInteger("fLV", "Heigth", main.height());
    StoredGeometry find = m_findGeometry;
    if (m_findWindow != nullptr) {
        const QRect r = m_findWindow->frameGeometry();
        find = {r.top(), r.left(), r.width(), r.height()};
    }
    settings.WriteInteger("fFind", "Top", find.top);
    settings.WriteInteger("fFind", "Left", find.left);
    settings.WriteInteger("fFind", "Width", find.width);
    settings.WriteInteger("fFind", "Heigth", find.height);
    StoredGeometry newList = m_newListGeometry;
    if (m_newListWindow != nullptr)
        newList = {m_newListWindow->frameGeometry().top(), m_newListWindow->frameGeometry().left(),
                   0, 0};
    settings.WriteInteger("fNewList", "Top", newList.top);
    settings.WriteInteger("fNewList", "Left", newList.left);
}

namespace {
// The frame the window system puts around a window, measured now (none before it is shown).
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// Places a window by its outer bounds, as they are stored.
void SetOuterGeometry(QWidget* window, int left, int top, int width, int height) {
    const QMargins m = FrameMargins(window);
    window->resize(width - m.left() - m.right(), height - m.top() - m.bottom());
    window->move(left, top); // a window's position is its frame's
}
} // namespace

void TfLV::LoadWindowSettings() {
    const SettingsFile settings(m_env.data.SettingsPath());
    // Each value is read with the current one as its default, in the stored order.
    const int splitter = settings.ReadInteger("fLV", "Splitter", m_pnlTree->width());
    auto divide = [this, splitter] {
        layout()->activate(); // the splitter must have its real width before it is divided
        m_splitter->setSizes(
            {splitter, std::max(0, m_splitter->width() - splitter - m_splitter->handleWidth())});
    };
    divide();
    QRect outer = frameGeometry();
    outer.moveTop(settings.ReadInteger("fLV", "Top", outer.top()));
    SetOuterGeometry(this, outer.left(), outer.top(), outer.width(), outer.height());
    outer.moveLeft(settings.ReadInteger("fLV", "Left", outer.left()));
    SetOuterGeometry(this, outer.left(), outer.top(), outer.width(), outer.height());
    outer.setWidth(settings.ReadInteger("fLV", "Width", outer.width()));
    SetOuterGeometry(this, outer.left(), outer.top(), outer.width(), outer.height());
    outer.setHeight(settings.ReadInteger("fLV", "Heigth", outer.height()));
    SetOuterGeometry(this, outer.left(), outer.top(), outer.width(), outer.height());
    QApplication::sendPostedEvents(this, QEvent::Resize);
    divide(); // a new window width must not take the tree panel's width with it

    StoredGeometry& find = m_findGeometry;
    if (m_findWindow != nullptr) {
        const QRect r = m_findWindow->frameGeometry();
        find = {r.top(), r.left(), r.width(), r.height()};
    }
    find.top = settings.ReadInteger("fFind", "Top", find.top);
    find.left = settings.ReadInteger("fFind", "Left", find.left);
    find.width = settings.ReadInteger("fFind", "Width", find.width);
    find.height = settings.ReadInteger("fFind", "Heigth", find.height);
    if (m_findWindow != nullptr)
        SetOuterGeometry(m_findWindow, find.left, find.top, find.width, find.height);
    StoredGeometry& newList = m_newListGeometry;
    if (m_newListWindow != nullptr)
        newList = {m_newListWindow->frameGeometry().top(), m_newListWindow->frameGeometry().left(),
                   0, 0};
    newList.top = settings.ReadInteger("fNewList", "Top", newList.top);
    newList.left = settings.ReadInteger("fNewList", "Left", newList.left);
    if (m_newListWindow != nullptr)
        m_newListWindow->move(newList.left, newList.top);
}

} // namespace vyp
