// The grid of the flat tables (a folder's files, the hits of a search, the differences of two
// lists): an item view that keeps nothing per row, painting only the rows in sight through the
// delegate, over a FlatGridModel. It looks and answers as the tree grid does (TreeGridStyle, a
// header whose clicks report the mouse button, one selected row, the keys of a list: arrows,
// Page Up/Down, Home/End, typing a name's first letters), with the same node interface: a node is
// the owner's row number, whatever place the order gives it.
#pragma once

#include "ui/common/FlatGridModel.h"
#include "ui/common/GridInput.h"
#include "ui/common/TreeGridStyle.h"

#include <QAbstractItemView>

#include <functional>
#include <vector>

class QHeaderView;
class QKeyEvent;

namespace vyp {

class FlatGrid : public QAbstractItemView {
    Q_OBJECT
public:
    static constexpr int kMinColumnWidth = 10;
    static constexpr int kMaxColumnWidth = 10000;

    explicit FlatGrid(QWidget* parent = nullptr);
    ~FlatGrid() override;

    FlatGridModel& Model() { return *m_model; }
    const FlatGridModel& Model() const { return *m_model; }
    QHeaderView* header() const { return m_header; }

    // Callbacks of the owner.
    std::function<QString(NodeId, int column)>& OnGetText() { return m_model->textOf; }
    std::function<int(NodeId, int column)>& OnGetImageIndex() { return m_model->imageOf; }

    void SetColumns(std::vector<TreeGridColumn> columns);
    void SetImages(const ImageList* images) { m_model->SetImages(images); }

    // While a bracket is open the grid neither repaints nor takes input nor reports a selection
    // change; closing the outermost one reports the last change.
    void BeginUpdate();
    void EndUpdate();

    // count nodes (0 .. count - 1) in their own order; the selection is dropped.
    void SetNodes(size_t count);
    size_t NodeCount() const { return m_model->Count(); }
    // Shows the nodes in order (every node once), the selected node kept and scrolled to.
    void SetOrder(std::vector<uint32_t> order);

    NodeId FirstNode() const { return ChildAt(kNoNode, 0); }
    // The node shown at row (kNoNode, the grid's top level, is the only parent).
    NodeId ChildAt(NodeId parent, int row) const;
    int ChildCount(NodeId parent) const {
        return parent == kNoNode ? static_cast<int>(m_model->Count()) : 0;
    }

    NodeId SelectedNode() const;
    void SelectNode(NodeId node);

    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // The height of every row.
    int RowHeight() const;

    // QAbstractItemView
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    // The selected node, or kNoNode; within an update bracket once, when it closes.
    void SelectionChanged(vyp::NodeId node);
    // A key pressed in the grid, before the grid does with it what a list does.
    void KeyDown(QKeyEvent* event);
    // A press and a release on the same header column without a drag between, with any button.
    void HeaderClicked(int column, Qt::MouseButton button);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;

    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReportChange(NodeId node);
    // The first row in sight, and how many rows fit wholly in the viewport (at least 1).
    int TopRow() const;
    int RowsInSight() const;
    // The row under a point of the viewport, or -1.
    int RowAt(int y) const;
    QRect RowRect(int row) const;
    void PaintRow(QPainter& painter, int row, const QRect& exposed);

    FlatGridModel* m_model;
    QHeaderView* m_header;
    TreeGridStyle m_style;
    mutable int m_rowHeight = 0; // 0: to be measured
    int m_hoverRow = -1;
    int m_updateDepth = 0;
    bool m_changePending = false;
    NodeId m_pendingNode = kNoNode;
    NodeId m_lastReported = kNoNode;
    GridInput m_headerInput;
};

} // namespace vyp
