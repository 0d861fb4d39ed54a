// A sortable table of plain rows over a FlatGrid, shared by the main window's folder contents,
// the search window's results and the comparison's differences. The owner keeps the rows in its
// own packed storage and answers for them through FileTableRows; a node of the grid is the
// owner's row number, and the table keeps nothing per row but the order it shows them in.
//
// What the table does itself: cell texts and pictures through the owner, the collation ranks of
// a name column made once per fill, when the table is first sorted by it, the stable comparison
// (names by the locale's case-sensitive collation, sizes as 64-bit integers with a row without a
// number before every number, other columns equal), the header click rule (left button only; the
// same column flips the direction, another column sorts ascending), the width rule (one column
// chosen by the owner takes the table's width minus the other columns minus 20, whenever the table
// is resized), saving the rows as CSV in the order shown, the lines written by the owner, and
// sorting a large table on a worker while every window waits, its progress shown by the owner.
#pragma once

#include "qtcore/NameCollator.h"
#include "ui/common/FlatGrid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace vyp {

class WorkerProgress;

// Told of more rows read for a sort (how many since the last call), from whichever thread reads.
using RowsRead = std::function<void(size_t rows)>;

// The owner's rows, as the table asks for them. Row numbers run from 0 to RowCount() - 1.
class FileTableRows {
public:
    virtual ~FileTableRows() = default;
    virtual size_t RowCount() const = 0;
    virtual QString CellText(size_t row, int column) const = 0;
    virtual int CellImage(size_t row, int column) const = 0; // -1: no picture
    // The UTF-8 text a name column sorts by.
    virtual std::string_view SortName(size_t row, int column) const = 0;
    // The value a size column sorts by; nothing when the row has no number there.
    virtual std::optional<int64_t> SortSize(size_t row, int column) const = 0;
    // The place of a row in a column the owner orders itself (a list name ranked among a few
    // lists, which spares a collation key per row); lower comes first.
    virtual uint32_t SortRank(size_t /*row*/, int /*column*/) const { return 0; }
    // The rows as CSV, for saving the table: the header line, and the line of one row.
    virtual void AppendCsvHeader(std::string& out) const = 0;
    virtual void AppendCsvRow(size_t row, std::string& out) const = 0;

    // For rows whose texts are read from files rather than held, every row's value at once, read
    // in the order that reads fastest and dropped after: the names a name column sorts by
    // (names[row]), the sizes of a size column (by row), the CSV lines of rows in the order
    // given. The defaults ask row by row. The sort values may be asked for on a worker while
    // the window waits (see FileTable::SortLargeTablesOnAWorker): nothing else reads the rows
    // meanwhile, and what must happen on the window's thread waits for AfterSort.
    virtual void
    WithSortNames(int column, const RowsRead& rowsRead,
                  const std::function<void(const std::vector<std::string_view>& names)>& use) const;
    // The same for a column of paths, given as each row's folder and name (see FolderedPaths),
    // so that a folder's path is read once for all its rows; false, use never called, when the
    // rows give their paths whole only (WithSortNames).
    virtual bool
    WithSortPaths(int /*column*/, const RowsRead& /*rowsRead*/,
                  const std::function<void(const FolderedPaths& paths)>& /*use*/) const {
        return false;
    }
    // The ranks of a column of paths as NameCollator::Ranks gives them, made while the rows are
    // read, folder by folder, so that the names of every row are not held at once; false when
    // the rows do not give them so (then WithSortPaths). ranked hears of the work after reading.
    virtual bool RankPaths(int /*column*/, const NameCollator& /*collator*/,
                           const RowsRead& /*rowsRead*/,
                           const std::function<void(double done)>& /*ranked*/,
                           std::vector<uint32_t>& /*ranks*/) const {
        return false;
    }
    // The sizes come as keys in their order, 8 bytes a row: 0 for a row without a number, else
    // the size with its sign bit flipped; false when a size meets 0 so (the lowest number).
    virtual bool SortSizeKeys(int column, const RowsRead& rowsRead,
                              std::vector<uint64_t>& keys) const;
    virtual void AppendCsvRows(const std::vector<size_t>& rows, std::string& out) const;
    // On the window's thread once a sort has ended.
    virtual void AfterSort() const {}
};

