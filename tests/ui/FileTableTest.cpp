#include "UiFixture.h"

#include "lists/SettingsFile.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace vyp::test {
namespace {

class FileTable : public UiFixture {
protected:
    void AddDisk() {
        AddList("disk.sez",
                {"E:\\\t1050634", "autorun.inf\t45\t2003.11.2\t14:3.20",
                 "README\t10\t2003.11.2\t14:3.20", "Games\\\t1050579\t2004.1.15\t9:30.0",
                 "setup.exe\t1048576\t2004.1.15\t9:29.58", "b.txt\t2\t2004.1.15\t9:29.58",
                 "a.TXT\t1\t2004.1.15\t9:29.58", "c.Txt\t2\t2004.1.15\t9:29.58",
                 "Games\\Old\\\t0\t2003.5.1\t0:0.0", "Music\\\t0\t2004.2.29\t18:45.10"});
    }
    NodeId Disk() { return Node({"Neurčeno (1)", "disk"}); }
    void ClickHeader(int column, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = View().header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), button, Qt::NoModifier, at);
    }
};

TEST_F(FileTable, ListRootAndFolderRowsWithCountsAndTotals) {
    AddDisk();
    Start();
    Tree().SelectNode(Disk());
    EXPECT_EQ(Table(), (QStringList{"autorun.inf|0,00 MB|45 B|2003.11.2|14:3:20",
                                    "README|0,00 MB|10 B|2003.11.2|14:3:20"}));
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 2");
    EXPECT_EQ(ViewStatus().Text(1), "Velikost: 0,00 MB");
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    EXPECT_EQ(TableColumn(0), (QStringList{"a.TXT", "b.txt", "c.Txt", "setup.exe"}));
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 4");
    EXPECT_EQ(ViewStatus().Text(1), "Velikost: 1,00 MB");
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Music"}));
    EXPECT_TRUE(Table().isEmpty());
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 0");
    EXPECT_EQ(ViewStatus().Text(1), "Velikost: 0,00 MB");
}

TEST_F(FileTable, HeaderClicksSortByTheLeftButtonOnly) {
    AddDisk();
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    ClickHeader(1);
    EXPECT_EQ(TableColumn(0), (QStringList{"a.TXT", "b.txt", "c.Txt", "setup.exe"}));
    ClickHeader(1);
    EXPECT_EQ(TableColumn(0), (QStringList{"setup.exe", "b.txt", "c.Txt",
                                           "a.TXT"})); // equal sizes keep their order
    ClickHeader(3, Qt::RightButton);
    ClickHeader(0, Qt::MiddleButton);
    EXPECT_EQ(View().SortColumn(), 1);
    ClickHeader(3); // "Datum": the column changes, the order stays
    EXPECT_EQ(View().SortColumn(), 3);
    EXPECT_EQ(TableColumn(0), (QStringList{"setup.exe", "b.txt", "c.Txt", "a.TXT"}));
    ClickHeader(3);
    EXPECT_EQ(View().SortDirection(), Qt::DescendingOrder);
    EXPECT_EQ(TableColumn(0), (QStringList{"setup.exe", "b.txt", "c.Txt", "a.TXT"}));
}

TEST_F(FileTable, NewFillKeepsTheSortAndEqualSizesTheirFileOrder) {
    AddDisk();
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    ClickHeader(2);
    ClickHeader(2);
    Tree().SelectNode(Disk());
    EXPECT_EQ(TableColumn(0), (QStringList{"autorun.inf", "README"}));
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    EXPECT_EQ(TableColumn(0), (QStringList{"setup.exe", "b.txt", "c.Txt", "a.TXT"}));
    EXPECT_EQ(View().SortColumn(), 2);
    EXPECT_EQ(View().SortDirection(), Qt::DescendingOrder);
}

