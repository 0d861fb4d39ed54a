#include "UiFixture.h"

#include "lists/ListRegistry.h"
#include "ui/common/FileTable.h"
#include "ui/common/ImageList.h"
#include "ui/common/SaveFilePicker.h"
#include "ui/compare_u/ListChooser.h"
#include "ui/compare_u/TfCompare.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

namespace vyp::test {
namespace {

template <typename Grid> QString Caption(Grid& grid, NodeId node) {
    return grid.Model().data(grid.Model().IndexOf(node), Qt::DisplayRole).toString();
}

class CompareWindowTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        SaveFilePicker::StartScript();
        ListChooser::StartScript();
        AddList("Originál.sez",
                {"E:\\\t7100", "Übersicht.pdf\t100\t2024.3.1\t8:0.0",
                 "Fotky z Brna\\\t7000\t2023.9.2\t10:0.0", "Špilberk.JPG\t3000\t2023.9.1\t19:30.0",
                 "Petrov ráno.jpg\t4000\t2023.9.2\t6:45.10", "Музыка\\\t0\t2022.1.5\t20:15.4"});
        // The backup: made with "." between hours and minutes, one photo grown, the music gone,
        // a CJK folder more.
        AddList("Záloha.sez",
                {"F:\\Záloha\\\t9100", "Übersicht.pdf\t100\t2024.3.1\t8.0.0",
                 "Fotky z Brna\\\t9000\t2023.9.2\t10.0.0", "Špilberk.JPG\t3000\t2023.9.1\t19.30.0",
                 "Petrov ráno.jpg\t6000\t2023.9.2\t6.45.10", "写真\\\t0\t2021.7.7\t7.7.6"});
        Start();
    }

    // Chooses "Porovnat se seznamem…" on the list node of caption, answering the chooser with
    // the list second (empty: cancelled).
    void CompareThroughMenu(const QString& caption, const std::string& second) {
        Tree().SelectNode(Node({"Neurčeno (2)", caption}));
        if (second.empty())
            ListChooser::QueueCancel();
        else
            ListChooser::QueueList(ListPath(second));
        emit Tree().customContextMenuRequested(QPoint(5, 5));
        QAction* compare = m_window->findChild<QAction*>(QStringLiteral("actCompareList"));
        ASSERT_TRUE(compare->isEnabled());
        compare->trigger();
        m_window->findChild<QMenu*>(QStringLiteral("pmGroup"))->hide();
    }
    TfCompare* Window() { return m_window->findChild<TfCompare*>(QStringLiteral("fCompare")); }
    FileTable& Differences() {
        return *Window()->findChild<FileTable*>(QStringLiteral("VSTCompare"));
    }
    QStringList Rows() { return UiFixture::Rows(Differences()); }
    QString Status(int panel) {
        return Window()->findChild<StatusPanels*>(QStringLiteral("sbCompare"))->Text(panel);
    }
    void SelectRow(int row) { Differences().SelectNode(Differences().ChildAt(kNoNode, row)); }
};

TEST_F(CompareWindowTest, ShowsWhatDiffersWithTheSummaryAndFiltersByKind) {
    CompareThroughMenu("Originál", "Záloha.sez");
    ASSERT_EQ(ListChooser::Asked().size(), 1u);
    EXPECT_EQ(ListChooser::Asked()[0].firstList, ListPath("Originál.sez"));
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->windowTitle(), "Porovnání seznamů: Originál – Záloha");
    // Sorted by kind at first; the lists' order within a kind.
    EXPECT_EQ(Rows(),
              (QStringList{"Jen v prvním|Музыка\\|0 B|2022.1.5|20:15:4|||",
                           "Jen ve druhém|写真\\||||0 B|2021.7.7|7:7:6",
                           "Změněno|Fotky z Brna\\Petrov ráno.jpg|4000 B|2023.9.2|6:45:10|6000 "
                           "B|2023.9.2|6:45:10"}));
    EXPECT_EQ(Status(0), "Složky: přidáno 1, odebráno 1, změněno 0");
    EXPECT_EQ(Status(1), "Soubory: přidáno 0, odebráno 0, změněno 1");
    EXPECT_EQ(Status(2), "Zobrazeno rozdílů: 3 z 3");
    // Each kind has its picture beside its words.
    auto& model = Differences().Model();
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isNull());

    QTest::mouseClick(Window()->findChild<QToolButton*>(QStringLiteral("btnChanged")),
                      Qt::LeftButton);
    QTest::mouseClick(Window()->findChild<QToolButton*>(QStringLiteral("btnOnlyInSecond")),
                      Qt::LeftButton);
    EXPECT_EQ(Rows(), QStringList{"Jen v prvním|Музыка\\|0 B|2022.1.5|20:15:4|||"});
    EXPECT_EQ(Status(2), "Zobrazeno rozdílů: 1 z 3");
    QTest::mouseClick(Window()->findChild<QToolButton*>(QStringLiteral("btnChanged")),
                      Qt::LeftButton);
    EXPECT_EQ(Rows().size(), 2);

    // Sorting by a header, as every table does: "Cesta" ascending.
    Differences().HeaderClick(1, Qt::LeftButton);
    EXPECT_EQ(Rows()[0].section('|', 1, 1), "Fotky z Brna\\Petrov ráno.jpg");
}

