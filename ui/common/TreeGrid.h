// The tree-grid control of all three tables: a tree view over a TreeGridModel, with one payload
// per node, columns, a header whose clicks report the mouse button, update brackets, a stable
// sort in both directions, callbacks that answer cell texts and pictures and compare two nodes,
// and signals for selection changes, keys and header clicks. The owner keeps the data; the grid
// keeps ids and payloads.
#pragma once

#include "ui/common/GridInput.h"
#include "ui/common/TreeGridModel.h"
#include "ui/common/TreeGridStyle.h"

#include <QTreeView>

#include <functional>
#include <vector>

class QKeyEvent;

namespace vyp {

class TreeGrid : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kMinColumnWidth = 10;
    static constexpr int kMaxColumnWidth = 10000;

    explicit TreeGrid(QWidget* parent = nullptr);

    TreeGridModel& Model() { return *m_model; }

    // Callbacks of the owner.
    std::function<QString(NodeId, int column)>& OnGetText() { return m_model->textOf; }
    std::function<int(NodeId, int column)>& OnGetImageIndex() { return m_model->imageOf; }
    std::function<int(NodeId, NodeId, int column)>& OnCompareNodes() { return m_model->compare; }
    std::function<bool(int column, std::vector<uint64_t>& keys)>& OnSortKeys() {
        return m_model->sortKeys;
    }

    void SetColumns(std::vector<TreeGridColumn> columns);
    void SetHeaderShown(bool shown);
    // The only column as wide as its longest text, read by scrolling sideways: names are never
    // cut short. For a tree without a header.
    void FitColumnToContents();
    void SetImages(const ImageList* images) { m_model->SetImages(images); }

    // While a bracket is open the grid neither repaints nor sorts nor reports a selection
    // change; closing the outermost one sorts (with auto-sort on) and reports the last change.
    void BeginUpdate();
    void EndUpdate();

    void Clear();
    NodeId AddChild(NodeId parent, uint64_t payload); // kNoNode: a top-level node
    // A node whose payload is its own id, which costs no memory: for owners that find a node's
    // data by its id.
    NodeId AddChild(NodeId parent) { return AddChild(parent, NodeCount()); }
    uint64_t Payload(NodeId node) const { return m_model->Payload(node); }
    size_t NodeCount() const { return m_model->Count(); }

    // Tree order (pre-order).
    NodeId FirstNode() const { return m_model->Child(kNoNode, 0); }
    NodeId LastNode() const;
    NodeId PreviousNode(NodeId node) const;
    NodeId ChildAt(NodeId parent, int row) const { return m_model->Child(parent, row); }
    int ChildCount(NodeId parent) const { return m_model->ChildCount(parent); }

    NodeId SelectedNode() const;
    void SelectNode(NodeId node);

    // The header's sort column (-1 for none) and direction; with auto-sort on, changing them
    // sorts all nodes.
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortDirection() const { return m_sortDirection; }
    void SetSortColumn(int column, Qt::SortOrder direction);
    void SetAutoSort(bool on) { m_autoSort = on; }
    void SortTree(int column, Qt::SortOrder direction);

    int ColumnWidth(int column) const { return columnWidth(column); }
    void SetColumnWidth(int column, int width);

signals:
    // The selected node, or kNoNode; within an update bracket once, when it closes.
    void SelectionChanged(vyp::NodeId node);
    // A key pressed in the grid, before the grid does with it what a tree does.
    void KeyDown(QKeyEvent* event);
    // A press and a release on the same header column without a drag between, with any button.
    void HeaderClicked(int column, Qt::MouseButton button);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReportChange(NodeId node);

    TreeGridModel* m_model;
    TreeGridStyle m_style;
    int m_updateDepth = 0;
    bool m_changePending = false;
    NodeId m_pendingNode = kNoNode;
    NodeId m_lastReported = kNoNode;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortDirection = Qt::AscendingOrder;
    bool m_autoSort = false;
    GridInput m_headerInput;
};

} // namespace vyp
