#include "UiFixture.h"

#include "util/Encoding.h"

#include <QAbstractItemModelTester>

namespace vyp::test {
namespace {

// Every node's row, as views ask for it through its index, is where its parent lists it.
void ExpectRowsMatchChildren(TreeGrid& grid) {
    for (NodeId node = 0; node < static_cast<NodeId>(grid.NodeCount()); ++node) {
        const NodeId parent = grid.Model().Parent(node);
        const int row = grid.Model().IndexOf(node).row();
        EXPECT_EQ(grid.ChildAt(parent, row), node) << "node " << node;
    }
}

TEST(TreeGrid, RowsAndPayloadsStayRightBeforeAndAfterASort) {
    TreeGrid grid;
    grid.SetColumns({{"Název", 100, Qt::AlignLeft}});
    const std::vector<int> keys = {0, 0, 1, 3, 4, 1, 2, 9, 0};
    grid.OnCompareNodes() = [&](NodeId x, NodeId y, int) {
        return keys[static_cast<size_t>(x)] - keys[static_cast<size_t>(y)];
    };
    QAbstractItemModelTester tester(&grid.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.BeginUpdate();
    const NodeId a = grid.AddChild(kNoNode);
    const NodeId b = grid.AddChild(kNoNode);
    for (int i = 0; i < 5; ++i) // children of a and b interleaved
        grid.AddChild(i % 2 == 0 ? a : b);
    grid.EndUpdate();
    ExpectRowsMatchChildren(grid);
    EXPECT_EQ(grid.Model().IndexOf(6).row(), 2); // a's third child
    EXPECT_EQ(grid.Payload(4), 4u);

    // A payload of its own: the nodes before keep theirs.
    const NodeId c = grid.AddChild(b, 4242);
    EXPECT_EQ(grid.Payload(c), 4242u);
    for (NodeId node = 0; node < c; ++node)
        EXPECT_EQ(grid.Payload(node), static_cast<uint64_t>(node));

    grid.SortTree(0, Qt::DescendingOrder);
    EXPECT_EQ(grid.ChildAt(a, 0), 4);
    EXPECT_EQ(grid.ChildAt(b, 0), c);
    ExpectRowsMatchChildren(grid);
    grid.AddChild(a, 77); // children in the order they were added again
    ExpectRowsMatchChildren(grid);
    EXPECT_EQ(grid.ChildAt(a, 3), 8);
    EXPECT_EQ(grid.Payload(8), 77u);
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
