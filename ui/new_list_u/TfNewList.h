// The new-list window: the user picks a folder, names the list, picks its group and presses
// "Vytvoř". The list is scanned and written on a worker thread while every window of the
// program refuses input, so the windows keep painting and show how far the scan has come.
// Nothing else of the program runs meanwhile, so the worker may use the main window's walker
// and the result is the same as a scan on the user-interface thread. It works with what the
// main window lends it (WindowContext) and asks for the lists to be refreshed by a signal.
#pragma once

#include "scan/NamedListCreation.h"
#include "scan/ScanLines.h"
#include "ui/common/WindowContext.h"

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vyp {

class WorkerProgress;

class TfNewList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 363;
    static constexpr int kClientHeight = 118;

    // Works with the context's data folder, walker and regional settings and draws the groups
    // from its group pictures.
    explicit TfNewList(const WindowContext& context, QWidget* parent = nullptr);
    ~TfNewList() override;

    // True while a list is being created.
    bool Scanning() const { return m_scanning; }

signals:
    // A list was created with "Automaticky obnovovat" ticked: the main window should find the
    // lists again, before the window goes on.
    void RefreshListsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void FormShow();
    void BuildLayout();

    void bntVyberSlozkuClick();
    void btnVytvorClick();
    // Lets the user choose a folder, starting at folder when it still exists. Returns true and
    // sets folder to the choice when one was confirmed.
    bool BrowseForFolder(const QString& prompt, QString& folder);
    // Creates list on the worker thread and waits, painting, until it is done. Returns the count
    // of folders that could not be read, or nothing when the program is closing and the scan was
    // stopped. Rethrows the worker's error.
    std::optional<size_t> CreateWhileWindowsWait(const NamedList& list);
    void ShowScanCount(const WorkerProgress& progress);

    WindowContext m_context;

    QWidget* m_panel1 = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_lblPrubeh = nullptr; // the running count, in the picture's place during a scan
    QWidget* m_panel2 = nullptr;
    QLineEdit* m_edtFolder = nullptr;
    QToolButton* m_bntVyberSlozku = nullptr;
    QLineEdit* m_edtNazev = nullptr;
    QCheckBox* m_chckbObnova = nullptr;
    QCheckBox* m_chckbPAS = nullptr;
    QComboBox* m_cmbGroup = nullptr;
    QPushButton* m_btnVytvor = nullptr;

    std::unique_ptr<ScanLines> m_scanLines;
    bool m_scanning = false;
};

} // namespace vyp