TEST_F(CompareWindowTest, GoesToTheFolderInEitherListAndSavesTheRowsShown) {
    CompareThroughMenu("Originál", "Záloha.sez");
    SelectRow(2); // Petrov ráno.jpg, changed
    QTest::keyClick(&Differences(), Qt::Key_Return);
    EXPECT_EQ(Children(Tree().SelectedNode()), QStringList{}) << "a folder without subfolders";
    EXPECT_EQ(Caption(Tree(), Tree().SelectedNode()), "Fotky z Brna");
    EXPECT_EQ(Tree().Model().Parent(Tree().SelectedNode()), Node({"Neurčeno (2)", "Originál"}));
    ASSERT_NE(View().SelectedNode(), kNoNode);
    EXPECT_EQ(Caption(View(), View().SelectedNode()), "Petrov ráno.jpg");

    // The folder only the second list has, from the popup menu.
    SelectRow(1);
    Window()->findChild<QAction*>(QStringLiteral("actGoToSecond"))->trigger();
    EXPECT_EQ(Tree().SelectedNode(), Node({"Neurčeno (2)", "Záloha", "写真"}));
    // The first list lacks it: said so, nothing changes.
    Window()->findChild<QAction*>(QStringLiteral("actGoToFirst"))->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "Seznam „Originál“ nemá složku „写真\\“.");
    EXPECT_EQ(Tree().SelectedNode(), Node({"Neurčeno (2)", "Záloha", "写真"}));

    QTest::mouseClick(Window()->findChild<QToolButton*>(QStringLiteral("btnOnlyInFirst")),
                      Qt::LeftButton);
    const std::string csv = m_dir / "rozdíly.csv";
    SaveFilePicker::QueueFile(QString::fromStdString(csv));
    Window()->findChild<QAction*>(QStringLiteral("actSaveCompareCsv"))->trigger();
    ASSERT_EQ(SaveFilePicker::Asked().size(), 1u);
    EXPECT_EQ(SaveFilePicker::Asked()[0].suggestedName, "Porovnání Originál a Záloha.csv");
    EXPECT_EQ(
        ReadFile(csv),
        "Změna,Cesta,Velikost v bajtech 1,Datum 1,Čas 1,Velikost v bajtech 2,Datum 2,Čas 2\r\n"
        "Jen ve druhém,写真\\,,,,0,2021.7.7,7:7:6\r\n"
        "Změněno,Fotky z Brna\\Petrov ráno.jpg,4000,2023.9.2,6:45:10,6000,2023.9.2,6:45:10\r\n");
}

TEST_F(CompareWindowTest, TheMenuOffersGoingToEitherListOnlyWithARowSelected) {
    CompareThroughMenu("Originál", "Záloha.sez");
    auto offered = [this](const char* action) {
        return OfferedByRightClick(Differences(), *Window(), "pmCompare", action);
    };
    EXPECT_FALSE(offered("actGoToFirst"));
    EXPECT_FALSE(offered("actGoToSecond"));
    EXPECT_TRUE(offered("actSaveCompareCsv"));
    SelectRow(1); // only in the second list: its folder may still be in the first
    EXPECT_TRUE(offered("actGoToFirst"));
    EXPECT_TRUE(offered("actGoToSecond"));
}

TEST_F(CompareWindowTest, AListComparedWithItsCopyIsTheSameAndACancelShowsNothing) {
    CompareThroughMenu("Originál", "");
    EXPECT_EQ(Window(), nullptr);
    WriteFile(ListPath("Kopie.sez"), ReadFile(ListPath("Originál.sez")));
    m_window->RefreshLists();
    Tree().SelectNode(Node({"Neurčeno (3)", "Kopie"}));
    ListChooser::QueueList(ListPath("Originál.sez"));
    emit Tree().customContextMenuRequested(QPoint(5, 5));
    m_window->findChild<QAction*>(QStringLiteral("actCompareList"))->trigger();
    m_window->findChild<QMenu*>(QStringLiteral("pmGroup"))->hide();
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(Status(2), "Seznamy obsahují stejné položky.");
}

TEST_F(CompareWindowTest, AListGoneSinceTheTreeWasBuiltIsReportedAndNothingShown) {
    std::filesystem::remove(FsPath(ListPath("Záloha.sez")));
    CompareThroughMenu("Originál", "Záloha.sez");
    EXPECT_EQ(Window(), nullptr);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_TRUE(Dialogs::Shown()[0].text.startsWith("Cannot open file"))
        << Dialogs::Shown()[0].text.toStdString();
    EXPECT_EQ(TreeStatus().Text(0), "Počet seznamů: 2") << "the count is back after the work";
}

