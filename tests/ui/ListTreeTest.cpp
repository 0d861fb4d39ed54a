#include "UiFixture.h"

#include "lists/DisplayFormat.h"
#include "util/Encoding.h"

#include <QProgressBar>
#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>

namespace vyp::test {
namespace {

class ListTree : public UiFixture {};

TEST_F(ListTree, ListsStandUnderTheirGroupsInRegistryOrder) {
    AddList("b.sez", {"E:\\\t0"});
    AddList("a.sez", {"E:\\\t5", "Games\\\t5\t2004.1.15\t9:30.0", "x\t5\t1\t1",
                      "Games\\Old\\\t0\t2003.5.1\t0:0.0", "Music\\\t0\t2004.2.29\t18:45.10"});
    AddList("c.sez", {"E:\\\t0"});
    AddList("X.SEZ", {"E:\\\t0"});
    AddList("a.sez.sez", {"E:\\\t0"});
    WriteSettings("[Seznamy]\r\nb.sez=3\r\na.sez=3\r\nX.SEZ=12\r\na.sez.sez=2\r\n");
    Start();
    EXPECT_EQ(Children(kNoNode), (QStringList{"Gamesy (1)", "Filmy (2)", "Obrázky (0)", "Hudba (0)",
                                              "Programy (0)", "Ostatní (0)", "Neurčeno (2)"}));
    EXPECT_EQ(Children(Node({"Gamesy (1)"})), QStringList{"a.sez"});
    EXPECT_EQ(Children(Node({"Filmy (2)"})), (QStringList{"a", "b"}));
    EXPECT_EQ(Children(Node({"Neurčeno (2)"})), (QStringList{"c", "X.SEZ"}));
    EXPECT_EQ(Children(Node({"Filmy (2)", "a"})), (QStringList{"Games", "Music"}));
    EXPECT_EQ(Children(Node({"Filmy (2)", "a", "Games"})), QStringList{"Old"});
    EXPECT_EQ(TreeStatus().Text(0), "Počet seznamů: 5");
    // After the build the first group is selected and described.
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
    EXPECT_EQ(TreeStatus().Text(1), "Velikost: 0,00 MB");
    EXPECT_EQ(TreeStatus().Text(2), "Datum: ");
    EXPECT_EQ(TreeStatus().Text(3), "Čas: ");
    // Every node shows its picture: groups by id, lists 1, folders 0.
    EXPECT_EQ(Tree().OnGetImageIndex()(Node({"Filmy (2)"}), 0), 3);
    EXPECT_EQ(Tree().OnGetImageIndex()(Node({"Filmy (2)", "a"}), 0), 1);
    EXPECT_EQ(Tree().OnGetImageIndex()(Node({"Filmy (2)", "a", "Games"}), 0), 0);
}

TEST_F(ListTree, StatusTextsOfListAndFolderNodes) {
    AddList("big.sez", {"E:\\\t1047527424", "Games\\\t1047527425\t2004.1.15\t9:30.0"});
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "big"}));
    EXPECT_EQ(TreeStatus().Text(1), "Velikost: 999,00 MB");
    struct stat st {};
    ::stat(ListPath("big.sez").c_str(), &st);
    const LocalDateTime when = ToLocalDateTime(st.st_mtime);
    EXPECT_EQ(TreeStatus().Text(2).toStdString(),
              "Datum: " + FormatListDate(when, RegionalSettings::Czech()));
    EXPECT_EQ(TreeStatus().Text(3).toStdString(),
              "Čas: " + FormatListTime(when, RegionalSettings::Czech()));
    Tree().SelectNode(Node({"Neurčeno (1)", "big", "Games"}));
    EXPECT_EQ(TreeStatus().Text(1), "Velikost: 0,98 GB");
    EXPECT_EQ(TreeStatus().Text(2), "Datum: 2004.1.15");
    EXPECT_EQ(TreeStatus().Text(3), "Čas: 9:30:0");
}

