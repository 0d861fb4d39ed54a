// The item model behind a TreeGrid: nodes in plain arrays (a parent, a payload, and the children
// of every node in one flat array), no object per node, so a million nodes cost a few dozen
// bytes each. Texts, pictures and the order come from the TreeGrid's callbacks.
#pragma once

#include <QAbstractItemModel>

#include <cstdint>
#include <functional>
#include <vector>

namespace vyp {

class ImageList;

using NodeId = int32_t;
inline constexpr NodeId kNoNode = -1;

struct TreeGridColumn {
    QString caption;
    int width = 100;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// What both grids' models answer for a cell and a header section, from the owner's callbacks
// and the columns.
QVariant GridCellData(NodeId node, int column, int role,
                      const std::function<QString(NodeId, int)>& textOf,
                      const std::function<int(NodeId, int)>& imageOf, const ImageList* images,
                      const std::vector<TreeGridColumn>& columns);
QVariant GridHeaderData(int section, Qt::Orientation orientation, int role,
                        const std::vector<TreeGridColumn>& columns);

class TreeGridModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TreeGridModel(QObject* parent = nullptr);

    // What the grid's owner answers for a node.
    std::function<QString(NodeId, int column)> textOf;
    std::function<int(NodeId, int column)> imageOf;         // an index of images, or -1
    std::function<int(NodeId, NodeId, int column)> compare; // < 0, 0, > 0
    // Optional: fills keys (one per node, by node number) whose order is compare's order on
    // column, and says whether it did; a sort then compares numbers held side by side instead
    // of calling compare twenty million times for a million nodes.
    std::function<bool(int column, std::vector<uint64_t>& keys)> sortKeys;
    // Optional: runs a sort's work (the keys and the new order, which no view sees until the
    // work has returned) and returns once it has: on a worker while the windows wait, say.
    // Without it the work runs at once.
    std::function<void(const std::function<void()>& work)> runSortWork;

    void SetColumns(std::vector<TreeGridColumn> columns);
    const std::vector<TreeGridColumn>& Columns() const { return m_columns; }
    void SetImages(const ImageList* images) { m_images = images; }

    // Structure changes between BeginReset and EndReset are shown to views at once.
    void BeginReset();
    void EndReset();

    // Removes every node and gives their memory back: after a million rows, a few.
    void Clear();
    // Room for count nodes, so that adding them does not overshoot by growing.
    void Reserve(size_t count);
    // Appends a node as the last child of parent (kNoNode: top level). Nodes are numbered from 0
    // in the order they are added. A payload equal to its node's number costs no memory.
    NodeId AddNode(NodeId parent, uint64_t payload);
    uint64_t Payload(NodeId node) const {
        return m_payload.empty() ? static_cast<uint64_t>(node)
                                 : m_payload[static_cast<size_t>(node)];
    }
    NodeId Parent(NodeId node) const { return m_parent[static_cast<size_t>(node)]; }
    size_t Count() const { return m_parent.size(); }

    // Whether node is kNoNode (the top level) or one of the nodes there are now. Views may hold
    // on to an index a little longer than its node exists.
    bool IsValid(NodeId node) const {
        return node == kNoNode || (node >= 0 && static_cast<size_t>(node) < m_parent.size());
    }

    int ChildCount(NodeId parent) const;
    NodeId Child(NodeId parent, int row) const;
    int RowOf(NodeId node) const;

    // Sorts every node's children, stably, by compare on column; descending keeps equal nodes in
    // their order too. Views keep their selection.
    void Sort(int column, Qt::SortOrder order);

    QModelIndex IndexOf(NodeId node, int column = 0) const;
    static NodeId NodeOf(const QModelIndex& index);

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void RebuildChildren() const;
    size_t Slot(NodeId parent) const {
        return parent == kNoNode ? m_parent.size() : static_cast<size_t>(parent);
    }
    void SortRange(size_t begin, size_t end, int column, Qt::SortOrder order);
    // The children of every node and each node's row after a sort by keys.
    void SortByKeys(const std::vector<uint64_t>& keys, Qt::SortOrder order,
                    std::vector<NodeId>& children, std::vector<int32_t>& rows) const;
    void RowsFromChildren(const std::vector<NodeId>& children, std::vector<int32_t>& rows) const;

    std::vector<TreeGridColumn> m_columns;
    const ImageList* m_images = nullptr;
    std::vector<NodeId> m_parent;
    // Empty while every payload is its node's number (rows of a table, nodes that find their data
    // by their number); else one per node.
    std::vector<uint64_t> m_payload;
    // Children of node n are m_children[m_firstChild[n] .. m_firstChild[n + 1]); the slot after
    // the last node stands for the top level. Rebuilt after nodes were added.
    mutable std::vector<uint32_t> m_firstChild;
    mutable std::vector<NodeId> m_children;
    // Each node's row under its parent, kept only once a sort has reordered children; until then
    // every node's children are in the order they were added, and a row is found by bisection.
    mutable std::vector<int32_t> m_row;
    mutable bool m_childrenStale = false;
    int m_resetDepth = 0;
};

} // namespace vyp
