#include "ui/common/FileTable.h"

#include "ui/common/CsvSaving.h"

#include <QResizeEvent>

#include <algorithm>
#include <limits>
#include <utility>

namespace vyp {

namespace {
template <typename T> int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

void FileTableRows::WithSortNames(
    int column, const std::function<void(const std::vector<std::string_view>& names)>& use) const {
    std::vector<std::string_view> names;
    names.reserve(RowCount());
    for (size_t row = 0; row < RowCount(); ++row)
        names.push_back(SortName(row, column));
    use(names);
}

std::vector<std::optional<int64_t>> FileTableRows::SortSizes(int column) const {
    std::vector<std::optional<int64_t>> sizes;
    sizes.reserve(RowCount());
    for (size_t row = 0; row < RowCount(); ++row)
        sizes.push_back(SortSize(row, column));
    return sizes;
}

void FileTableRows::AppendCsvRows(const std::vector<size_t>& rows, std::string& out) const {
    for (size_t row : rows)
        AppendCsvRow(row, out);
}

FileTable::FileTable(const QLocale& collation, QWidget* parent)
    : FlatGrid(parent), m_collator(collation) {
    OnGetText() = [this](NodeId node, int column) {
        return m_rows != nullptr ? m_rows->CellText(Row(node), column) : QString();
    };
    OnGetImageIndex() = [this](NodeId node, int column) {
        return m_rows != nullptr ? m_rows->CellImage(Row(node), column) : -1;
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
    SetColumns(std::move(looks));
}

void FileTable::Show(const FileTableRows* rows) {
    m_rows = rows;
    for (auto& ranks : m_nameRanks)
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
    // rows by list) keep no order at all. Ranks answer that without memory; sizes are read
    // once, as their keys.
    const auto inOrder = [&] {
        for (size_t place = 1; place < count; ++place)
            if (before(nodeAt(place), nodeAt(place - 1)))
                return false;
        return true;
    };
    const bool bySize = m_columns[static_cast<size_t>(column)].sort == FileTableSort::Size;
    if (!bySize && inOrder())
        return;
    keyed = SortKeys(column, keys);
    if (bySize && inOrder())
        return;
    std::vector<uint32_t> order(count);
    for (size_t place = 0; place < count; ++place)
        order[place] = nodeAt(place);
    if (keyed) {
        std::vector<std::pair<uint64_t, uint32_t>> pairs;
        pairs.reserve(count);
        for (uint32_t node : order)
            pairs.emplace_back(keys[node], node);
        std::vector<uint64_t>().swap(keys);
        // Descending swaps the arguments rather than negating the result, so that equal rows
        // keep their order in both directions.
        if (direction == Qt::AscendingOrder)
            std::stable_sort(pairs.begin(), pairs.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        else
            std::stable_sort(pairs.begin(), pairs.end(),
                             [](const auto& a, const auto& b) { return b.first < a.first; });
        for (size_t place = 0; place < count; ++place)
            order[place] = pairs[place].second;
    } else {
        std::stable_sort(order.begin(), order.end(), before);
    }
    SetOrder(std::move(order));
}

const std::vector<uint32_t>& FileTable::NameRanks(int column) {
    std::vector<uint32_t>& ranks = m_nameRanks[static_cast<size_t>(column)];
    const size_t count = m_rows->RowCount();
    if (ranks.size() != count) { // once per fill, not once per comparison
        m_rows->WithSortNames(column, [&](const std::vector<std::string_view>& names) {
            ranks = m_collator.Ranks(names);
        });
    }
    return ranks;
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
        const std::vector<std::optional<int64_t>> sizes = m_rows->SortSizes(column);
        for (size_t node = 0; node < nodes; ++node) {
            const std::optional<int64_t>& size = sizes[Row(static_cast<NodeId>(node))];
            // Numbers in order above 0, which stands for no number; the one number that would
            // meet it is left to the comparison.
            if (size == std::numeric_limits<int64_t>::min())
                return false;
            keys[node] = size ? static_cast<uint64_t>(*size) ^ (uint64_t{1} << 63) : 0;
        }
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
