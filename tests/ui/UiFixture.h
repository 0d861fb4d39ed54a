// A main window on a temporary data folder, with a fake icon provider that counts its
// questions, the search and new-list windows beside it when a test asks for them, and helpers to
// find nodes and read what the windows show.
#pragma once

#include "ProgramWindows.h"
#include "TestSupport.h"

#include "lists/ListFile.h"
#include "platform/Native.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FileTable.h"
#include "ui/common/FileTypeIcons.h"
#include "ui/common/StatusPanels.h"
#include "ui/common/TreeGrid.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QStringList>
#include <QTest>

#include <filesystem>
#include <memory>

namespace vyp::test {

// The tree's top level over a data folder without lists.
inline const QStringList kEmptyGroups = {"Gamesy (0)",   "Filmy (0)",   "Obrázky (0)", "Hudba (0)",
                                         "Programy (0)", "Ostatní (0)", "Neurčeno (0)"};

class CountingIcons final : public FileTypeIconProvider {
public:
    QIcon IconForExtension(const QString& extension) override {
        asked.append(extension);
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        return QIcon(picture);
    }
    QStringList asked;
};

class UiFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Dialogs::StartScript();
        std::filesystem::create_directories(FsPath(m_dir / "Seznamy"));
    }
    void TearDown() override { m_windows.Close(); }

    std::string ListPath(const std::string& fileName) {
        return m_dir / Native("Seznamy/" + fileName);
    }
    void AddList(const std::string& fileName, const std::vector<std::string>& lines) {
        WriteListFile(ListPath(fileName), lines);
    }
    void WriteSettings(const std::string& text) { WriteFile(m_dir / "settings.ini", text); }

    // Creates the main window and shows it, as the program does; walker (nullptr: the system's)
    // is what it lists folders through.
    TfLV& Start(DirectoryWalker* walker = nullptr) {
        MainWindowEnvironment environment{
            DataFolder(m_dir.Path()), walker != nullptr ? walker : &m_walker, &m_icons,
            RegionalSettings::Czech(), QLocale(QLocale::Czech, QLocale::CzechRepublic)};
        m_process = std::make_unique<TfProcess>();
        m_window = StartMainWindow(std::move(environment), m_process.get());
        return *m_window;
    }
    // The search window of the started main window, attached and shown.
    TfFind& OpenSearch() {
        m_find = OpenSearchWindow(*m_window);
        return *m_find;
    }
    // The new-list window of the started main window, attached, and shown as the user shows
    // it (Ctrl+N in the tree).
    TfNewList& OpenNewList() {
        m_newList = AttachNewListWindow(*m_window);
        QTest::keyClick(&Tree(), Qt::Key_N, Qt::ControlModifier);
        return *m_newList;
    }

    // The duplicates window of the started main window, attached, and shown as the user shows
    // it (Ctrl+D in the tree).
    TfDuplicates& OpenDuplicates() {
        m_duplicates = AttachDuplicatesWindow(*m_window);
        QTest::keyClick(&Tree(), Qt::Key_D, Qt::ControlModifier);
        return *m_duplicates;
    }

    TreeGrid& Tree() { return *m_window->findChild<TreeGrid*>(QStringLiteral("VSTTree")); }
    FileTable& View() { return *m_window->findChild<FileTable*>(QStringLiteral("VSTView")); }
    StatusPanels& TreeStatus() {
        return *m_window->findChild<StatusPanels*>(QStringLiteral("StatBarTree"));
    }
    StatusPanels& ViewStatus() {
        return *m_window->findChild<StatusPanels*>(QStringLiteral("StatBarView"));
    }

    // The captions of a node's children in order (kNoNode: the top level).
    QStringList Children(NodeId parent) {
        QStringList captions;
        for (int row = 0; row < Tree().ChildCount(parent); ++row)
            captions.append(
                Tree()
                    .Model()
                    .data(Tree().Model().IndexOf(Tree().ChildAt(parent, row)), Qt::DisplayRole)
                    .toString());
        return captions;
    }
    // The node reached by following captions from the top level.
    NodeId Node(const QStringList& captions) {
        NodeId node = kNoNode;
        for (const QString& caption : captions) {
            const int row = static_cast<int>(Children(node).indexOf(caption));
            EXPECT_GE(row, 0) << caption.toStdString();
            if (row < 0)
                return kNoNode;
            node = Tree().ChildAt(node, row);
        }
        return node;
    }
    // A table's top-level rows as shown, a row a line, the cells of columns first to last (-1:
    // the last there is) separated by "|".
    template <typename Grid>
    static QStringList Rows(Grid& table, int firstColumn = 0, int lastColumn = -1) {
        QStringList rows;
        auto& model = table.Model();
        if (lastColumn < 0)
            lastColumn = model.columnCount() - 1;
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = firstColumn; column <= lastColumn; ++column)
                cells.append(model.data(model.index(row, column), Qt::DisplayRole).toString());
            rows.append(cells.join(QLatin1Char('|')));
        }
        return rows;
    }
    // The main window's file table.
    QStringList Table() { return Rows(View()); }
    // Whether a right click in table opens the menu menuName of window with its action
    // actionName enabled; the menu is closed again.
    static bool OfferedByRightClick(QWidget& table, QWidget& window, const char* menuName,
                                    const char* actionName) {
        emit table.customContextMenuRequested(QPoint(5, 5));
        auto* menu = window.findChild<QMenu*>(QString::fromLatin1(menuName));
        EXPECT_TRUE(menu != nullptr && menu->isVisible()) << menuName;
        const bool offered =
            window.findChild<QAction*>(QString::fromLatin1(actionName))->isEnabled();
        if (menu != nullptr)
            menu->hide();
        return offered;
    }
    QStringList TableColumn(int column) {
        QStringList cells;
        for (const QString& row : Table())
            cells.append(row.split(QLatin1Char('|'))[column]);
        return cells;
    }

    TempDir m_dir;
    NativeDirectoryWalker m_walker;
    CountingIcons m_icons;
    RunningWindows m_windows;
    std::unique_ptr<TfLV>& m_window = m_windows.main;
    std::unique_ptr<TfProcess>& m_process = m_windows.progress;
    std::unique_ptr<TfFind>& m_find = m_windows.find;
    std::unique_ptr<TfNewList>& m_newList = m_windows.newList;
    std::unique_ptr<TfDuplicates>& m_duplicates = m_windows.duplicates;
};

} // namespace vyp::test
