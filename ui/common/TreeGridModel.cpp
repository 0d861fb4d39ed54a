#include "ui/common/TreeGridModel.h"

#include "ui/common/ImageList.h"
#include "util/ChildrenByParent.h"
#include "util/StableKeySort.h"

#include <algorithm>

namespace vyp {

TreeGridModel::TreeGridModel(QObject* parent) : QAbstractItemModel(parent) {
    m_firstChild.assign(2, 0);
}

void TreeGridModel::SetColumns(std::vector<TreeGridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

void TreeGridModel::BeginReset() {
    if (m_resetDepth++ == 0)
        beginResetModel();
}

void TreeGridModel::EndReset() {
    if (--m_resetDepth == 0) {
        if (m_childrenStale) { // a tree of a million folders keeps no room to grow
            m_parent.shrink_to_fit();
            m_payload.shrink_to_fit();
        }
        RebuildChildren();
        endResetModel();
    }
}

void TreeGridModel::Clear() {
    BeginReset();
    std::vector<NodeId>().swap(m_parent);
    std::vector<uint64_t>().swap(m_payload);
    std::vector<NodeId>().swap(m_children);
    std::vector<int32_t>().swap(m_row);
    m_childrenStale = true;
    EndReset();
}

void TreeGridModel::Reserve(size_t count) {
    m_parent.reserve(count);
}

NodeId TreeGridModel::AddNode(NodeId parent, uint64_t payload) {
    BeginReset();
    const auto node = static_cast<NodeId>(m_parent.size());
    m_parent.push_back(parent);
    if (!m_payload.empty() || payload != static_cast<uint64_t>(node)) {
        if (m_payload.empty()) { // the first payload that is not its node's number
            m_payload.reserve(m_parent.capacity());
            for (size_t before = 0; before < static_cast<size_t>(node); ++before)
                m_payload.push_back(before);
        }
        m_payload.push_back(payload);
    }
    m_childrenStale = true;
    EndReset();
    return node;
}

void TreeGridModel::RebuildChildren() const {
    if (!m_childrenStale)
        return;
    std::vector<int32_t>().swap(m_row);
    GroupChildrenByParent(
        m_parent.size() + 1, m_parent.size(), [this](size_t node) { return Slot(m_parent[node]); },
        m_firstChild, m_children);
    m_childrenStale = false;
}

int TreeGridModel::ChildCount(NodeId parent) const {
    if (!IsValid(parent))
        return 0;
    RebuildChildren();
    const size_t slot = Slot(parent);
    return static_cast<int>(m_firstChild[slot + 1] - m_firstChild[slot]);
}

NodeId TreeGridModel::Child(NodeId parent, int row) const {
    if (row < 0 || row >= ChildCount(parent))
        return kNoNode;
    return m_children[m_firstChild[Slot(parent)] + static_cast<uint32_t>(row)];
}

int TreeGridModel::RowOf(NodeId node) const {
    RebuildChildren();
    if (!m_row.empty())
        return m_row[static_cast<size_t>(node)];
    const size_t slot = Slot(Parent(node));
    const auto first = m_children.begin() + m_firstChild[slot];
    return static_cast<int>(
        std::lower_bound(first, m_children.begin() + m_firstChild[slot + 1], node) - first);
}

void TreeGridModel::SortRange(size_t begin, size_t end, int column, Qt::SortOrder order) {
    auto first = m_children.begin() + static_cast<std::ptrdiff_t>(begin);
    auto last = m_children.begin() + static_cast<std::ptrdiff_t>(end);
    // Descending swaps the arguments rather than negating the result, so that equal nodes keep
    // their order in both directions.
    if (order == Qt::AscendingOrder)
        std::stable_sort(first, last,
                         [&](NodeId a, NodeId b) { return compare(a, b, column) < 0; });
    else
        std::stable_sort(first, last,
                         [&](NodeId a, NodeId b) { return compare(b, a, column) < 0; });
}

void TreeGridModel::RowsFromChildren(const std::vector<NodeId>& children,
                                     std::vector<int32_t>& rows) const {
    rows.assign(m_parent.size(), 0);
    for (size_t slot = 0; slot + 1 < m_firstChild.size(); ++slot) {
        for (uint32_t i = m_firstChild[slot]; i < m_firstChild[slot + 1]; ++i)
            rows[static_cast<size_t>(children[i])] = static_cast<int32_t>(i - m_firstChild[slot]);
    }
}

void TreeGridModel::SortByKeys(const std::vector<uint64_t>& keys, Qt::SortOrder order,
                               std::vector<NodeId>& children, std::vector<int32_t>& rows) const {
    children = m_children;
    for (size_t slot = 0; slot + 1 < m_firstChild.size(); ++slot) {
        if (m_firstChild[slot + 1] - m_firstChild[slot] >= 2)
            StableSortByKeys(children.data() + m_firstChild[slot],
                             m_firstChild[slot + 1] - m_firstChild[slot], keys,
                             order == Qt::DescendingOrder);
    }
    RowsFromChildren(children, rows);
}

void TreeGridModel::Sort(int column, Qt::SortOrder order) {
    if (!compare)
        return;
    RebuildChildren();
    // Keys and the new order are made first, touching nothing a view reads, so that the work
    // may run on a worker while the windows paint.
    bool keyed = false;
    std::vector<NodeId> children;
    std::vector<int32_t> rows;
    const auto work = [&] {
        std::vector<uint64_t> keys;
        keyed = sortKeys && sortKeys(column, keys) && keys.size() == m_parent.size();
        if (keyed)
            SortByKeys(keys, order, children, rows);
    };
    if (runSortWork)
        runSortWork(work);
    else
        work();
    const bool notify = m_resetDepth == 0;
    QModelIndexList before;
    if (notify) {
        emit layoutAboutToBeChanged();
        before = persistentIndexList();
    }
    std::vector<NodeId> nodesBefore;
    nodesBefore.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before)
        nodesBefore.push_back(NodeOf(index));
    if (keyed) {
        m_children.swap(children);
        m_row.swap(rows);
    } else {
        for (size_t slot = 0; slot + 1 < m_firstChild.size(); ++slot) {
            if (m_firstChild[slot + 1] - m_firstChild[slot] >= 2)
                SortRange(m_firstChild[slot], m_firstChild[slot + 1], column, order);
        }
        RowsFromChildren(m_children, m_row);
    }
    if (notify) {
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.append(IndexOf(nodesBefore[static_cast<size_t>(i)], before[i].column()));
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }
}

QModelIndex TreeGridModel::IndexOf(NodeId node, int column) const {
    if (node == kNoNode || static_cast<size_t>(node) >= m_parent.size())
        return {};
    return createIndex(RowOf(node), column, static_cast<quintptr>(node));
}

NodeId TreeGridModel::NodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<NodeId>(index.internalId()) : kNoNode;
}

