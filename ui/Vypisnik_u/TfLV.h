// The main window: its layout (the tool bar, the list tree with its status bar, the file table
// with its status bar, the tree's popup menu of groups and rescanning, the file table's popup
// menu), the wiring between them, and its commands and shortcuts. The tree's build and records are
// ListTree's, the table's rows FolderContents', each window's saved place a WindowGeometry the main
// window restores and saves in turn.
#pragma once

#include "lists/DataFolder.h"
#include "lists/ListRegistry.h"
#include "lists/RegionalSettings.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"
#include "ui/Vypisnik_u/FolderContents.h"
#include "ui/Vypisnik_u/ListTree.h"
#include "ui/common/TreeGridModel.h"
#include "ui/common/WindowGeometry.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;

namespace vyp {

class DirectoryWalker;
class FileTable;
class FileTypeIconProvider;
class ImageList;
class StatusPanels;
class TfCompare;
class TfProcess;
class TreeGrid;

// What the main window works with; the program passes the real ones, tests their own.
struct MainWindowEnvironment {
    DataFolder data;
    DirectoryWalker* walker = nullptr;
    FileTypeIconProvider* icons = nullptr;
    RegionalSettings regional;
    QLocale collation = QLocale::system();
};

class TfLV : public QMainWindow {
    Q_OBJECT
public:
    explicit TfLV(MainWindowEnvironment environment, QWidget* parent = nullptr);
    ~TfLV() override;

    void SetProgressWindow(TfProcess* window) { m_process = window; }
    // The search and new-list windows, once they exist; until then their commands do nothing
    // and their sections of "settings.ini" are left as they are. Attaching one registers its
    // geometry ("fFind": position and size, "fNewList": position); attach the search window
    // first, so that the sections are read and written in their order.
    void SetSearchWindow(QWidget* window);
    void SetNewListWindow(QWidget* window);
    // The saved geometry of another window, restored and saved after the ones before it; it
    // takes the place of one registered before for the same section.
    void RegisterGeometry(WindowGeometry geometry) { m_geometries.Register(std::move(geometry)); }

    // Finds the lists again and rebuilds the list tree; asked for during a build, it runs once
    // the build has ended.
    void RefreshLists();
    // Fills the file table with the files of folderPath (bytes as stored; empty: the list's
    // root) in the list file listFile.
    void ShowFolderContents(std::string_view folderPath, const std::string& listFile,
                            const FolderLineHint* hint = nullptr);
    // Brings this window to the front and shows a folder of a list as if the user had opened it:
    // the tree expanded to it and selected, and the file named fileName (if any) selected in the
    // file table. folderPath empty: the list's root. Returns false, changing nothing, when the
    // list or the folder is not in the tree as it is now.
    bool GoToFolder(const std::string& listFile, std::string_view folderPath,
                    std::string_view fileName);

    const ListRegistry& Registry() const { return m_registry; }
    // The data folder, walker and regional settings the program runs with.
    const MainWindowEnvironment& Environment() const { return m_env; }
    ExtensionIconCache& IconCache() { return m_iconCache; }
    const ImageList& ImgLst16() const { return *m_imgLst16; }

    void SaveWindowSettings();
    void LoadWindowSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    // Lets the window system show the window and paints it, before the long start-up work.
    void PaintBeforeWork();
    void BuildLayout();
    void BuildGroupMenu();

    void btnCreateListClick();
    void btnRefreshClick();
    void btnFindClick();
    void VSTTreeChange(NodeId node);
    void VSTTreeKeyDown(QKeyEvent* event);
    void VSTViewKeyDown(QKeyEvent* event);
    void Gamesy1Click(int group);
    // The registry index of the selected list node, if a list node is selected.
    std::optional<size_t> SelectedList() const;
    void DeleteSelectedList();
    // Scans the selected list's folder again and replaces the list, showing what changed.
    void RescanSelectedList();
    // Asks for a second list, compares the selected list with it and shows the differences.
    void CompareSelectedList();
    void SaveViewAsCsv();
    NodeId ListNode(size_t list) const;
    bool HandleShortcut(QKeyEvent* event);
    static void ShowWindow(QWidget* window);

    QString Utf8(std::string_view text) const;

    MainWindowEnvironment m_env;
    QToolBar* m_toolBar = nullptr;
    QToolButton* m_btnCreateList = nullptr;
    QToolButton* m_btnRefresh = nullptr;
    QToolButton* m_btnFind = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_pnlTree = nullptr;
    TreeGrid* m_tree = nullptr;
    StatusPanels* m_statBarTree = nullptr;
    QWidget* m_pnlView = nullptr;
    FileTable* m_view = nullptr;
    StatusPanels* m_statBarView = nullptr;
    ImageList* m_imgLst16 = nullptr;
    QMenu* m_pmGroup = nullptr;
    QAction* m_actRescan = nullptr;
    QAction* m_actCompare = nullptr;
    QMenu* m_pmView = nullptr;
    TfProcess* m_process = nullptr;
    QWidget* m_findWindow = nullptr;
    QWidget* m_newListWindow = nullptr;
    TfCompare* m_compareWindow = nullptr; // made at the first comparison

    ExtensionIconCache m_iconCache;
    ListRegistry m_registry;
    std::unique_ptr<ListTree> m_listTree;
    bool m_refreshPending = false;
    bool m_shown = false;

    FolderContents m_contents; // what the file table shows
    // Each window's saved place, in the order of their sections: this window's first.
    WindowGeometryList m_geometries;
};

} // namespace vyp
