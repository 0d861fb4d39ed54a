#include "ui/common/FlatGridModel.h"

#include "ui/common/ImageList.h"

#include <algorithm>

namespace vyp {

FlatGridModel::FlatGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void FlatGridModel::SetColumns(std::vector<TreeGridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

void FlatGridModel::SetCount(size_t count) {
    beginResetModel();
    m_count = count;
    std::vector<uint32_t>().swap(m_order);
    endResetModel();
}

int FlatGridModel::PlaceOf(NodeId node) const {
    if (!IsValid(node))
        return -1;
    if (m_order.empty())
        return node;
    const auto at = std::find(m_order.begin(), m_order.end(), static_cast<uint32_t>(node));
    return at == m_order.end() ? -1 : static_cast<int>(at - m_order.begin());
}

void FlatGridModel::SetOrder(std::vector<uint32_t> order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    m_order = std::move(order);
    // The places of the few nodes the views hold on to, found in one pass over the order.
    std::vector<NodeId> nodes;
    nodes.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before)
        nodes.push_back(NodeOf(index));
    std::vector<int> places(nodes.size(), -1);
    if (!nodes.empty()) {
        for (size_t place = 0; place < m_order.size(); ++place)
            for (size_t i = 0; i < nodes.size(); ++i)
                if (static_cast<uint32_t>(nodes[i]) == m_order[place])
                    places[i] = static_cast<int>(place);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const auto at = static_cast<size_t>(i);
        after.append(m_order.empty()  ? IndexOf(nodes[at], before[i].column())
                     : places[at] < 0 ? QModelIndex()
                                      : createIndex(places[at], before[i].column(),
                                                    static_cast<quintptr>(nodes[at])));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex FlatGridModel::IndexOf(NodeId node, int column) const {
    const int place = PlaceOf(node);
    if (place < 0 || column < 0 || column >= columnCount())
        return {};
    return createIndex(place, column, static_cast<quintptr>(node));
}

NodeId FlatGridModel::NodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<NodeId>(index.internalId()) : kNoNode;
}

QModelIndex FlatGridModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || static_cast<size_t>(row) >= m_count || column < 0 ||
        column >= columnCount())
        return {};
    return createIndex(row, column, static_cast<quintptr>(NodeAt(static_cast<size_t>(row))));
}

int FlatGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_count);
}

int FlatGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(m_columns.size()));
}

QVariant FlatGridModel::data(const QModelIndex& index, int role) const {
    const NodeId node = NodeOf(index);
    if (!IsValid(node))
        return {};
    return GridCellData(node, index.column(), role, textOf, imageOf, m_images, m_columns);
}

QVariant FlatGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return GridHeaderData(section, orientation, role, m_columns);
}

Qt::ItemFlags FlatGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !IsValid(NodeOf(index)))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace vyp