QModelIndex TreeGridModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column >= columnCount() || (parent.isValid() && parent.column() != 0))
        return {};
    const NodeId child = Child(NodeOf(parent), row);
    return child == kNoNode ? QModelIndex()
                            : createIndex(row, column, static_cast<quintptr>(child));
}

QModelIndex TreeGridModel::parent(const QModelIndex& child) const {
    const NodeId node = NodeOf(child);
    if (node == kNoNode || !IsValid(node))
        return {};
    return IndexOf(Parent(node), 0);
}

int TreeGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return ChildCount(NodeOf(parent));
}

int TreeGridModel::columnCount(const QModelIndex&) const {
    return std::max<int>(1, static_cast<int>(m_columns.size()));
}

QVariant GridCellData(NodeId node, int column, int role,
                      const std::function<QString(NodeId, int)>& textOf,
                      const std::function<int(NodeId, int)>& imageOf, const ImageList* images,
                      const std::vector<TreeGridColumn>& columns) {
    switch (role) {
    case Qt::DisplayRole:
        return textOf ? textOf(node, column) : QString();
    case Qt::DecorationRole: {
        if (!imageOf || images == nullptr)
            return {};
        const int image = imageOf(node, column);
        return image < 0 ? QVariant() : QVariant(images->At(image));
    }
    case Qt::TextAlignmentRole:
        if (column >= 0 && static_cast<size_t>(column) < columns.size())
            return QVariant::fromValue(columns[static_cast<size_t>(column)].alignment |
                                       Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant GridHeaderData(int section, Qt::Orientation orientation, int role,
                        const std::vector<TreeGridColumn>& columns) {
    if (orientation != Qt::Horizontal || section < 0 ||
        static_cast<size_t>(section) >= columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return columns[static_cast<size_t>(section)].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns[static_cast<size_t>(section)].alignment |
                                   Qt::AlignVCenter);
    return {};
}

QVariant TreeGridModel::data(const QModelIndex& index, int role) const {
    const NodeId node = NodeOf(index);
    if (node == kNoNode || !IsValid(node))
        return {};
    return GridCellData(node, index.column(), role, textOf, imageOf, m_images, m_columns);
}

QVariant TreeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return GridHeaderData(section, orientation, role, m_columns);
}

Qt::ItemFlags TreeGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !IsValid(NodeOf(index)))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (ChildCount(NodeOf(index)) == 0)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

} // namespace vyp
