// The main window: its handlers and its life (start-up, close, the wiring of its controls to
// them). Its layout and the windows' saved places are in TfLVLayout.cpp, going to a list or a
// folder for the other windows in TfLVNavigation.cpp; the tree's build, records and node kinds
// are ListTree's, the table's rows FolderContents', the commands on a list ListCommands', each
// window's saved place a WindowGeometry the main window restores and saves in turn. The windows
// beside it get its WindowContext and ask it through FolderNavigator; they never see this class.
#pragma once

#include "ui/Vypisnik_u/ExtensionIconCache.h"
#include "ui/Vypisnik_u/FolderContents.h"
#include "ui/Vypisnik_u/ListCommands.h"
#include "ui/Vypisnik_u/ListCommandsHost.h"
#include "ui/Vypisnik_u/ListTree.h"
#include "ui/common/FolderNavigator.h"
#include "ui/common/MainWindowEnvironment.h"
#include "ui/common/TreeGridModel.h"
#include "ui/common/WindowContext.h"
#include "ui/common/WindowGeometry.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QKeyEvent;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;

namespace vyp {

class FileTable;
class ImageList;
class StatusPanels;
class TfCompare;
class TfProcess;
class TreeGrid;

class TfLV : public QMainWindow, public FolderNavigator, private ListCommandsHost {
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
    // The duplicates window, once it exists ("fDuplicates": position and size); attached after
    // the new-list window.
    void SetDuplicatesWindow(QWidget* window);
    // The saved geometry of another window, restored and saved after the ones before it; it
    // takes the place of one registered before for the same section.
    void RegisterGeometry(WindowGeometry geometry) { m_geometries.Register(std::move(geometry)); }

    // Finds the lists again and rebuilds the list tree; asked for during a build, it runs once
    // the build has ended.
    void RefreshLists() override;
    // Fills the file table with the files of folderPath (bytes as stored; empty: the list's
    // root) in the list file listFile.
    void ShowFolderContents(std::string_view folderPath, const std::string& listFile,
                            const FolderLineHint* hint = nullptr);
    bool GoToFolder(const std::string& listFile, std::string_view folderPath,
                    std::string_view fileName) override;

    const ListRegistry& Registry() const { return m_registry; }
    // The data folder, walker and regional settings the program runs with.
    const MainWindowEnvironment& Environment() const { return m_env; }
    ExtensionIconCache& IconCache() { return m_iconCache; }
    const ImageList& ImgLst16() const { return *m_imgLst16; }
    // What the windows beside this one work with.
    WindowContext Context();

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
    // TfLVLayout.cpp: the controls as designed, with their names.
    void BuildLayout();
    void BuildToolBar();
    void BuildPanes();
    void BuildMenus();
    // Binds the controls' events to the handlers below.
    void ConnectHandlers();

    void btnCreateListClick();
    void btnRefreshClick();
    void btnFindClick();
    void btnDuplicatesClick();
    void VSTTreeChange(NodeId node);
    void VSTTreeKeyDown(QKeyEvent* event);
    void VSTTreeContextPopup(const QPoint& at);
    void VSTViewKeyDown(QKeyEvent* event);
    void VSTViewContextPopup(const QPoint& at);
    void Gamesy1Click(int group);
    void actRescanListClick();
    void actCompareListClick();
    void actSaveViewCsvClick();
    bool HandleShortcut(QKeyEvent* event);
    static void ShowWindow(QWidget* window);

    // The registry index of the selected list node, if a list node is selected.
    std::optional<size_t> SelectedList() const;
    void ShowListCount();
    // ListCommandsHost
    void SelectList(const std::string& listFile) override;
    void ShowRescanProgress(const WorkerProgress* progress) override;
    void ShowCompareProgress(const WorkerProgress* progress) override;
    const ImageList& GroupPictures() const override { return *m_imgLst16; }
    void ShowDifferences(ListDifferences&& differences, size_t first, size_t second) override;
    // The count of a job on the lists in the tree's status bar; nullptr: the list count again.
    void ShowWorkProgress(const QString& doing, const WorkerProgress* progress);

    MainWindowEnvironment m_env;
    QToolBar* m_toolBar = nullptr;
    QToolButton* m_btnCreateList = nullptr;
    QToolButton* m_btnRefresh = nullptr;
    QToolButton* m_btnFind = nullptr;
    QToolButton* m_btnDuplicates = nullptr;
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
    QAction* m_actSaveCsv = nullptr;
    TfProcess* m_process = nullptr;
    QWidget* m_findWindow = nullptr;
    QWidget* m_newListWindow = nullptr;
    QWidget* m_duplicatesWindow = nullptr;
    TfCompare* m_compareWindow = nullptr; // made at the first comparison

    ExtensionIconCache m_iconCache;
    ListRegistry m_registry;
    std::unique_ptr<ListTree> m_listTree;
    ListCommands m_commands;
    bool m_refreshPending = false;
    bool m_shown = false;

    FolderContents m_contents; // what the file table shows
    // Each window's saved place, in the order of their sections: this window's first.
    WindowGeometryList m_geometries;
};

} // namespace vyp
