// The comparison window "Porovnání seznamů": what differs between two lists, one row a
// difference with its kind (a picture and the words, so it reads without colour too), the path
// and both lists' sizes, dates and times; sortable; three filter buttons, one a kind; the summary
// in the status bar; going to an entry's folder in either list (through the FolderNavigator);
// saving the rows shown as CSV. The main window owns it and fills it for each comparison;
// closing it only hides it.
#pragma once

#include "ui/common/WindowContext.h"
#include "ui/compare_u/DifferenceRows.h"

#include <QWidget>

#include <array>
#include <string>

class QMenu;
class QToolButton;

namespace vyp {

class FileTable;
class FolderNavigator;
class ImageList;
class StatusPanels;

class TfCompare : public QWidget {
    Q_OBJECT
public:
    TfCompare(const WindowContext& context, FolderNavigator& navigator, QWidget* parent = nullptr);
    ~TfCompare() override;

    // Shows the differences of the lists named firstName and secondName, whose files are
    // firstFile and secondFile.
    void Show(ListDifferences&& differences, const std::string& firstName,
              const std::string& firstFile, const std::string& secondName,
              const std::string& secondFile);

    const DifferenceRows& Rows() const { return m_rows; }
    // Shows the selected entry's folder in the list given (First or Second); says so when that
    // list has no such folder any more.
    void GoToSelected(ListDifferences::Side side);
    // The list that holds the selected entry: the first, unless only the second has it.
    void GoToSelectedWhereItIs();
    void SaveAsCsv();

private:
    void BuildLayout();
    void Filter();
    void ShowSummary();

    WindowContext m_context;
    FolderNavigator& m_navigator;
    DifferenceRows m_rows;
    std::array<std::string, 2> m_names, m_files;

    FileTable* m_VSTCompare = nullptr;
    StatusPanels* m_sbCompare = nullptr;
    ImageList* m_kindPictures = nullptr;
    std::array<QToolButton*, 3> m_kindButtons{}; // by kind
    QMenu* m_pmCompare = nullptr;
};

} // namespace vyp