TEST_F(ListTree, DamagedAndUnreadableListsKeepTheOthers) {
    AddList("a.sez", {"E:\\\t1", "Deep\\Missing\\\t1\t1\t1", "Ok\\\t0\t1\t1"});
    ::symlink("nowhere", ListPath("b.sez").c_str()); // registered, but cannot be read
    AddList("c.sez", {"E:\\\t0", "Last\\\t0\t1\t1"});
    AddList("d.sez", {});
    Start();
    EXPECT_EQ(Children(Node({"Neurčeno (4)"})), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(Children(Node({"Neurčeno (4)", "a"})), (QStringList{"Missing", "Ok"}));
    EXPECT_TRUE(Children(Node({"Neurčeno (4)", "b"})).isEmpty());
    EXPECT_EQ(Children(Node({"Neurčeno (4)", "c"})), QStringList{"Last"});
    EXPECT_FALSE(m_process->isVisible());
}

TEST_F(ListTree, GroupNodeLeavesTheFileTableAlone) {
    AddList("a.sez", {"E:\\\t3", "one.txt\t1\t2004.1.1\t1:1.2", "two.txt\t2\t2004.1.1\t1:1.2"});
    Start();
    Tree().SelectNode(Node({"Neurčeno (1)", "a"}));
    ASSERT_EQ(Table().size(), 2);
    Tree().SelectNode(Node({"Filmy (0)"}));
    EXPECT_EQ(Table().size(), 2);
    EXPECT_EQ(ViewStatus().Text(0), "Počet souborů: 2");
}

TEST_F(ListTree, SizeThatIsNoNumberReachesTheErrorReport) {
    AddList("a.sez", {"E:\\\t3", "Bad\\\tx12\t2004.1.1\t1:1.2"});
    Start();
    const QString before = TreeStatus().Text(1);
    Tree().SelectNode(Node({"Neurčeno (1)", "a", "Bad"}));
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
    EXPECT_EQ(Dialogs::Shown()[0].text, "'x12' is not a valid integer value.");
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(Dialogs::Shown()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(TreeStatus().Text(1), before);
}

TEST_F(ListTree, ProgressWindowCountsTheListsAndARefreshMeanwhileWaits) {
    for (const char* name : {"a.sez", "b.sez", "c.sez"})
        AddList(name, {"E:\\\t0"});
    std::vector<std::pair<int, int>> steps; // position, maximum
    std::vector<bool> visible;
    std::vector<bool> treeShown; // the finished tree is in the view
    bool refreshAsked = false;
    Start();
    QProgressBar* bar = m_process->ProgressBarFile();
    // A step per list and one for handing the tree to the view: full only when all is done.
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 4);
    EXPECT_FALSE(m_process->isVisible());
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        steps.emplace_back(value, bar->maximum());
        visible.push_back(m_process->isVisible());
        treeShown.push_back(Tree().updatesEnabled());
        if (!refreshAsked) { // the build lets events run: a second refresh must wait for it
            refreshAsked = true;
            m_window->findChild<QToolButton*>("btnRefresh")->click();
        }
    });
    m_window->findChild<QToolButton*>("btnRefresh")->click();
    EXPECT_EQ(steps,
              (std::vector<std::pair<int, int>>{
                  {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(visible, std::vector<bool>(10, true));
    EXPECT_EQ(treeShown, (std::vector<bool>{false, false, false, false, true, false, false, false,
                                            false, true}));
    EXPECT_FALSE(m_process->isVisible());
    EXPECT_EQ(Children(Node({"Neurčeno (3)"})), (QStringList{"a", "b", "c"}));
}

TEST_F(ListTree, EmptyRegistryStillShowsAndHidesTheProgressWindow) {
    Start();
    EXPECT_EQ(m_process->ProgressBarFile()->maximum(), 1);
    EXPECT_EQ(m_process->ProgressBarFile()->value(), 1);
    EXPECT_FALSE(m_process->isVisible());
    EXPECT_EQ(Children(kNoNode), kEmptyGroups);
}

// Records, in order, the first paint of the list tree and the showing of the progress window.
class StartUpOrder : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && event->type() == QEvent::Paint && widget->parentWidget() &&
            widget->parentWidget()->objectName() == "VSTTree" && !order.contains("tree"))
            order.append("tree");
        if (qobject_cast<TfProcess*>(watched) != nullptr && event->type() == QEvent::Show)
            order.append("progress");
        return false;
    }
    QStringList order;
};

