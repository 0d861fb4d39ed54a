#include "UiFixture.h"

#include "ui/common/ErrorReport.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace vyp::test {
namespace {

TEST(TreeGrid, ModelPassesQtsCheckerAndKeepsTreeOrder) {
    TreeGrid grid;
    grid.SetColumns({{"A", 50, Qt::AlignLeft}, {"B", 20000, Qt::AlignRight}});
    EXPECT_EQ(grid.ColumnWidth(1), TreeGrid::kMaxColumnWidth);
    grid.SetColumnWidth(0, 3);
    EXPECT_EQ(grid.ColumnWidth(0), TreeGrid::kMinColumnWidth);
    grid.OnGetText() = [](NodeId node, int column) {
        return QString("%1/%2").arg(node).arg(column);
    };
    QAbstractItemModelTester tester(&grid.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.BeginUpdate();
    const NodeId a = grid.AddChild(kNoNode, 10);
    const NodeId b = grid.AddChild(kNoNode, 20);
    const NodeId a1 = grid.AddChild(a, 11);
    const NodeId a2 = grid.AddChild(a, 12);
    const NodeId a21 = grid.AddChild(a2, 121);
    grid.EndUpdate();
    EXPECT_EQ(grid.Payload(a21), 121u);
    EXPECT_EQ(grid.FirstNode(), a);
    EXPECT_EQ(grid.LastNode(), b);
    EXPECT_EQ(grid.PreviousNode(b), a21);
    EXPECT_EQ(grid.PreviousNode(a21), a2);
    EXPECT_EQ(grid.PreviousNode(a2), a1);
    EXPECT_EQ(grid.PreviousNode(a1), a);
    EXPECT_EQ(grid.PreviousNode(a), kNoNode);
    grid.Clear();
    EXPECT_EQ(grid.NodeCount(), 0u);
}

TEST(TreeGrid, StableSortInBothDirectionsAndOneChangeReportPerBracket) {
    TreeGrid grid;
    grid.SetColumns({{"Key", 50, Qt::AlignLeft}});
    const std::vector<int> keys = {2, 1, 2, 1, 3};
    grid.OnCompareNodes() = [&](NodeId x, NodeId y, int) {
        return keys[static_cast<size_t>(x)] - keys[static_cast<size_t>(y)];
    };
    std::vector<NodeId> changes;
    QObject::connect(&grid, &TreeGrid::SelectionChanged,
                     [&](NodeId node) { changes.push_back(node); });
    grid.BeginUpdate();
    for (size_t i = 0; i < keys.size(); ++i)
        grid.AddChild(kNoNode, i);
    grid.SelectNode(1);
    grid.SelectNode(3);
    grid.EndUpdate();
    EXPECT_EQ(changes, std::vector<NodeId>{3});
    auto order = [&] {
        std::vector<NodeId> nodes;
        for (int row = 0; row < grid.ChildCount(kNoNode); ++row)
            nodes.push_back(grid.ChildAt(kNoNode, row));
        return nodes;
    };
    grid.SortTree(0, Qt::AscendingOrder);
    EXPECT_EQ(order(), (std::vector<NodeId>{1, 3, 0, 2, 4}));
    grid.SortTree(0, Qt::DescendingOrder);
    EXPECT_EQ(order(), (std::vector<NodeId>{4, 0, 2, 1, 3})); // equal keys keep their order
    EXPECT_EQ(grid.SelectedNode(), 3);
}

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

TEST(ErrorReport, AddsAFullStopAfterCharactersBeyondIt) {
    EXPECT_EQ(ErrorReportText("'x' is not a valid integer value"),
              "'x' is not a valid integer value.");
    EXPECT_EQ(ErrorReportText("List index out of bounds (7)"), "List index out of bounds (7)");
    EXPECT_EQ(ErrorReportText("Cannot open file \"a\". No such file or directory"),
              "Cannot open file \"a\". No such file or directory.");
    EXPECT_EQ(ErrorReportText("done."), "done.");
    EXPECT_EQ(ErrorReportText("ends with 7"), "ends with 7.");
}

TEST(ErrorReport, ExceptionLeavingAHandlerIsShownNotPropagated) {
    Dialogs::StartScript();
    QObject receiver;
    QObject::connect(&receiver, &QObject::objectNameChanged,
                     [] { throw std::runtime_error("broken"); });
    QTimer::singleShot(0, [&] { receiver.setObjectName("x"); });
    QApplication::processEvents();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "broken.");
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
}

// The animation of the progress window, read back from the resources byte by byte.
TEST(ProgressWindow, AnimationIsTheSawingWorkerGif) {
    QFile file(":/vypisnik/saw.gif");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray gif = file.readAll();
    auto u16 = [&](qsizetype at) {
        return static_cast<int>(static_cast<uint8_t>(gif[at]) |
                                (static_cast<uint8_t>(gif[at + 1]) << 8));
    };
    ASSERT_EQ(gif.left(6), "GIF89a");
    EXPECT_EQ(u16(6), 93);
    EXPECT_EQ(u16(8), 107);
    const auto flags = static_cast<uint8_t>(gif[10]);
    ASSERT_TRUE(flags & 0x80);
    EXPECT_EQ(2 << (flags & 7), 16); // a global table of 16 colours
    qsizetype at = 13 + 16 * 3;
    int frames = 0, loops = -1;
    while (at < gif.size() && static_cast<uint8_t>(gif[at]) != 0x3B) {
        const auto block = static_cast<uint8_t>(gif[at]);
        if (block == 0x21) {
            const auto label = static_cast<uint8_t>(gif[at + 1]);
            if (label == 0xF9) {
                const auto packed = static_cast<uint8_t>(gif[at + 3]);
                EXPECT_EQ((packed >> 2) & 7, 2);                  // restore to background
                EXPECT_TRUE(packed & 1);                          // with a transparent colour ...
                EXPECT_EQ(static_cast<uint8_t>(gif[at + 6]), 15); // ... index 15
                EXPECT_EQ(u16(at + 4), 8);                        // 80 ms
            } else if (label == 0xFF && gif.mid(at + 3, 11) == "NETSCAPE2.0") {
                loops = u16(at + 16);
            }
            at += 2;
        } else {
            ASSERT_EQ(block, 0x2C);
            ++frames;
            EXPECT_EQ(u16(at + 1), 0);
            EXPECT_EQ(u16(at + 3), 0);
            EXPECT_EQ(u16(at + 5), 93);
            EXPECT_EQ(u16(at + 7), 107);
            at += 11; // the descriptor and the LZW code size
        }
        while (static_cast<uint8_t>(gif[at]) != 0) // data sub-blocks
            at += static_cast<uint8_t>(gif[at]) + 1;
        ++at;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(loops, 0);
}

TEST(ProgressWindow, BorderlessOnTopCentredWithItsTexts) {
    TfProcess window;
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.size(), QSize(303, 154));
    window.show();
    QApplication::processEvents();
    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.x(), (screen.width() - 303) / 2);
    EXPECT_EQ(window.y(), (screen.height() - 154) / 2);
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(), "Čekejte prosím...");
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(), "...dělám co můžu...");
    EXPECT_TRUE(window.findChild<QLabel*>("Label1")->font().bold());
    EXPECT_EQ(window.Animation()->state(), QMovie::Running);
    EXPECT_EQ(window.ProgressBarFile()->maximum(), 100);
    // See-through where the face colour shows: the mask leaves out a corner of plain face.
    EXPECT_FALSE(window.mask().contains(QPoint(100, 10)));
    EXPECT_TRUE(window.mask().contains(QPoint(50, 135))); // the progress bar
    window.hide();
    EXPECT_NE(window.Animation()->state(), QMovie::Running);
}

} // namespace
} // namespace vyp::test