TEST_F(FileTable, IconsAreAskedForOncePerExtension) {
    AddDisk();
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    Tree().SelectNode(Disk());
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    QStringList upper;
    for (const QString& ext : m_icons.asked)
        upper.append(ext.toUpper());
    upper.sort();
    EXPECT_EQ(upper, (QStringList{"EXE", "INF", "TXT"}));
    const auto& cache = m_window->IconCache().ExtIcons();
    EXPECT_EQ(cache.front().Ext, "");
    EXPECT_EQ(cache.front().ImageIndex, 0);
    EXPECT_EQ(m_window->IconCache().ImageIndexForExt("Txt"),
              m_window->IconCache().ImageIndexForExt("TXT"));
    EXPECT_EQ(m_window->IconCache().ImageIndexForExt(""), 0);
    EXPECT_EQ(m_icons.asked.size(), 3);
    const int accented = m_window->IconCache().ImageIndexForExt("é");
    EXPECT_EQ(accented, m_window->IconCache().ImgS().Count() - 1);
    EXPECT_NE(m_window->IconCache().ImageIndexForExt("É"),
              m_window->IconCache().ImageIndexForExt("é"));
    Tree().SelectNode(Disk()); // README has no extension: the blank document
    EXPECT_EQ(View().OnGetImageIndex()(View().ChildAt(kNoNode, 1), 0), 0);
}

TEST_F(FileTable, UnreadableListLeavesAnEmptyTableAndTheStatus) {
    AddDisk();
    Start();
    Tree().SelectNode(Disk());
    std::filesystem::remove(FsPath(ListPath("disk.sez")));
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    EXPECT_TRUE(Table().isEmpty());
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 2");
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(), "Cannot open file \"" + ListPath("disk.sez") +
                                                          "\". " +
                                                          WithFinalPeriod(NoSuchFileText()));
}

TEST_F(FileTable, ColumnZeroTakesWhatTheOthersLeave) {
    AddDisk();
    Start();
    m_window->resize(900, 500);
    QApplication::processEvents();
    const int before = View().ColumnWidth(0);
    EXPECT_EQ(before, View().width() - 70 - 90 - 70 - 70 - 20);
    m_window->resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(View().ColumnWidth(0), before + 100);
    EXPECT_EQ(View().ColumnWidth(1), 70);
    auto* splitter = m_window->findChild<QSplitter*>("Splitter");
    splitter->setSizes({200, splitter->width() - 200 - splitter->handleWidth()});
    QApplication::processEvents();
    EXPECT_EQ(View().ColumnWidth(0), View().width() - 70 - 90 - 70 - 70 - 20);
    EXPECT_EQ(View().ColumnWidth(2), 90);
}

class Commands : public UiFixture {
protected:
    void AddTwoLists() {
        AddList("A.SEZ", {"E:\\\t0", "Folder\\\t0\t1\t1"});
        AddList("b.sez", {"E:\\\t0"});
        WriteSettings("[Seznamy]\r\nA.SEZ=2\r\nb.sez=2\r\n");
    }
    void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&widget, static_cast<Qt::Key>(key), modifiers);
    }
    std::string Settings() { return ReadFile(m_dir / "settings.ini"); }
};