TEST_F(CompareWindowTest, ComparingIsOfferedOnListNodesOnly) {
    QAction* compare = m_window->findChild<QAction*>(QStringLiteral("actCompareList"));
    for (const QStringList& path :
         {QStringList{"Neurčeno (2)"}, QStringList{"Neurčeno (2)", "Záloha"},
          QStringList{"Neurčeno (2)", "Záloha", "写真"}}) {
        Tree().SelectNode(Node(path));
        emit Tree().customContextMenuRequested(QPoint(5, 5));
        EXPECT_EQ(compare->isEnabled(), path.size() == 2) << path.join('/').toStdString();
        m_window->findChild<QMenu*>(QStringLiteral("pmGroup"))->hide();
    }
}

TEST_F(CompareWindowTest, TheChooserOffersTheOtherListsUnderTheirGroups) {
    ListRegistry registry;
    for (const auto& [name, group] : std::vector<std::pair<std::string, int>>{
             {"Hry 1.sez", 2}, {"Filmy.sez", 3}, {"Hry 2.sez", 2}, {"Фото.sez", 4}})
        RegisterList(registry, name, m_dir / name, group);
    ImageList pictures(QSize(16, 16));
    ListChooser chooser(registry, 0, pictures);
    TreeGrid& tree = chooser.Tree();
    auto caption = [&tree](NodeId node) {
        return Caption(tree, node);
    };
    ASSERT_EQ(tree.ChildCount(kNoNode), 7);
    EXPECT_EQ(caption(tree.ChildAt(kNoNode, 0)), "Gamesy");
    ASSERT_EQ(tree.ChildCount(tree.ChildAt(kNoNode, 0)), 1); // "Hry 1" itself is not offered
    EXPECT_EQ(caption(tree.ChildAt(tree.ChildAt(kNoNode, 0), 0)), "Hry 2");
    EXPECT_EQ(caption(tree.ChildAt(tree.ChildAt(kNoNode, 2), 0)), "Фото");
    QPushButton* ok = chooser.findChild<QPushButton*>(QStringLiteral("btnOk"));
    EXPECT_FALSE(ok->isEnabled());
    tree.SelectNode(tree.ChildAt(kNoNode, 0)); // a group is no list
    EXPECT_FALSE(ok->isEnabled());
    tree.SelectNode(tree.ChildAt(tree.ChildAt(kNoNode, 2), 0));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(chooser.Selected(), std::optional<size_t>(3));
}

// Two discs with nothing in common: more differences than a table sorts at once.
class CompareWindowLargeTest : public CompareWindowTest {
protected:
    static constexpr int kFiles = 60000;
    void SetUp() override {
        UiFixture::SetUp();
        SaveFilePicker::StartScript();
        ListChooser::StartScript();
        std::vector<std::string> first{"E:\\\t0", "Dokumenty\\\t0\t2024.1.1\t8:0.0"};
        std::vector<std::string> second{"F:\\\t0", "Фото\\\t0\t2024.1.1\t8:0.0"};
        for (int i = 0; i < kFiles; ++i) {
            first.push_back("Übersicht Kapitel " + std::to_string(i) + ".pdf\t" +
                            std::to_string(100 + i) + "\t2024.3.1\t8:0.0");
            second.push_back("写真 " + std::to_string(i) + ".png\t" + std::to_string(100 + i) +
                             "\t2024.3.1\t8.0.0");
        }
        AddList("Originál.sez", first);
        AddList("Jiný.sez", second);
        Start();
    }
};

// The differences of two large lists are sorted by kind on a worker, its progress in the
// status bar, and the rows come out in the lists' order within each kind.
TEST_F(CompareWindowLargeTest, ManyDifferencesSortOnAWorkerWithProgress) {
    bool sortRan = false;
    QStringList progress;
    QTimer look;
    look.setInterval(3);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (Window() == nullptr || !Differences().SortRunning())
            return;
        sortRan = true;
        progress.append(Status(2));
    });
    look.start();
    CompareThroughMenu("Originál", "Jiný.sez");
    look.stop();
    ASSERT_NE(Window(), nullptr);
    const int rows = 2 * (kFiles + 1);
    ASSERT_GT(static_cast<size_t>(rows), FileTable::kRowsSortedAtOnce);
    EXPECT_TRUE(sortRan);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(progress.first().startsWith("Řazení: ")) << progress.first().toStdString();
    EXPECT_EQ(Status(2), QStringLiteral("Zobrazeno rozdílů: %1 z %1").arg(rows));
    auto& grid = Differences();
    ASSERT_EQ(grid.ChildCount(kNoNode), rows);
    const QStringList shown = UiFixture::Rows(grid);
    auto row = [&shown](int place) {
        return shown.at(place);
    };
    EXPECT_EQ(row(0), "Jen v prvním|Dokumenty\\|0 B|2024.1.1|8:0:0|||");
    EXPECT_EQ(row(1), "Jen v prvním|Dokumenty\\Übersicht Kapitel 0.pdf|100 B|2024.3.1|8:0:0|||");
    EXPECT_EQ(row(kFiles + 1), "Jen ve druhém|Фото\\||||0 B|2024.1.1|8:0:0");
    EXPECT_EQ(row(rows - 1), "Jen ve druhém|Фото\\写真 59999.png||||60099 B|2024.3.1|8:0:0");
}

} // namespace
} // namespace vyp::test
