#include "ui/common/TreeGrid.h"

#include "ui/common/GridInput.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace vyp {

TreeGrid::TreeGrid(QWidget* parent) : QTreeView(parent), m_model(new TreeGridModel(this)) {
    setModel(m_model);
    setStyle(&m_style);
    setUniformRowHeights(true); // keeps a million rows cheap to lay out
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setExpandsOnDoubleClick(true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(kMinColumnWidth);
    header()->setMaximumSectionSize(kMaxColumnWidth);
    header()->viewport()->installEventFilter(this);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ReportChange(TreeGridModel::NodeOf(current)); });
}

void TreeGrid::SetColumns(std::vector<TreeGridColumn> columns) {
    m_model->SetColumns(columns);
    for (size_t i = 0; i < columns.size(); ++i)
        SetColumnWidth(static_cast<int>(i), columns[i].width);
}

void TreeGrid::SetHeaderShown(bool shown) {
    setHeaderHidden(!shown);
}

void TreeGrid::FitColumnToContents() {
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
}

void TreeGrid::SetColumnWidth(int column, int width) {
    setColumnWidth(column, std::clamp(width, kMinColumnWidth, kMaxColumnWidth));
}

void TreeGrid::BeginUpdate() {
    if (m_updateDepth++ == 0) {
        setUpdatesEnabled(false);
        m_model->BeginReset();
    }
}

void TreeGrid::EndUpdate() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    if (m_autoSort && m_sortColumn >= 0)
        m_model->Sort(m_sortColumn, m_sortDirection);
    m_model->EndReset();
    // The reset forgot the view's selection; put back the node that is selected now.
    const NodeId selected = m_changePending ? m_pendingNode : m_lastReported;
    if (selected != kNoNode && static_cast<size_t>(selected) < NodeCount()) {
        const QSignalBlocker block(selectionModel());
        const QModelIndex index = m_model->IndexOf(selected);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        scrollTo(index);
    } else if (!m_changePending) {
        m_lastReported = kNoNode;
    }
    setUpdatesEnabled(true);
    if (m_changePending) {
        m_changePending = false;
        ReportChange(m_pendingNode);
    }
}

void TreeGrid::ReportChange(NodeId node) {
    if (m_updateDepth > 0) {
        m_changePending = true;
        m_pendingNode = node;
        return;
    }
    m_lastReported = node;
    emit SelectionChanged(node);
}

void TreeGrid::Clear() {
    BeginUpdate();
    m_model->Clear();
    // The selected node is gone with the others; a later SelectNode chooses anew.
    m_changePending = false;
    m_pendingNode = kNoNode;
    m_lastReported = kNoNode;
    EndUpdate();
}

NodeId TreeGrid::AddChild(NodeId parent, uint64_t payload) {
    BeginUpdate();
    const NodeId node = m_model->AddNode(parent, payload);
    EndUpdate();
    return node;
}

NodeId TreeGrid::LastNode() const {
    NodeId node = kNoNode;
    for (;;) {
        const int count = m_model->ChildCount(node);
        if (count == 0)
            return node;
        node = m_model->Child(node, count - 1);
    }
}

NodeId TreeGrid::PreviousNode(NodeId node) const {
    if (node == kNoNode)
        return kNoNode;
    const int row = m_model->RowOf(node);
    const NodeId parent = m_model->Parent(node);
    if (row == 0)
        return parent;
    NodeId previous = m_model->Child(parent, row - 1);
    while (int count = m_model->ChildCount(previous))
        previous = m_model->Child(previous, count - 1);
    return previous;
}

NodeId TreeGrid::SelectedNode() const {
    if (m_updateDepth > 0 && m_changePending)
        return m_pendingNode;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? kNoNode : TreeGridModel::NodeOf(rows.first());
}

void TreeGrid::SelectNode(NodeId node) {
    if (m_updateDepth > 0) {
        m_changePending = true;
        m_pendingNode = node;
        return;
    }
    if (node == kNoNode) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->IndexOf(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void TreeGrid::SetSortColumn(int column, Qt::SortOrder direction) {
    m_sortColumn = column;
    m_sortDirection = direction;
    if (m_autoSort && m_updateDepth == 0 && column >= 0)
        SortTree(column, direction);
}

void TreeGrid::SortTree(int column, Qt::SortOrder direction) {
    m_model->Sort(column, direction);
    const NodeId selected = SelectedNode();
    if (selected != kNoNode)
        scrollTo(m_model->IndexOf(selected));
}

// While nodes are being replaced the view's idea of them is stale: input waits for the bracket
// to close (a build lets events run in between).
bool TreeGrid::event(QEvent* event) {
    if (m_updateDepth > 0 && GridInput::IsInput(event)) {
        event->ignore();
        return true;
    }
    return QTreeView::event(event);
}

bool TreeGrid::viewportEvent(QEvent* event) {
    if (m_updateDepth > 0 && GridInput::IsInput(event)) {
        event->ignore();
        return true;
    }
    return QTreeView::viewportEvent(event);
}

// The selection is drawn stronger while the grid has the focus.
void TreeGrid::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void TreeGrid::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void TreeGrid::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event);
    QTreeView::keyPressEvent(event); // the key still does what it does in any tree
}

void TreeGrid::mousePressEvent(QMouseEvent* event) {
    // A right click opens the owner's popup menu; it must not move the selection.
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit customContextMenuRequested(event->position().toPoint());
        return;
    }
    QTreeView::mousePressEvent(event);
}

bool TreeGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header()->viewport()) {
        Qt::MouseButton button = Qt::NoButton;
        const int column = m_headerInput.HeaderClick(*header(), event, button);
        if (column >= 0)
            emit HeaderClicked(column, button);
    }
    return QTreeView::eventFilter(watched, event);
}

} // namespace vyp
