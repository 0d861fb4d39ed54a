// The flat table on its own, shown: what a user does with its rows by keys and mouse, its
// selection through sorts and new fills, and that it asks only for the rows in sight.
#include "TestSupport.h"

#include "ui/common/FileTable.h"
#include "ui/common/TableActions.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

namespace vyp::test {
namespace {

// Files of a disk, named in several scripts, each with a number that gives the name order.
struct DiskRows final : FileTableRows {
    std::vector<std::string> names;
    mutable long textsAsked = 0;

    void Fill(size_t count) {
        static const char* const kStems[] = {"Žluťoučký kůň", "Größe", "été à Lyon",
                                             "Москва",        "東京",  "Crème brûlée"};
        names.clear();
        for (size_t i = 0; i < count; ++i) {
            std::string number = std::to_string(100000 + i); // same width: sorts as a number
            names.push_back("Soubor " + number + " " + kStems[i % 6] + ".tar.gz");
        }
    }
    size_t RowCount() const override { return names.size(); }
    QString CellText(size_t row, int column) const override {
        ++textsAsked;
        return column == 0 ? QString::fromStdString(names[row]) : QString::number(row);
    }
    int CellImage(size_t, int) const override { return -1; }
    std::string_view SortName(size_t row, int) const override { return names[row]; }
    std::optional<int64_t> SortSize(size_t row, int) const override {
        return static_cast<int64_t>(row);
    }
    void AppendCsvHeader(std::string& out) const override { out += "Soubor\r\n"; }
    void AppendCsvRow(size_t row, std::string& out) const override { out += names[row] + "\r\n"; }
};

class FlatTable : public ::testing::Test {
protected:
    FlatTable() : table(QLocale(QLocale::Czech, QLocale::CzechRepublic)) {
        table.SetFileColumns({{{"Soubor", 250, Qt::AlignLeft}, FileTableSort::Name},
                              {{"Velikost", 80, Qt::AlignRight}, FileTableSort::Size},
                              {{"Datum", 70, Qt::AlignLeft}, FileTableSort::None}});
        table.resize(500, 300);
        table.show();
        table.activateWindow();
        table.setFocus();
        QApplication::processEvents();
    }
    void Fill(size_t count) {
        rows.Fill(count);
        table.Show(&rows);
        QApplication::processEvents();
    }
    // The place the selected row is shown at, or -1.
    int SelectedPlace() {
        const NodeId node = table.SelectedNode();
        return node == kNoNode ? -1 : table.Model().IndexOf(node).row();
    }
    bool InSight(NodeId node) {
        const QRect rect = table.visualRect(table.Model().IndexOf(node));
        return !rect.isEmpty() && table.viewport()->rect().contains(rect);
    }
    void Key(Qt::Key key) { QTest::keyClick(&table, key); }
    void ClickHeader(int column) {
        QHeaderView* header = table.header();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    QPoint RowCentre(int place) { return table.visualRect(table.Model().index(place, 0)).center(); }

    FileTable table;
    DiskRows rows;
};

TEST_F(FlatTable, KeysMoveTheSelectionByRowsPagesAndEnds) {
    Fill(500);
    const int sight = table.viewport()->height() / table.RowHeight();
    ASSERT_GE(sight, 5);
    Key(Qt::Key_Down); // the first key lands on the first row
    EXPECT_EQ(SelectedPlace(), 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(SelectedPlace(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(SelectedPlace(), 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(SelectedPlace(), 1 + sight);
    EXPECT_TRUE(InSight(table.SelectedNode()));
    Key(Qt::Key_End);
    EXPECT_EQ(SelectedPlace(), 499);
    EXPECT_TRUE(InSight(table.SelectedNode()));
    EXPECT_EQ(table.verticalScrollBar()->value(), table.verticalScrollBar()->maximum());
    Key(Qt::Key_Down); // nothing below the last row
    EXPECT_EQ(SelectedPlace(), 499);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(SelectedPlace(), 499 - sight);
    Key(Qt::Key_Home);
    EXPECT_EQ(SelectedPlace(), 0);
    EXPECT_EQ(table.verticalScrollBar()->value(), 0);
    Key(Qt::Key_Up);
    EXPECT_EQ(SelectedPlace(), 0);
}

TEST_F(FlatTable, TypingANamesBeginningSelectsIt) {
    Fill(40);
    QTest::keyClicks(&table, QStringLiteral("Soubor 100017"));
    EXPECT_EQ(table.SelectedNode(), 17);
}

TEST_F(FlatTable, SelectionChangesAreReportedOncePerMove) {
    Fill(20);
    std::vector<NodeId> changes;
    QObject::connect(&table, &FlatGrid::SelectionChanged, &table,
                     [&changes](NodeId node) { changes.push_back(node); });
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    EXPECT_EQ(changes, (std::vector<NodeId>{0, 19}));
    table.BeginUpdate();
    table.SelectNode(3);
    table.SelectNode(4);
    EXPECT_EQ(table.SelectedNode(), 4);
    table.EndUpdate();
    EXPECT_EQ(changes, (std::vector<NodeId>{0, 19, 4}));
    EXPECT_EQ(SelectedPlace(), 4);
}

TEST_F(FlatTable, TheSelectedRowStaysSelectedAndInSightAcrossSorts) {
    Fill(300);
    table.SelectNode(7);
    ClickHeader(0); // descending: row 7 is now near the end
    EXPECT_EQ(table.SortDirection(), Qt::DescendingOrder);
    EXPECT_EQ(table.SelectedNode(), 7);
    EXPECT_EQ(SelectedPlace(), 292);
    EXPECT_TRUE(InSight(7));
    EXPECT_EQ(table.ChildAt(kNoNode, 0), 299);
    Key(Qt::Key_Down); // the keys go on from where the row is shown now
    EXPECT_EQ(table.SelectedNode(), 6);
    ClickHeader(2); // "Datum" is not sorted by: the order and the selection stay
    EXPECT_EQ(table.ChildAt(kNoNode, 0), 299);
    EXPECT_EQ(table.SelectedNode(), 6);
    ClickHeader(1); // sizes, ascending: the rows' own order
    EXPECT_EQ(table.ChildAt(kNoNode, 0), 0);
    EXPECT_EQ(SelectedPlace(), 6);
}

TEST_F(FlatTable, SelectingARowScrollsToIt) {
    Fill(1000);
    table.SelectNode(640);
    EXPECT_TRUE(InSight(640));
    EXPECT_GT(table.verticalScrollBar()->value(), 0);
    table.SelectNode(3);
    EXPECT_TRUE(InSight(3));
    table.SelectNode(kNoNode);
    EXPECT_EQ(table.SelectedNode(), kNoNode);
}

TEST_F(FlatTable, ClicksSelectTheRowUnderThePointerAndOpenIt) {
    Fill(50);
    int opened = 0;
    TableActions::OnOpen(table, [&opened] { ++opened; });
    QSignalSpy menus(&table, &QWidget::customContextMenuRequested);
    table.setContextMenuPolicy(Qt::CustomContextMenu);

    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(4));
    EXPECT_EQ(SelectedPlace(), 4);
    QTest::mouseClick(table.viewport(), Qt::RightButton, Qt::NoModifier, RowCentre(9));
    EXPECT_EQ(SelectedPlace(), 4) << "a right click opens the menu, it does not select";
    EXPECT_GE(menus.size(), 1);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(6));
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(6));
    EXPECT_EQ(SelectedPlace(), 6);
    EXPECT_EQ(opened, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(opened, 2);
}

TEST_F(FlatTable, AnEmptyTableTakesKeysClicksAndPaintsWithoutARow) {
    table.Show(nullptr);
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(table.SelectedNode(), kNoNode);
    EXPECT_EQ(table.FirstNode(), kNoNode);
    EXPECT_EQ(table.ChildAt(kNoNode, 0), kNoNode);
    EXPECT_EQ(table.verticalScrollBar()->maximum(), 0);
    EXPECT_FALSE(table.grab().isNull());
    Fill(0);
    ClickHeader(0);
    EXPECT_EQ(table.NodeCount(), 0u);
    EXPECT_EQ(rows.textsAsked, 0);
}

TEST_F(FlatTable, ATableThatShrinksUnderTheSelectionStartsAfresh) {
    Fill(400);
    table.SelectNode(390);
    ASSERT_GT(table.verticalScrollBar()->value(), 0);
    Fill(3);
    EXPECT_EQ(table.SelectedNode(), kNoNode);
    EXPECT_EQ(table.verticalScrollBar()->value(), 0);
    EXPECT_EQ(table.verticalScrollBar()->maximum(), 0);
    rows.textsAsked = 0;
    EXPECT_FALSE(table.grab().isNull());
    EXPECT_LE(rows.textsAsked, 3 * 3) << "the three rows painted, no row of the old fill";
    // Below the last row there is none to select.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(20, RowCentre(2).y() + 3 * table.RowHeight()));
    EXPECT_EQ(table.SelectedNode(), kNoNode);
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    EXPECT_EQ(SelectedPlace(), 2);
    table.SelectNode(390); // a node of the old fill is none of the new
    EXPECT_EQ(table.SelectedNode(), kNoNode);
}

TEST_F(FlatTable, AMillionRowsCostNothingEachUntilSorted) {
    table.SetSortColumn(2, Qt::AscendingOrder); // "Datum": shown as they come
    Fill(1000000);
    EXPECT_TRUE(table.Model().Order().empty());
    rows.textsAsked = 0;
    table.verticalScrollBar()->setValue(500000);
    table.repaint();
    const long inSight = table.viewport()->height() / table.RowHeight() + 1;
    EXPECT_GT(rows.textsAsked, 0);
    EXPECT_LE(rows.textsAsked, inSight * 3 + 3) << "only the rows in sight are asked for";
    EXPECT_EQ(table.ChildAt(kNoNode, 500000), 500000);
    ClickHeader(1);
    ClickHeader(1); // largest first
    EXPECT_EQ(table.Model().Order().size(), 1000000u);
    EXPECT_EQ(table.ChildAt(kNoNode, 0), 999999);
}

TEST_F(FlatTable, TheHeaderScrollsSidewaysWithTheRows) {
    Fill(10);
    table.SetColumnWidth(0, 900);
    QApplication::processEvents();
    QScrollBar* across = table.horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    across->setValue(120);
    EXPECT_EQ(table.header()->offset(), 120);
    EXPECT_EQ(table.visualRect(table.Model().index(0, 1)).left(), 900 - 120);
    EXPECT_EQ(table.indexAt(QPoint(5, 5)).column(), 0);
    EXPECT_EQ(table.indexAt(QPoint(900 - 120 + 5, 5)).column(), 1);
}

TEST(FlatGridModelOrder, ItsIndexesHoldTheirNodesThroughEveryChange) {
    FlatGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetColumns({{"Soubor", 100, Qt::AlignLeft}, {"Velikost", 50, Qt::AlignRight}});
    model.textOf = [](NodeId node, int column) {
        return QStringLiteral("%1/%2").arg(node).arg(column);
    };
    model.SetCount(5);
    QPersistentModelIndex kept(model.index(1, 1));
    model.SetOrder({4, 3, 2, 1, 0});
    EXPECT_EQ(kept.row(), 3);
    EXPECT_EQ(kept.column(), 1);
    EXPECT_EQ(kept.data().toString(), "1/1");
    EXPECT_EQ(model.index(0, 0).data().toString(), "4/0");
    EXPECT_EQ(model.PlaceOf(4), 0);
    EXPECT_EQ(model.PlaceOf(5), -1);
    EXPECT_FALSE(model.index(5, 0).isValid());
    EXPECT_FALSE(model.IndexOf(kNoNode).isValid());
    model.SetCount(2); // a new fill: the old places are gone
    EXPECT_FALSE(kept.isValid());
    EXPECT_TRUE(model.Order().empty());
    EXPECT_EQ(model.index(1, 0).data().toString(), "1/0");
}

} // namespace
} // namespace vyp::test
