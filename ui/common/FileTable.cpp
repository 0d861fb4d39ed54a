#include "ui/common/FileTable.h"

#include "ui/common/CsvSaving.h"
#include "ui/common/WorkerWait.h"
#include "util/StableKeySort.h"

#include <QResizeEvent>

#include <algorithm>
#include <atomic>
#include <limits>
#include <utility>

namespace vyp {

namespace {
template <typename T> int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

void FileTableRows::WithSortNames(
    int column, const RowsRead& rowsRead,
    const std::function<void(const std::vector<std::string_view>& names)>& use) const {
    std::vector<std::string_view> names;
    names.reserve(RowCount());
    for (size_t row = 0; row < RowCount(); ++row)
        names.push_back(SortName(row, column));
    rowsRead(RowCount());
    use(names);
}

bool FileTableRows::SortSizeKeys(int column, const RowsRead& rowsRead,
                                 std::vector<uint64_t>& keys) const {
    keys.resize(RowCount());
    bool keyed = true;
    for (size_t row = 0; row < RowCount(); ++row) {
        const std::optional<int64_t> size = SortSize(row, column);
        keyed = keyed && size != std::numeric_limits<int64_t>::min();
        keys[row] = SizeSortKey(size);
    }
    rowsRead(RowCount());
    return keyed;
}

void FileTableRows::AppendCsvRows(const std::vector<size_t>& rows, std::string& out) const {
    for (size_t row : rows)
        AppendCsvRow(row, out);
}

FileTable::FileTable(const QLocale& collation, QWidget* parent)
    : FlatGrid(parent), m_collator(collation) {
    // While a sort on a worker reads the rows, nothing else does.
    OnGetText() = [this](NodeId node, int column) {
        return m_rows != nullptr && !m_sortRunning ? m_rows->CellText(Row(node), column)
                                                   : QString();
    };
    OnGetImageIndex() = [this](NodeId node, int column) {
        return m_rows != nullptr && !m_sortRunning ? m_rows->CellImage(Row(node), column) : -1;
    };
    connect(this, &FlatGrid::HeaderClicked, this, &FileTable::HeaderClick);
}

void FileTable::SetFileColumns(std::vector<FileTableColumn> columns) {
    std::vector<TreeGridColumn> looks;
    looks.reserve(columns.size());
    for (const FileTableColumn& column : columns)
        looks.push_back(column.look);
    m_columns = std::move(columns);
    m_nameRanks.assign(m_columns.size(), {});
    m_sizeRanks.assign(m_columns.size(), {});
    SetColumns(std::move(looks));
}

void FileTable::Show(const FileTableRows* rows) {
    m_rows = rows;
    for (auto& ranks : m_nameRanks)
        ranks.clear();
    for (auto& ranks : m_sizeRanks)
        ranks.clear();
    SetNodes(rows != nullptr ? rows->RowCount() : 0);
    SortRows(m_sortColumn, m_sortDirection);
}

void FileTable::SetSortColumn(int column, Qt::SortOrder direction) {
    m_sortColumn = column;
    m_sortDirection = direction;
    SortRows(column, direction);
}

void FileTable::SortRows(int column, Qt::SortOrder direction) {
    const size_t count = NodeCount();
    if (m_rows == nullptr || count < 2 || column < 0 ||
        static_cast<size_t>(column) >= m_columns.size())
        return;
    if (m_columns[static_cast<size_t>(column)].sort == FileTableSort::None)
        return; // the table is never put in date or time order: every row stays where it is
    // The new order is made first, touching nothing a view reads, so that the work may run on
    // a worker while the windows paint; the table shows it when the work has returned.
    std::vector<uint32_t> order;
    RunSortWork([&] { order = SortedOrder(column, direction); });
    if (!order.empty())
        SetOrder(std::move(order));
}

std::vector<uint32_t> FileTable::SortedOrder(int column, Qt::SortOrder direction) {
    const size_t count = NodeCount();
    const std::vector<uint32_t>& shown = Model().Order();
    const auto nodeAt = [&shown](size_t place) {
        return shown.empty() ? static_cast<uint32_t>(place) : shown[place];
    };
    std::vector<uint64_t> keys;
    bool keyed = false;
    const auto before = [&](uint32_t a, uint32_t b) {
        if (direction == Qt::DescendingOrder)
            std::swap(a, b);
        return keyed ? keys[a] < keys[b] : CompareRows(a, b, column) < 0;
    };
    // Rows that are in order already stay as they are, and rows shown as they came (a search's
    // rows by list) keep no order at all.
    const auto inOrder = [&] {
        for (size_t place = 1; place < count; ++place)
            if (before(nodeAt(place), nodeAt(place - 1)))
                return false;
        return true;
    };
    const FileTableSort sort = m_columns[static_cast<size_t>(column)].sort;
    // Names and sizes are ranked once per fill, each rank below the number of rows: the rows
    // are sorted by their ranks, which tells on the way whether they are in order already.
    const std::vector<uint32_t>* ranks =
        sort == FileTableSort::Name ? &NameRanks(column)
                                    : (sort == FileTableSort::Size ? SizeRanks(column) : nullptr);
    if (ranks != nullptr) {
        std::vector<uint32_t> order(count);
        for (size_t place = 0; place < count; ++place)
            order[place] = nodeAt(place);
        if (!StableSortByRanks(order.data(), count, *ranks, direction == Qt::DescendingOrder))
            return {};
        return order;
    }
    const bool bySize = sort == FileTableSort::Size;
    if (!bySize && inOrder())
        return {};
    keyed = SortKeys(column, keys);
    if (bySize && inOrder())
        return {};
    std::vector<uint32_t> order(count);
    for (size_t place = 0; place < count; ++place)
        order[place] = nodeAt(place);
    if (keyed) {
        StableSortByKeys(order.data(), count, keys, direction == Qt::DescendingOrder);
    } else {
        std::stable_sort(order.begin(), order.end(), before);
    }
    return order;
}

const std::vector<uint32_t>& FileTable::NameRanks(int column) {
    std::vector<uint32_t>& ranks = m_nameRanks[static_cast<size_t>(column)];
    const size_t count = m_rows->RowCount();
    if (ranks.size() != count) { // once per fill, not once per comparison
        // Reading the names takes about a third of the time, ranking them the rest.
        std::atomic<size_t> read{0};
        const auto rowsRead = [&](size_t rows) {
            TellSortDone(0.3 * static_cast<double>(read += rows) / static_cast<double>(count));
        };
        const auto ranked = [this](double done) {
            TellSortDone(0.3 + 0.6 * done);
        };
        if (m_rows->RankPaths(column, m_collator, rowsRead, ranked, ranks))
            return ranks;
        read = 0; // read again, whole
        if (!m_rows->WithSortPaths(column, rowsRead, [&](const FolderedPaths& paths) {
                ranks = m_collator.Ranks(paths, ranked);
            }))
            m_rows->WithSortNames(column, rowsRead,
                                  [&](const std::vector<std::string_view>& names) {
                                      ranks = m_collator.Ranks(names, ranked);
                                  });
    }
    return ranks;
}

const std::vector<uint32_t>* FileTable::SizeRanks(int column) {
    std::vector<uint32_t>& ranks = m_sizeRanks[static_cast<size_t>(column)];
    const size_t count = m_rows->RowCount();
    if (ranks.size() == count)
        return &ranks;
    // Reading the sizes takes most of the time: for rows read back from files, all of it.
    // Numbers in order above 0, which stands for no number; the one number that would meet it
    // is left to the comparison.
    std::atomic<size_t> read{0};
    std::vector<uint64_t> keys;
    const RowsRead rowsRead = [&](size_t rows) {
        TellSortDone(0.8 * static_cast<double>(read += rows) / static_cast<double>(count));
    };
    if (!m_rows->SortSizeKeys(column, rowsRead, keys))
        return nullptr;
    ranks = RanksOfKeys(std::move(keys));
    return &ranks;
}

int FileTable::CompareRows(size_t a, size_t b, int column) {
    if (m_rows == nullptr || column < 0 || static_cast<size_t>(column) >= m_columns.size())
        return 0;
    switch (m_columns[static_cast<size_t>(column)].sort) {
    case FileTableSort::Name: {
        const std::vector<uint32_t>& ranks = NameRanks(column);
        return Order(ranks[a], ranks[b]);
    }
    case FileTableSort::Size:
        // A row without a number sorts before every number (nothing orders below any value).
        return Order(m_rows->SortSize(a, column), m_rows->SortSize(b, column));
    case FileTableSort::Rank:
        return Order(m_rows->SortRank(a, column), m_rows->SortRank(b, column));
    case FileTableSort::None:
        return 0; // the table is never put in date or time order
    }
    return 0;
}

bool FileTable::SortKeys(int column, std::vector<uint64_t>& keys) {
    if (m_rows == nullptr || column < 0 || static_cast<size_t>(column) >= m_columns.size())
        return false;
    const size_t nodes = NodeCount();
    keys.resize(nodes);
    switch (m_columns[static_cast<size_t>(column)].sort) {
    case FileTableSort::Name: {
        const std::vector<uint32_t>& ranks = NameRanks(column);
        for (size_t node = 0; node < nodes; ++node)
            keys[node] = ranks[Row(static_cast<NodeId>(node))];
        return true;
    }
    case FileTableSort::Size: {
        const std::vector<uint32_t>* ranks = SizeRanks(column);
        if (ranks == nullptr)
            return false;
        for (size_t node = 0; node < nodes; ++node)
            keys[node] = (*ranks)[Row(static_cast<NodeId>(node))];
        return true;
    }
    case FileTableSort::Rank:
        for (size_t node = 0; node < nodes; ++node)
            keys[node] = m_rows->SortRank(Row(static_cast<NodeId>(node)), column);
        return true;
    case FileTableSort::None:
        std::fill(keys.begin(), keys.end(), 0); // the table is never put in date or time order
        return true;
    }
    return false;
}

void FileTable::SortLargeTablesOnAWorker(QWidget& mainWindow,
                                         std::function<void(int percent)> showProgress) {
    m_waitWindow = &mainWindow;
    m_showSortProgress = std::move(showProgress);
}

void FileTable::TellSortDone(double done) const {
    if (m_sortProgress != nullptr)
        m_sortProgress->ReportShare(done);
}

void FileTable::RunSortWork(const std::function<void()>& work) {
    if (m_waitWindow == nullptr || NodeCount() <= kRowsSortedAtOnce) {
        work();
    } else {
        // Nothing paints the rows while the worker reads them: the table keeps its last picture.
        struct Running {
            FileTable& table;
            bool updates;
            explicit Running(FileTable& t) : table(t), updates(t.updatesEnabled()) {
                table.setUpdatesEnabled(false);
                table.m_sortRunning = true;
            }
            ~Running() {
                table.m_sortRunning = false;
                table.m_sortProgress = nullptr;
                table.setUpdatesEnabled(updates);
                if (table.m_showSortProgress)
                    table.m_showSortProgress(-1);
            }
        } running(*this);
        WorkerWait wait(*m_waitWindow);
        wait.Run(
            [&](WorkerProgress& progress) {
                m_sortProgress = &progress;
                work();
            },
            [this](const WorkerProgress& progress) {
                if (m_showSortProgress)
                    m_showSortProgress(static_cast<int>(progress.Thousandths() / 10));
            });
    }
    if (m_rows != nullptr)
        m_rows->AfterSort();
}

void FileTable::HeaderClick(int column, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (column == SortColumn())
        SetSortColumn(column, SortDirection() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                    : Qt::AscendingOrder);
    else
        SetSortColumn(column, Qt::AscendingOrder);
}

void FileTable::SaveAsCsv(const QString& suggestedName) const {
    SaveCsvAs(window(), suggestedName, [this](std::string& out) {
        if (m_rows == nullptr)
            return;
        m_rows->AppendCsvHeader(out);
        std::vector<size_t> rows(NodeCount());
        for (size_t place = 0; place < rows.size(); ++place)
            rows[place] = Row(Model().NodeAt(place));
        m_rows->AppendCsvRows(rows, out);
    });
}

void FileTable::ApplyWidthRule() {
    if (m_fillColumn < 0)
        return;
    int others = 0;
    for (int column = 0; column < static_cast<int>(m_columns.size()); ++column)
        if (column != m_fillColumn)
            others += ColumnWidth(column);
    SetColumnWidth(m_fillColumn, width() - others - 20);
}

void FileTable::resizeEvent(QResizeEvent* event) {
    FlatGrid::resizeEvent(event);
    ApplyWidthRule();
}

} // namespace vyp
