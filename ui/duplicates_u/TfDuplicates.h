// The duplicates window "Duplicity": the groups whose lists are looked through (all ticked at
// first), the smallest size that counts, in MB, the "Najít" button, the tree of duplicate sets
// with their copies below them, and a status bar with the count of sets and the bytes they
// waste. Going to a copy's folder asks the main window (FolderNavigator); the search runs on a
// worker while every window waits. It lives hidden from start to end: closing it only hides it.
#pragma once

#include "qtcore/NameCollator.h"
#include "ui/common/GroupBoxes.h"
#include "ui/common/SearchedLists.h"
#include "ui/common/WindowContext.h"
#include "ui/duplicates_u/DuplicateNodes.h"

#include <QWidget>

#include <optional>

class QDoubleSpinBox;
class QMenu;
class QPushButton;

namespace vyp {

class FolderNavigator;
class StatusPanels;
class TreeGrid;

class TfDuplicates : public QWidget {
    Q_OBJECT
public:
    TfDuplicates(const WindowContext& context, FolderNavigator& navigator,
                 QWidget* parent = nullptr);
    ~TfDuplicates() override;

    // Looks for the duplicates in the lists of the ticked groups and shows them.
    void btnFindClick();
    const DuplicateNodes& Nodes() const { return m_nodes; }
    // Shows the selected copy's folder in the main window, the file selected there; says so
    // when its list was deleted or changed since the search. A set selected goes nowhere.
    void GoToSelectedCopy();
    // The sets in the order shown, as CSV.
    void SaveAsCsv();

private:
    void BuildLayout();
    void ShowSets();
    void HeaderClick(int column, Qt::MouseButton button);
    void ShowStatus();

    WindowContext m_context;
    FolderNavigator& m_navigator;
    NameCollator m_collator;
    DuplicateNodes m_nodes;
    SearchedLists m_searchedLists;

    std::optional<GroupBoxes> m_groupBoxes;
    QDoubleSpinBox* m_edtMinSize = nullptr;
    QPushButton* m_btnFind = nullptr;
    TreeGrid* m_VSTDuplicates = nullptr;
    StatusPanels* m_sbDuplicates = nullptr;
    QMenu* m_pmDuplicates = nullptr;
};

} // namespace vyp
