// The item model behind a FlatGrid: a number of rows and, once they have been put in an order,
// that order (4 bytes a row); nothing else per row. A row is a node numbered from 0 as the owner
// numbers its rows; the order says which node each shown row holds. Texts and pictures come
// from the grid's callbacks.
#pragma once

#include "ui/common/TreeGridModel.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <vector>

namespace vyp {

class FlatGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FlatGridModel(QObject* parent = nullptr);

    // What the grid's owner answers for a node.
    std::function<QString(NodeId, int column)> textOf;
    std::function<int(NodeId, int column)> imageOf; // an index of images, or -1

    void SetColumns(std::vector<TreeGridColumn> columns);
    const std::vector<TreeGridColumn>& Columns() const { return m_columns; }
    void SetImages(const ImageList* images) { m_images = images; }

    // count nodes, shown in their own order; the order before is forgotten and its memory given
    // back.
    void SetCount(size_t count);
    size_t Count() const { return m_count; }

    // The node shown at a place (0 .. Count() - 1), and the place of a node (-1 for none: a
    // search through the order, for the few nodes a user selects).
    NodeId NodeAt(size_t place) const {
        return m_order.empty() ? static_cast<NodeId>(place) : static_cast<NodeId>(m_order[place]);
    }
    int PlaceOf(NodeId node) const;
    // The nodes in the order shown, every node once; empty while that is their own order.
    const std::vector<uint32_t>& Order() const { return m_order; }
    // Shows the nodes in order (every node once), keeping the views' selection on its nodes.
    void SetOrder(std::vector<uint32_t> order);

    QModelIndex IndexOf(NodeId node, int column = 0) const;
    static NodeId NodeOf(const QModelIndex& index);
    bool IsValid(NodeId node) const { return node >= 0 && static_cast<size_t>(node) < m_count; }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TreeGridColumn> m_columns;
    const ImageList* m_images = nullptr;
    size_t m_count = 0;
    std::vector<uint32_t> m_order;
};

} // namespace vyp
