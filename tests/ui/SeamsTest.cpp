// The pieces the windows share, on their own: the file table over plain rows, each window's
// saved geometry, and the folder-picker and cursor seams.
#include "TestSupport.h"

#include "lists/SettingsFile.h"
#include "ui/common/CursorPosition.h"
#include "ui/common/FileTable.h"
#include "ui/common/FolderPicker.h"
#include "ui/common/WindowGeometry.h"

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QSplitter>
#include <QTest>

#include <optional>

namespace vyp::test {
namespace {

// Search results as the search window will hold them: list name, path, two size columns (one
// without a number on some rows), date and time.
struct ResultRows final : FileTableRows {
    struct Row {
        std::string list, path;
        std::optional<int64_t> size;
    };
    std::vector<Row> rows;
    mutable int namesAsked = 0;

    size_t RowCount() const override { return rows.size(); }
    QString CellText(size_t row, int column) const override {
        const Row& r = rows[row];
        switch (column) {
        case 0:
            return QString::fromStdString(r.list);
        case 1:
            return QString::fromStdString(r.path);
        case 2:
        case 3:
            return r.size ? QString::number(*r.size) : QString();
        default:
            return QStringLiteral("2004.1.15");
        }
    }
    int CellImage(size_t, int) const override { return -1; }
    std::string_view SortName(size_t row, int column) const override {
        ++namesAsked;
        return column == 0 ? rows[row].list : rows[row].path;
    }
    std::optional<int64_t> SortSize(size_t row, int) const override { return rows[row].size; }
    void AppendCsvHeader(std::string& out) const override { out += "Seznam,Cesta\r\n"; }
    void AppendCsvRow(size_t row, std::string& out) const override {
        out += rows[row].list + "," + rows[row].path + "\r\n";
    }
};

class SharedFileTable : public ::testing::Test {
protected:
    SharedFileTable() : table(QLocale(QLocale::Czech, QLocale::CzechRepublic)) {
        table.SetFileColumns({{{"Seznam", 100, Qt::AlignLeft}, FileTableSort::Name},
                              {{"Cesta", 200, Qt::AlignLeft}, FileTableSort::Name},
                              {{"Velikost", 70, Qt::AlignRight}, FileTableSort::Size},
                              {{"Přesná velikost", 90, Qt::AlignRight}, FileTableSort::Size},
                              {{"Datum", 60, Qt::AlignLeft}, FileTableSort::None},
                              {{"Čas", 60, Qt::AlignLeft}, FileTableSort::None}});
        table.SetFillColumn(1);
        table.resize(800, 400);
        table.show();
        QApplication::processEvents();
    }
    // Column c of every row, top to bottom.
    QStringList Column(int column) {
        QStringList cells;
        for (int row = 0; row < table.Model().rowCount(); ++row)
            cells.append(
                table.Model().data(table.Model().index(row, column), Qt::DisplayRole).toString());
        return cells;
    }
    void ClickHeader(int column, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = table.header();
        QTest::mouseClick(
            header->viewport(), button, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }

    FileTable table;
    ResultRows data;
};

TEST_F(SharedFileTable, NamesSortByTheCzechCaseSensitiveCollation) {
    for (const char* name : {"žába", "Zebra", "čaj", "cukr", "Čaj", "dům", "Ärger", "ábc.tar.gz"})
        data.rows.push_back({name, "E:\\", 1});
    table.Show(&data);
    EXPECT_EQ(Column(0),
              (QStringList{"ábc.tar.gz", "Ärger", "cukr", "čaj", "Čaj", "dům", "Zebra", "žába"}));
    ClickHeader(0);
    EXPECT_EQ(table.SortDirection(), Qt::DescendingOrder);
    EXPECT_EQ(Column(0),
              (QStringList{"žába", "Zebra", "dům", "Čaj", "čaj", "cukr", "Ärger", "ábc.tar.gz"}));
}

TEST_F(SharedFileTable, CollationKeysAreMadeOncePerFillAndColumn) {
    for (int i = 0; i < 50; ++i)
        data.rows.push_back({"Píseň " + std::to_string(i % 7), "Ordner " + std::to_string(i), 1});
    table.Show(&data);
    EXPECT_EQ(data.namesAsked, 50);
    ClickHeader(0);
    ClickHeader(1);
    ClickHeader(1);
    EXPECT_EQ(data.namesAsked, 100); // column 1's keys once, column 0's kept
    table.Show(&data);
    EXPECT_EQ(data.namesAsked, 150); // a new fill makes them anew
}

TEST_F(SharedFileTable, SizesSortAs64BitValuesWithNonNumbersFirstAndEqualRowsInPlace) {
    data.rows = {{"a", "Фото 1", int64_t{5'000'000'000}},
                 {"b", "写真 2", std::nullopt},
                 {"c", "Ordner 3", int64_t{2'147'483'647}},
                 {"d", "été 4", int64_t{3'000'000'000}},
                 {"e", "Ordner 5", int64_t{7}},
                 {"f", "Фото 6", std::nullopt},
                 {"g", "Ordner 7", int64_t{7}}};
    table.Show(&data);
    ClickHeader(2);
    EXPECT_EQ(table.SortColumn(), 2);
    EXPECT_EQ(Column(0), (QStringList{"b", "f", "e", "g", "c", "d", "a"}));
    EXPECT_EQ(Column(2)[0], ""); // "Velikost" stays empty for a non-number
    ClickHeader(2);
    EXPECT_EQ(Column(0), (QStringList{"a", "d", "c", "e", "g", "b", "f"}));
    ClickHeader(4); // "Datum": another column sorts ascending, and all dates are equal
    EXPECT_EQ(table.SortColumn(), 4);
    EXPECT_EQ(table.SortDirection(), Qt::AscendingOrder);
    EXPECT_EQ(Column(0), (QStringList{"a", "d", "c", "e", "g", "b", "f"}));
}

TEST_F(SharedFileTable, OnlyTheLeftButtonChangesTheSort) {
    data.rows = {{"b", "x", 1}, {"a", "y", 2}};
    table.Show(&data);
    EXPECT_EQ(Column(0), (QStringList{"a", "b"}));
    ClickHeader(3, Qt::RightButton);
    ClickHeader(0, Qt::RightButton);
    ClickHeader(1, Qt::MiddleButton);
    EXPECT_EQ(table.SortColumn(), 0);
    EXPECT_EQ(table.SortDirection(), Qt::AscendingOrder);
    ClickHeader(3);
    EXPECT_EQ(Column(0), (QStringList{"b", "a"}));
    table.Show(&data); // a new fill keeps the column and direction
    EXPECT_EQ(Column(0), (QStringList{"b", "a"}));
}

TEST_F(SharedFileTable, TheChosenColumnTakesWhatTheOthersLeave) {
    EXPECT_EQ(table.ColumnWidth(1), table.width() - 100 - 70 - 90 - 60 - 60 - 20);
    table.SetColumnWidth(0, 150); // a dragged divider counts from the next resize on
    table.resize(900, 400);
    QApplication::processEvents();
    EXPECT_EQ(table.ColumnWidth(1), 900 - 150 - 70 - 90 - 60 - 60 - 20);
    EXPECT_EQ(table.ColumnWidth(0), 150);
}

// ---- window geometry -----------------------------------------------------------------------

class Geometry : public ::testing::Test {
protected:
    std::string Path() { return m_dir / "settings.ini"; }
    TempDir m_dir;
};

TEST_F(Geometry, EachWindowRestoresAndSavesOnlyItsOwnSection) {
    WriteFile(Path(), "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeigth=300\r\n"
                      "[fNewList]\r\nTop=479\r\nLeft=497\r\nWidth=1\r\n");
    QWidget find, newList;
    newList.resize(200, 100);
    const WindowGeometry findGeometry(&find, "fFind", WindowGeometry::Keys::PositionAndSize);
    const WindowGeometry newListGeometry(&newList, "fNewList", WindowGeometry::Keys::Position);
    findGeometry.Restore(SettingsFile(Path()));
    EXPECT_EQ(find.frameGeometry(), QRect(-7, 5, 640, 300));
    EXPECT_EQ(newList.pos(), QPoint(0, 0));
    newListGeometry.Restore(SettingsFile(Path()));
    EXPECT_EQ(newList.frameGeometry(), QRect(497, 479, 200, 100)); // "Width" is not its key

    find.setGeometry(10, 20, 500, 250);
    std::vector<SettingsChange> changes;
    findGeometry.Save(changes);
    SettingsFile settings(Path());
    settings.Write(changes);
    EXPECT_EQ(ReadFile(Path()), "[fFind]\r\nTop=20\r\nLeft=10\r\nWidth=500\r\nHeigth=250\r\n"
                                "[fNewList]\r\nTop=479\r\nLeft=497\r\nWidth=1\r\n");
    newList.move(-30, 40);
    changes.clear();
    newListGeometry.Save(changes);
    settings.Write(changes);
    EXPECT_EQ(ReadFile(Path()), "[fFind]\r\nTop=20\r\nLeft=10\r\nWidth=500\r\nHeigth=250\r\n"
                                "[fNewList]\r\nTop=40\r\nLeft=-30\r\nWidth=1\r\n");
}

TEST_F(Geometry, MissingOrDamagedValuesKeepTheCurrentOnes) {
    WriteFile(Path(), "[FFIND]\r\nleft=x\r\nWidth=$1F4\r\n");
    QWidget find;
    find.setGeometry(419, 363, 667, 388);
    WindowGeometry(&find, "fFind", WindowGeometry::Keys::PositionAndSize)
        .Restore(SettingsFile(Path()));
    EXPECT_EQ(find.frameGeometry(), QRect(419, 363, 500, 388));
}

TEST_F(Geometry, TheSplitterKeepsItsFirstPaneWhenTheWindowWidens) {
    WriteFile(Path(), "[fLV]\r\nSplitter=230\r\nWidth=900\r\nHeigth=400\r\n");
    QSplitter window;
    window.addWidget(new QWidget);
    window.addWidget(new QWidget);
    window.setGeometry(0, 0, 600, 300);
    window.show();
    QApplication::processEvents();
    WindowGeometry geometry(&window, "fLV", WindowGeometry::Keys::PositionAndSize);
    geometry.KeepSplitter(&window);
    geometry.Restore(SettingsFile(Path()));
    EXPECT_EQ(window.frameGeometry().width(), 900);
    EXPECT_EQ(window.sizes().value(0), 230);
    window.setSizes({310, window.width() - 310 - window.handleWidth()});
    std::vector<SettingsChange> changes;
    geometry.Save(changes);
    SettingsFile(Path()).Write(changes);
    EXPECT_EQ(ReadFile(Path()),
              "[fLV]\r\nSplitter=310\r\nWidth=900\r\nHeigth=400\r\nTop=0\r\nLeft=0\r\n");
}

// ---- seams ---------------------------------------------------------------------------------

TEST(FolderPickerSeam, ScriptedAnswersInTurnThenCancel) {
    FolderPicker::StartScript();
    FolderPicker::QueueFolder(QStringLiteral("/média/Fotky 2004/Léto"));
    FolderPicker::QueueCancel();
    EXPECT_EQ(FolderPicker::Pick(nullptr, {QStringLiteral("Vyberte složku"), QStringLiteral("/")}),
              QStringLiteral("/média/Fotky 2004/Léto"));
    EXPECT_EQ(FolderPicker::Pick(nullptr, {QStringLiteral("Znovu"), QString()}), std::nullopt);
    EXPECT_EQ(FolderPicker::Pick(nullptr, {QStringLiteral("Nic ve frontě"), QString()}),
              std::nullopt);
    ASSERT_EQ(FolderPicker::Asked().size(), 3u);
    EXPECT_EQ(FolderPicker::Asked()[0].prompt, "Vyberte složku");
    EXPECT_EQ(FolderPicker::Asked()[0].startFolder, "/");
    EXPECT_EQ(FolderPicker::Asked()[2].prompt, "Nic ve frontě");
}

TEST(CursorPositionSeam, TestsPlaceThePointerUntilTheyReleaseIt) {
    CursorPosition::Place(QPoint(-40, 1200));
    EXPECT_EQ(CursorPosition::Get(), QPoint(-40, 1200));
    CursorPosition::Release();
    EXPECT_EQ(CursorPosition::Get(), QCursor::pos());
}

} // namespace
} // namespace vyp::test
