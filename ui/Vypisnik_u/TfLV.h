// The main window: the tool bar, the list tree of groups, lists and folders with its status
// bar, the file table of the selected list or folder with its status bar, the group popup
// menu, and the window's commands, shortcuts and saved geometry.
#pragma once

#include "lists/DataFolder.h"
#include "lists/FolderHierarchy.h"
#include "lists/FolderRows.h"
#include "lists/ListRegistry.h"
#include "lists/RegionalSettings.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"
#include "ui/Vypisnik_u/TNodeRec.h"
#include "ui/common/NameCollator.h"
#include "ui/common/TreeGridModel.h"

#include <QCollatorSortKey>
#include <QMainWindow>

#include <array>
#include <optional>
#include <vector>

class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;

namespace vyp {

class DirectoryWalker;
class FileTypeIconProvider;
class ImageList;
class StatusPanels;
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
    // The search and new-list windows, once they exist; until then their commands do nothing.
    void SetSearchWindow(QWidget* window) { m_findWindow = window; }
    void SetNewListWindow(QWidget* window) { m_newListWindow = window; }

    void RefreshLists();
    bool BuildListTree();
    void ShowFolderContents(const QString& folderPath, const QString& listFile);

    TNodeRec TreeRecord(NodeId node) const;
    const ListRegistry& Registry() const { return m_registry; }
    ExtensionIconCache& IconCache() { return m_iconCache; }
    const ImageList& ImgLst16() const { return *m_imgLst16; }

    void SaveWindowSettings();
    void LoadWindowSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Geometry of a window that does not exist yet, kept so that saving writes it back.
    struct StoredGeometry {
        int top, left, width, height;
    };
    enum class ViewColumn { Soubor, Velikost, PresnaVelikost, Datum, Cas };

    void FormCreate();
    void FormShow();
    void FormResize();
    void BuildLayout();
    void BuildGroupMenu();

    void btnCreateListClick();
    void btnRefreshClick();
    void btnFindClick();
    void VSTTreeChange(NodeId node);
    void VSTTreeKeyDown(QKeyEvent* event);
    void VSTViewKeyDown(QKeyEvent* event);
    void VSTViewHeaderClick(int column, Qt::MouseButton button);
    int VSTViewCompareNodes(NodeId a, NodeId b, int column);
    QString VSTViewGetText(NodeId node, int column) const;
    void Gamesy1Click(int group);
    // The registry index of the selected list node, if a list node is selected.
    std::optional<size_t> SelectedList() const;
    void DeleteSelectedList();
    bool HandleShortcut(QKeyEvent* event);
    static void ShowWindow(QWidget* window);

    QString Utf8(std::string_view text) const;
    std::string ToStd(const QString& text) const { return text.toStdString(); }

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
    TreeGrid* m_view = nullptr;
    StatusPanels* m_statBarView = nullptr;
    ImageList* m_imgLst16 = nullptr;
    QMenu* m_pmGroup = nullptr;
    TfProcess* m_process = nullptr;
    QWidget* m_findWindow = nullptr;
    QWidget* m_newListWindow = nullptr;

    ExtensionIconCache m_iconCache;
    ListRegistry m_registry;
    std::vector<FolderHierarchy> m_hierarchies; // by list index, from the last build
    std::array<int, 7> m_groupCounts{};
    bool m_building = false;
    bool m_refreshPending = false;
    bool m_shown = false;

    FolderRows m_rows;                       // what the file table shows
    std::vector<int> m_rowImages;            // the picture of each row
    std::vector<QCollatorSortKey> m_rowKeys; // made once per fill, when sorting by name
    NameCollator m_collator;

    StoredGeometry m_findGeometry{419, 363, 667, 388};
    StoredGeometry m_newListGeometry{479, 497, 0, 0};
};

} // namespace vyp