TEST_F(Commands, DeleteAsksOnlyForListNodes) {
    AddTwoLists();
    Start();
    Tree().setFocus();
    Tree().SelectNode(Node({"Gamesy (2)"}));
    PressKey(Tree(), Qt::Key_Delete);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ", "Folder"}));
    PressKey(Tree(), Qt::Key_Delete);
    EXPECT_TRUE(Dialogs::Shown().empty());

    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    Dialogs::QueueAnswer(QMessageBox::No);
    PressKey(Tree(), Qt::Key_Delete);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "Opravdu chcete tento seznam nenávratně smazat?");
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
    EXPECT_EQ(Dialogs::Shown()[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(std::filesystem::exists(FsPath(ListPath("A.SEZ"))));

    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    Dialogs::QueueAnswer(QMessageBox::Yes);
    PressKey(Tree(), Qt::Key_Delete);
    EXPECT_FALSE(std::filesystem::exists(FsPath(ListPath("A.SEZ"))));
    EXPECT_EQ(Settings(), "[Seznamy]\r\nb.sez=2\r\n"); // the key of the file name, in its case
    EXPECT_EQ(Children(Node({"Gamesy (1)"})), QStringList{"b"});
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
}

TEST_F(Commands, ListThatCannotBeDeletedKeepsItsGroupAndIsReported) {
    AddTwoLists();
    std::filesystem::remove(FsPath(ListPath("b.sez")));
    std::filesystem::create_directory(FsPath(ListPath("b.sez"))); // a folder: unlink refuses it
    WriteFile(ListPath("b.sez") + "/inside", "x");
    AddList("c.sez", {"E:\\\t0"});
    WriteSettings("[Seznamy]\r\nA.SEZ=2\r\nc.sez=2\r\n");
    Start();
    std::filesystem::remove_all(FsPath(ListPath("c.sez")));
    std::filesystem::create_directory(FsPath(ListPath("c.sez")));
    WriteFile(ListPath("c.sez") + "/inside", "x");
    Tree().SelectNode(Node({"Gamesy (2)", "c"}));
    Dialogs::QueueAnswer(QMessageBox::Yes);
    PressKey(Tree(), Qt::Key_Delete);
    ASSERT_EQ(Dialogs::Shown().size(), 3u); // the unreadable list, the question, the refusal
    EXPECT_TRUE(Dialogs::Shown()[2].text.startsWith("Seznam se nepodařilo smazat"));
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=2\r\nc.sez=2\r\n");
}

TEST_F(Commands, GroupPopupMovesListNodesOnly) {
    AddTwoLists();
    Start();
    auto* filmy = m_window->findChild<QAction*>("Filmy1");
    ASSERT_NE(filmy, nullptr);
    EXPECT_EQ(filmy->data().toInt(), 3);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ", "Folder"}));
    filmy->trigger();
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=2\r\nb.sez=2\r\n");
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    filmy->trigger();
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=3\r\nb.sez=2\r\n");
    EXPECT_EQ(Children(Node({"Filmy (1)"})), QStringList{"A.SEZ"});
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
    // The same group again still rebuilds the tree.
    Tree().SelectNode(Node({"Gamesy (1)", "b"}));
    m_window->findChild<QAction*>("Gamesy1")->trigger();
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
}

TEST_F(Commands, RightClickOpensTheGroupMenuWithoutMovingTheSelection) {
    AddTwoLists();
    Start();
    const NodeId group = Node({"Gamesy (2)"});
    Tree().expand(Tree().Model().IndexOf(group));
    QApplication::processEvents();
    const QRect list = Tree().visualRect(Tree().Model().IndexOf(Node({"Gamesy (2)", "b"})));
    QTest::mouseClick(Tree().viewport(), Qt::RightButton, Qt::NoModifier, list.center());
    EXPECT_EQ(Tree().SelectedNode(), group);
    auto* menu = m_window->findChild<QMenu*>("pmGroup");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList items;
    for (QAction* action : menu->actions()) {
        items.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        // A group node cannot be rescanned; the group items are always there to choose.
        EXPECT_EQ(action->isEnabled(), action->objectName() != "actRescanList");
    }
    EXPECT_EQ(items, (QStringList{"Gamesy1", "Filmy1", "Obrzky1", "Hudba1", "Programy1", "Ostatn1",
                                  "Neureno1", "-", "actRescanList"}));
    menu->hide();
}

TEST_F(Commands, RefusedGroupWriteIsReportedAndTheTreeStays) {
    AddTwoLists();
    Start();
    ::chmod((m_dir / "settings.ini").c_str(), 0444);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    m_window->findChild<QAction*>("Hudba1")->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(),
              "Unable to write to " + (m_dir / "settings.ini") + ".");
    EXPECT_EQ(Children(Node({"Gamesy (2)"})), (QStringList{"A.SEZ", "b"}));
}

TEST_F(Commands, ListNamesSettingsCannotKeepStayUndeterminedAndSayWhy) {
    AddList("[fLV].sez", {"E:\\\t0"});
    AddList("Hry=2.sez", {"E:\\\t0"});
    const std::string settings = "[fLV]\r\nTop=10\r\n[Seznamy]\r\nHry=2\r\n";
    WriteSettings(settings);
    Start();
    EXPECT_EQ(Children(Node({"Neurčeno (2)"})), (QStringList{"Hry=2", "[fLV]"}));
    for (const char* list : {"[fLV]", "Hry=2"}) {
        Dialogs::StartScript();
        Tree().SelectNode(Node({"Neurčeno (2)", list}));
        m_window->findChild<QAction*>("Hudba1")->trigger();
        ASSERT_EQ(Dialogs::Shown().size(), 1u) << list;
        EXPECT_TRUE(Dialogs::Shown()[0].text.startsWith(QStringLiteral("Název \"%1.sez\" nelze "
                                                                       "uložit do souboru")
                                                            .arg(list)))
            << Dialogs::Shown()[0].text.toStdString();
        EXPECT_EQ(Settings(), settings);
    }
    EXPECT_EQ(Children(Node({"Neurčeno (2)"})), (QStringList{"Hry=2", "[fLV]"}));
}

