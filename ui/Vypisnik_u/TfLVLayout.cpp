// The main window's layout as designed: the tool bar, the list tree with its status bar, the
// splitter, the file table with its status bar, the pictures of imgLst16, the tree's popup menu
// of groups, rescanning and comparing, and the file table's popup menu; and the saved places of the
// program's windows, this one's first. The handlers are bound in TfLV.cpp.
#include "ui/Vypisnik_u/TfLV.h"

#include "lists/Groups.h"
#include "lists/SettingsFile.h"
#include "qtcore/Utf8.h"
#include "ui/common/DesktopLook.h"
#include "ui/common/FileTable.h"
#include "ui/common/ImageList.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TreeGrid.h"

#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vyp {

namespace {

constexpr int kTreePanelWidth = 300;

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
    QVBoxLayout* layout = DesktopLook::Column(*pane);
    layout->addWidget(table);
    layout->addWidget(statusBar);
    return pane;
}

} // namespace

void TfLV::BuildLayout() {
    setObjectName(QStringLiteral("fLV"));
    setWindowTitle(QStringLiteral("Vypisnik"));
    setGeometry(320, 298, 944, 541);
    DesktopLook::ApplyToWindow(*this);

    m_imgLst16 = new ImageList(QSize(16, 16), this);
    m_imgLst16->setObjectName(QStringLiteral("imgLst16"));
    for (const char* picture : {"folder", "notepad", "joystick", "disc", "landscape", "music",
                                "prompt", "flag", "notepad"})
        m_imgLst16->Add(PictureIcon(QLatin1String(picture), 16));
    BuildToolBar();
    BuildPanes();
    BuildMenus();
    WindowGeometry own(this, "fLV", WindowGeometry::Keys::PositionAndSize);
    own.KeepSplitter(m_splitter);
    RegisterGeometry(std::move(own));
}

void TfLV::BuildToolBar() {
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
    m_btnDuplicates =
        MakeToolButton(m_toolBar, QStringLiteral("btnDuplicates"),
                       QStringLiteral("Najít duplicitní soubory"), QStringLiteral("duplicates"));
}

void TfLV::BuildPanes() {
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
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->Show(&m_contents); // no rows until a list or folder is selected
    m_statBarView = new StatusPanels(
        {110, 50}, {QStringLiteral("Počet souborů:"), QStringLiteral("Velikost:")});
    m_statBarView->setObjectName(QStringLiteral("StatBarView"));
    // A folder of a few hundred thousand files sorts on a worker, its progress where the count
    // of files stands, which comes back when the sort ends.
    m_view->SortLargeTablesOnAWorker(*this, [this, count = QString()](int percent) mutable {
        if (percent < 0) {
            m_statBarView->SetText(0, count);
        } else {
            if (!m_statBarView->Text(0).startsWith(QStringLiteral("Řazení")))
                count = m_statBarView->Text(0);
            m_statBarView->SetText(0, QStringLiteral("Řazení: %1 %").arg(percent));
        }
        m_statBarView->repaint();
    });
    m_pnlView = MakePane(m_splitter, QStringLiteral("pnlView"), m_view, m_statBarView);
    // Both tables are drawn on the button-face colour, as the rest of the window.
    DesktopLook::OnButtonFace(*m_tree);
    DesktopLook::OnButtonFace(*m_view);

    m_splitter->addWidget(m_pnlTree);
    m_splitter->addWidget(m_pnlView);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreePanelWidth, width() - kTreePanelWidth});
}

void TfLV::BuildMenus() {
    m_pmGroup = new QMenu(this);
    m_pmGroup->setObjectName(QStringLiteral("pmGroup"));
    for (const GroupInfo& group : kGroups) {
        QAction* item = m_pmGroup->addAction(m_imgLst16->At(group.id), Utf8(group.caption));
        item->setObjectName(Utf8(group.menuItemName));
        item->setData(group.id); // the tag
    }
    m_pmGroup->addSeparator();
    m_actRescan = m_pmGroup->addAction(QStringLiteral("Obnovit seznam"));
    m_actRescan->setObjectName(QStringLiteral("actRescanList"));
    m_actCompare = m_pmGroup->addAction(QStringLiteral("Porovnat se seznamem…"));
    m_actCompare->setObjectName(QStringLiteral("actCompareList"));

    m_pmView = new QMenu(this);
    m_pmView->setObjectName(QStringLiteral("pmView"));
    m_actSaveCsv = m_pmView->addAction(QStringLiteral("Uložit jako CSV…"));
    m_actSaveCsv->setObjectName(QStringLiteral("actSaveViewCsv"));
}

// ---- the windows' saved places ----------------------------------------------------------

void TfLV::SetSearchWindow(QWidget* window) {
    m_findWindow = window;
    RegisterGeometry(WindowGeometry(window, "fFind", WindowGeometry::Keys::PositionAndSize));
}

void TfLV::SetNewListWindow(QWidget* window) {
    m_newListWindow = window;
    RegisterGeometry(WindowGeometry(window, "fNewList", WindowGeometry::Keys::Position));
}

void TfLV::SetDuplicatesWindow(QWidget* window) {
    m_duplicatesWindow = window;
    RegisterGeometry(WindowGeometry(window, "fDuplicates", WindowGeometry::Keys::PositionAndSize));
}

void TfLV::SaveWindowSettings() {
    SettingsFile settings(m_env.data.SettingsPath());
    m_geometries.SaveAll(settings);
}

void TfLV::LoadWindowSettings() {
    m_geometries.RestoreAll(SettingsFile(m_env.data.SettingsPath()));
}

} // namespace vyp
