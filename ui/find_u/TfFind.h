// The search window "Výsledky hledání": the search field and button, the results table with its
// status bar, and the group filter in the top-left corner, which opens while the pointer is over
// it. It searches the lists the main window last loaded, on a worker while every window waits,
// draws with the main window's pictures, shows a hit's folder through the FolderNavigator, and
// lives hidden from start to end: closing it only hides it, so the text, the ticked groups and
// the results wait for the next time.
#pragma once

#include "qtcore/NameCollator.h"
#include "ui/common/GroupBoxes.h"
#include "ui/common/SearchedLists.h"
#include "ui/common/WindowContext.h"
#include "ui/find_u/FoundRows.h"

#include <QWidget>

#include <array>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolButton;

namespace vyp {

class FileTable;
class FolderNavigator;
class StatusPanels;

class TfFind : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCollapsedSize = 36;
    static constexpr int kExpandedSize = 136;

    TfFind(const WindowContext& context, FolderNavigator& navigator, QWidget* parent = nullptr);
    ~TfFind() override;

    // Runs the search of the text in the search field over the lists of the ticked groups.
    void btnFindClick();
    const FoundRows& Found() const { return m_found; }
    // Shows the selected hit's folder in the main window, the file selected there; says so when
    // its list was deleted or changed since the search.
    void GoToSelectedHit();
    void SaveResultsAsCsv();
    // True while a search runs.
    bool Searching() const { return m_searching; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildFilterPanel();
    void TimerTimer();
    void ExpandFilterPanel();
    void CollapseFilterPanel();
    void ShowFilterControls(bool visible);
    // The two counts of the status bar.
    void ShowCounts(size_t files, size_t folders);

    // Says that a list was deleted or changed since the search, so its rows show nothing.
    void TellListChanged(std::string_view listName);

    WindowContext m_context;
    FolderNavigator& m_navigator;
    SearchedLists m_searchedLists;
    QMenu* m_pmFind = nullptr;
    NameCollator m_collator;
    FoundRows m_found;

    QWidget* m_panel1 = nullptr;
    QLabel* m_label1 = nullptr;
    QLineEdit* m_edtFind = nullptr;
    QToolButton* m_btnFind = nullptr;
    FileTable* m_VSTFind = nullptr;
    StatusPanels* m_sbFind = nullptr;
    QWidget* m_pnlFind = nullptr;
    QLabel* m_image8 = nullptr;
    std::array<QLabel*, 7> m_groupImages{}; // Image1..Image7
    std::optional<GroupBoxes> m_groupBoxes;
    QTimer* m_timer = nullptr;
    bool m_filterPanelExpanded = false;
    bool m_searching = false;
    bool m_listChangeSaid = false; // once a search
};

} // namespace vyp
