#include "PhotoDisc.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QTest>

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
    std::filesystem::remove(ListPath("disk.sez"));
    Tree().SelectNode(Node({"Neurčeno (1)", "disk", "Games"}));
    EXPECT_TRUE(Table().isEmpty());
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 2");
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(),
              "Cannot open file \"" + ListPath("disk.sez") + "\". No such file or directory.");
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

// ---- saving as CSV ------------------------------------------------------------------------

class FileTableCsv : public PhotoDiscFixture {};

TEST_F(FileTableCsv, FileTableSavedAsCsvInTheOrderShown) {
    StartOnDisc();
    Tree().SelectNode(Node(kLetoNode));
    // Largest first.
    static_cast<vyp::FileTable&>(View()).HeaderClick(FolderContents::Velikost, Qt::LeftButton);
    static_cast<vyp::FileTable&>(View()).HeaderClick(FolderContents::Velikost, Qt::LeftButton);
    const std::string target = m_dir / "Léto, 2023.csv";
    SaveFilePicker::QueueFile(QString::fromStdString(target));
    emit View().customContextMenuRequested(QPoint(5, 5));
    m_window->findChild<QAction*>(QStringLiteral("actSaveViewCsv"))->trigger();
    m_window->findChild<QMenu*>(QStringLiteral("pmView"))->hide();

    ASSERT_EQ(SaveFilePicker::Asked().size(), 1u);
    EXPECT_EQ(SaveFilePicker::Asked()[0].caption, "Uložit jako CSV");
    EXPECT_EQ(SaveFilePicker::Asked()[0].suggestedName, "Léto 2023.csv");
    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    ASSERT_EQ(Table()[0], "Château de Lednice.tar.gz|0,76 MB|800000 B|2023.7.30|12:0:0");
    EXPECT_EQ(
        ReadFile(target),
        "Soubor,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n"
        "Château de Lednice.tar.gz,\"0,76 MB\",800000 B,2023.7.30,12:0:0,800000\r\n"
        "\"Hôtel d'Été, \"\"pokoj\"\" 12.jpg\",\"0,09 MB\",90000 B,2023.7.31,8:0:0,90000\r\n");
}

TEST_F(FileTableCsv, AFileThatCannotBeWrittenIsReported) {
    StartOnDisc();
    Tree().SelectNode(Node(kLetoNode));
    SaveFilePicker::QueueFile(QString::fromStdString(m_dir / "Není tu/tabulka.csv"));
    m_window->findChild<QAction*>(QStringLiteral("actSaveViewCsv"))->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Critical);
}

} // namespace
} // namespace vyp::test