TEST_F(Commands, ShortcutsShowTheSearchAndNewListWindows) {
    Start();
    QWidget search, newList;
    m_window->SetSearchWindow(&search);
    m_window->SetNewListWindow(&newList);
    PressKey(View(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(search.isVisible());
    EXPECT_FALSE(newList.isVisible());
    PressKey(Tree(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(newList.isVisible());
    search.hide();
    m_window->findChild<QToolButton*>("btnFind")->click();
    EXPECT_TRUE(search.isVisible());
}

TEST_F(Commands, WindowGeometryIsRestoredAndSavedWithNegativeCoordinates) {
#ifdef _WIN32
    GTEST_SKIP() << "Qt's offscreen platform on Windows moves a window placed above and left of "
                    "the screen by 6 pixels; the search window's negative Left is checked below";
#endif
    WriteSettings("[fLV]\r\nSplitter=250\r\nTop=-20\r\nLeft=-500\r\nWidth=800\r\nHeigth=600\r\n"
                  "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeight=999\r\n");
    Start();
    EXPECT_EQ(m_window->frameGeometry(), QRect(-500, -20, 800, 600));
    EXPECT_EQ(m_window->findChild<QWidget*>("pnlTree")->width(), 250);
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(Settings(),
              "[fLV]\r\nSplitter=250\r\nTop=-20\r\nLeft=-500\r\nWidth=800\r\nHeigth=600\r\n"
              "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeight=999\r\n"); // no window, no keys
}

TEST_F(Commands, AttachedWindowsRestoreAndSaveTheirSectionsInOrder) {
    WriteSettings("[fNewList]\r\nLeft=497\r\nTop=479\r\n"
                  "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeigth=300\r\n");
    QWidget search, newList;
    newList.resize(300, 200);
    MainWindowEnvironment environment{DataFolder(m_dir.Path()), &m_walker, &m_icons,
                                      RegionalSettings::Czech(), QLocale::c()};
    m_window = std::make_unique<TfLV>(std::move(environment));
    m_window->SetSearchWindow(&search);
    m_window->SetNewListWindow(&newList);
    m_window->show();
    QApplication::processEvents();
    EXPECT_EQ(search.frameGeometry(), QRect(-7, 5, 640, 300));
    EXPECT_EQ(newList.frameGeometry(), QRect(497, 479, 300, 200));
    search.move(30, 40);
    newList.move(50, 60);
    m_window->SetSearchWindow(&search); // attached again: still one "fFind", in its place
    m_window->close();
    const QRect main = m_window->frameGeometry();
    EXPECT_EQ(
        Settings(),
        QStringLiteral("[fNewList]\r\nLeft=50\r\nTop=60\r\n"
                       "[fFind]\r\nTop=40\r\nLeft=30\r\nWidth=640\r\nHeigth=300\r\n"
                       "[fLV]\r\nSplitter=%1\r\nTop=%2\r\nLeft=%3\r\nWidth=%4\r\nHeigth=%5\r\n")
            .arg(m_window->findChild<QWidget*>("pnlTree")->width())
            .arg(main.top())
            .arg(main.left())
            .arg(main.width())
            .arg(main.height())
            .toStdString());
}

TEST_F(Commands, ReadOnlySettingsAtCloseAreReportedOnceAndTheWindowCloses) {
    WriteSettings("[fLV]\r\nTop=10\r\n");
    Start();
    ::chmod((m_dir / "settings.ini").c_str(), 0444);
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(),
              "Unable to write to " + (m_dir / "settings.ini") + ".");
    EXPECT_EQ(Settings(), "[fLV]\r\nTop=10\r\n");
}

} // namespace
} // namespace vyp::test