// A size as SortSizeKeys gives it.
inline uint64_t SizeSortKey(std::optional<int64_t> size) {
    return size ? static_cast<uint64_t>(*size) ^ (uint64_t{1} << 63) : 0;
}

enum class FileTableSort { Name, Size, Rank, None };

struct FileTableColumn {
    TreeGridColumn look;
    FileTableSort sort = FileTableSort::None;
};

class FileTable : public FlatGrid {
    Q_OBJECT
public:
    explicit FileTable(const QLocale& collation, QWidget* parent = nullptr);

    // The columns by index; sorting starts on column 0, ascending.
    void SetFileColumns(std::vector<FileTableColumn> columns);
    // The column that takes the remaining width when the table is resized; -1 for none.
    void SetFillColumn(int column) { m_fillColumn = column; }
    void ApplyWidthRule();

    // Shows rows (nullptr: none), sorted by the current column and direction. The rows must stay
    // alive and unchanged until the next Show.
    void Show(const FileTableRows* rows);
    size_t Row(NodeId node) const { return static_cast<size_t>(node); }

    // The sort column (-1 for none) and direction; changing them sorts the rows.
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortDirection() const { return m_sortDirection; }
    void SetSortColumn(int column, Qt::SortOrder direction);
    // Puts the rows in the order of column, stably: rows equal there keep the order they had.
    void SortRows(int column, Qt::SortOrder direction);

    // The header click rule; the header's clicks come here.
    void HeaderClick(int column, Qt::MouseButton button);
    // The comparison of two rows in ascending order (< 0, 0, > 0).
    int CompareRows(size_t a, size_t b, int column);

    // Tables of more than kRowsSortedAtOnce rows sort on a worker from now on, every window
    // waiting as behind a modal dialog over mainWindow; showProgress paints how far the sort has
    // come in percent at least every 100 ms meanwhile, and is told -1 once it has ended.
    static constexpr size_t kRowsSortedAtOnce = 100000;
    void SortLargeTablesOnAWorker(QWidget& mainWindow,
                                  std::function<void(int percent)> showProgress);
    // True while a sort runs on a worker.
    bool SortRunning() const { return m_sortRunning; }

    // Asks where to save the rows as CSV ("Uložit jako CSV", offering suggestedName) and writes
    // them there in the order shown, replacing the file safely; a cancel writes nothing. Throws
    // when the file cannot be written.
    void SaveAsCsv(const QString& suggestedName) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const std::vector<uint32_t>& NameRanks(int column);
    // The place of each row's size among them all, made once per fill; nullptr for sizes that
    // keys cannot order.
    const std::vector<uint32_t>* SizeRanks(int column);
    // A key per node in the order of CompareRows on column, for sorting many rows quickly.
    bool SortKeys(int column, std::vector<uint64_t>& keys);
    // The nodes in the order of column, stably from the order shown; empty when that order
    // is right already.
    std::vector<uint32_t> SortedOrder(int column, Qt::SortOrder direction);
    // Runs a sort's work, on a worker when the table is large (see SortLargeTablesOnAWorker).
    void RunSortWork(const std::function<void()>& work);
    // How much of the sort on a worker is done (0 to 1); nothing for a sort at once.
    void TellSortDone(double done) const;

    std::vector<FileTableColumn> m_columns;
    int m_fillColumn = -1;
    const FileTableRows* m_rows = nullptr;
    NameCollator m_collator;
    // Per column, made on the first comparison after a fill: 4 bytes a row, where a collation
    // key would hold a hundred.
    std::vector<std::vector<uint32_t>> m_nameRanks;
    std::vector<std::vector<uint32_t>> m_sizeRanks; // the same for the sizes of a size column
    int m_sortColumn = 0;
    Qt::SortOrder m_sortDirection = Qt::AscendingOrder;
    QWidget* m_waitWindow = nullptr;
    std::function<void(int percent)> m_showSortProgress;
    bool m_sortRunning = false;
    WorkerProgress* m_sortProgress = nullptr; // of the sort on a worker, used there only
};

} // namespace vyp