TEST_F(ListTree, TheWindowIsPaintedBeforeTheBuildStarts) {
    AddList("Fotky 2004.sez", {"E:\\\t0", "Léto\\\t0\t1\t1"});
    StartUpOrder order;
    qApp->installEventFilter(&order);
    Start();
    qApp->removeEventFilter(&order);
    EXPECT_TRUE(order.order.join(',').startsWith("tree,progress"))
        << order.order.join(',').toStdString();
}

TEST_F(ListTree, ListWhoseFileNameIsNotUtf8ShowsItsFilesAndItsName) {
    const std::string name = "Z\xe1loha \x9akoly.sez"; // "Záloha školy" in Windows-1250
    AddList(name, {"E:\\\t3", "\xfa\xe8"
                              "et.txt\t3\t2004.1.15\t9:29.58"});
    Start();
    const NodeId list = Node({"Neurčeno (1)", "Záloha školy"});
    ASSERT_NE(list, kNoNode);
    Tree().SelectNode(list);
    EXPECT_EQ(Table(), QStringList{"účet.txt|0,00 MB|3 B|2004.1.15|9:29:58"});
    EXPECT_TRUE(Dialogs::Shown().empty());
}

class ListTreeNodes : public UiFixture {};

// Lists in two groups, registry order not group order, one in Windows-1250: every folder node
// shows its own list's folder, its size, date and time.
TEST_F(ListTreeNodes, FoldersOfListsInBothEncodingsShowTheirOwnFiles) {
    AddList("Fotky.sez",
            {"E:\\\t30", "Dovolená u moře\\\t10\t2019.8.1\t10:5.2",
             "moře 1.JPG\t10\t2019.8.1\t10:5.2", "Dovolená u moře\\Noël\\\t20\t2019.12.24\t18:0.0",
             "Noël.avi\t20\t2019.12.24\t18:0.0"});
    std::string skola;
    ASSERT_TRUE(FromUtf8("E:\\\t5\r\n"
                         "Úkoly\\\t5\tzáří 2004\t9:30.0\r\n"
                         "Úkoly\\Přehled účtů\\\t5\t2004.9.1\t7:45.30\r\n"
                         "účty.xls\t5\t2004.9.1\t7:45.30\r\n",
                         TextEncoding::Windows1250, skola));
    WriteFile(ListPath("Skola.sez"), skola);
    AddList("Zbytek.sez", {"E:\\\t0"});
    WriteSettings("[Seznamy]\r\nSkola.sez=2\r\n");
    Start();

    Tree().SelectNode(Node({"Gamesy (1)", "Skola", "Úkoly", "Přehled účtů"}));
    EXPECT_EQ(Table(), QStringList{"účty.xls|0,00 MB|5 B|2004.9.1|7:45:30"});
    EXPECT_EQ(TreeStatus().Text(2), "Datum: 2004.9.1");
    EXPECT_EQ(TreeStatus().Text(3), "Čas: 7:45:30");
    Tree().SelectNode(Node({"Gamesy (1)", "Skola", "Úkoly"}));
    EXPECT_TRUE(Table().isEmpty());
    EXPECT_EQ(TreeStatus().Text(2), "Datum: září 2004");

    Tree().SelectNode(Node({"Neurčeno (2)", "Fotky", "Dovolená u moře", "Noël"}));
    EXPECT_EQ(Table(), QStringList{"Noël.avi|0,00 MB|20 B|2019.12.24|18:0:0"});
    EXPECT_EQ(TreeStatus().Text(3), "Čas: 18:0:0");
    Tree().SelectNode(Node({"Neurčeno (2)", "Fotky", "Dovolená u moře"}));
    EXPECT_EQ(Table(), QStringList{"moře 1.JPG|0,00 MB|10 B|2019.8.1|10:5:2"});
    EXPECT_TRUE(Children(Node({"Neurčeno (2)", "Zbytek"})).isEmpty());
    EXPECT_TRUE(Dialogs::Shown().empty());
}

} // namespace
} // namespace vyp::test
