#include "ui/common/FlatGrid.h"

#include "ui/common/GridInput.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace vyp {

FlatGrid::FlatGrid(QWidget* parent)
    : QAbstractItemView(parent), m_model(new FlatGridModel(this)),
      m_header(new QHeaderView(Qt::Horizontal, this)) {
    setStyle(&m_style);
    QAbstractItemView::setModel(m_model);
    m_header->setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A row at a time: the scroll bar counts rows, so no number of rows overflows its range.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->setStretchLastSection(false);
    m_header->setMinimumSectionSize(kMinColumnWidth);
    m_header->setMaximumSectionSize(kMaxColumnWidth);
    m_header->viewport()->installEventFilter(this);
    const auto relayout = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(m_header, &QHeaderView::sectionResized, this, relayout);
    connect(m_header, &QHeaderView::sectionMoved, this, relayout);
    connect(m_header, &QHeaderView::geometriesChanged, this, relayout);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                viewport()->update(); // the keyboard's frame spans its whole row
                ReportChange(FlatGridModel::NodeOf(current));
            });
}

// The header is a child, deleted after this grid's own parts are gone: it must not call back.
FlatGrid::~FlatGrid() {
    m_header->viewport()->removeEventFilter(this);
    disconnect(m_header, nullptr, this, nullptr);
}

void FlatGrid::SetColumns(std::vector<TreeGridColumn> columns) {
    m_model->SetColumns(columns);
    for (size_t i = 0; i < columns.size(); ++i)
        SetColumnWidth(static_cast<int>(i), columns[i].width);
    m_rowHeight = 0;
    updateGeometries();
}

int FlatGrid::ColumnWidth(int column) const {
    return m_header->sectionSize(column);
}

void FlatGrid::SetColumnWidth(int column, int width) {
    m_header->resizeSection(column, std::clamp(width, kMinColumnWidth, kMaxColumnWidth));
}

void FlatGrid::BeginUpdate() {
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void FlatGrid::EndUpdate() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    setUpdatesEnabled(true);
    if (m_changePending) {
        m_changePending = false;
        const NodeId node = m_pendingNode;
        {
            const QSignalBlocker block(selectionModel());
            SelectNode(node);
        }
        ReportChange(node);
    }
}

void FlatGrid::ReportChange(NodeId node) {
    if (m_updateDepth > 0) {
        m_changePending = true;
        m_pendingNode = node;
        return;
    }
    m_lastReported = node;
    emit SelectionChanged(node);
}

void FlatGrid::SetNodes(size_t count) {
    // The reset drops the selection without a word, as a new fill should.
    m_model->SetCount(count);
    m_changePending = false;
    m_pendingNode = kNoNode;
    m_lastReported = kNoNode;
    m_rowHeight = 0;
    m_hoverRow = -1;
    verticalScrollBar()->setValue(0);
    updateGeometries();
    viewport()->update();
}

void FlatGrid::SetOrder(std::vector<uint32_t> order) {
    m_model->SetOrder(std::move(order));
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (!selected.isEmpty())
        scrollTo(selected.first());
    viewport()->update();
}

NodeId FlatGrid::ChildAt(NodeId parent, int row) const {
    if (parent != kNoNode || row < 0 || static_cast<size_t>(row) >= m_model->Count())
        return kNoNode;
    return m_model->NodeAt(static_cast<size_t>(row));
}

NodeId FlatGrid::SelectedNode() const {
    if (m_updateDepth > 0 && m_changePending)
        return m_pendingNode;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? kNoNode : FlatGridModel::NodeOf(rows.first());
}

void FlatGrid::SelectNode(NodeId node) {
    if (m_updateDepth > 0) {
        m_changePending = true;
        m_pendingNode = node;
        return;
    }
    const QModelIndex index = m_model->IndexOf(node);
    if (!index.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

// ---- geometry -------------------------------------------------------------------------------

int FlatGrid::RowHeight() const {
    if (m_rowHeight > 0)
        return m_rowHeight;
    // Every row as high as the first, as a tree of uniform rows measures them.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int height = 0;
    if (m_model->Count() > 0) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            if (m_header->isSectionHidden(column))
                continue;
            const QModelIndex index = m_model->index(0, column);
            height =
                std::max(height, itemDelegateForIndex(index)->sizeHint(option, index).height());
        }
    }
    if (height <= 0) // nothing to measure: a row of text beside a picture
        height = std::max(option.fontMetrics.height(), option.decorationSize.height()) + 2;
    m_rowHeight = height;
    return m_rowHeight;
}

int FlatGrid::TopRow() const {
    return verticalScrollBar()->value();
}

int FlatGrid::RowsInSight() const {
    return std::max(1, viewport()->height() / RowHeight());
}

int FlatGrid::RowAt(int y) const {
    if (y < 0)
        return -1;
    const int row = TopRow() + y / RowHeight();
    return row < static_cast<int>(m_model->Count()) ? row : -1;
}

QRect FlatGrid::RowRect(int row) const {
    return QRect(-m_header->offset(), (row - TopRow()) * RowHeight(), m_header->length(),
                 RowHeight());
}

void FlatGrid::updateGeometries() {
    const int headerHeight = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

    const int rows = static_cast<int>(m_model->Count());
    const int sight = RowsInSight();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(sight);
    verticalScrollBar()->setRange(0, std::max(0, rows - sight));
    horizontalScrollBar()->setSingleStep(std::max(2, area.width() / 20));
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setRange(0, std::max(0, m_header->length() - area.width()));
    m_header->setOffset(horizontalScrollBar()->value());
    QAbstractItemView::updateGeometries();
}

void FlatGrid::scrollContentsBy(int dx, int /*dy*/) {
    if (dx != 0)
        m_header->setOffset(horizontalScrollBar()->value());
    viewport()->update(); // only the rows in sight are painted: cheaper than moving pixels
}

QRect FlatGrid::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != m_model || m_header->isSectionHidden(index.column()))
        return {};
    return QRect(m_header->sectionViewportPosition(index.column()),
                 (index.row() - TopRow()) * RowHeight(), m_header->sectionSize(index.column()),
                 RowHeight());
}

void FlatGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const int row = index.row();
    const int top = TopRow();
    const int sight = RowsInSight();
    int wanted = top;
    switch (hint) {
    case EnsureVisible:
        if (row < top)
            wanted = row;
        else if (row >= top + sight)
            wanted = row - sight + 1;
        break;
    case PositionAtTop:
        wanted = row;
        break;
    case PositionAtBottom:
        wanted = row - sight + 1;
        break;
    case PositionAtCenter:
        wanted = row - sight / 2;
        break;
    }
    verticalScrollBar()->setValue(std::max(0, wanted));
}

QModelIndex FlatGrid::indexAt(const QPoint& point) const {
    const int row = RowAt(point.y());
    const int column = m_header->logicalIndexAt(point.x());
    if (row < 0 || column < 0)
        return {};
    return m_model->index(row, column);
}

int FlatGrid::horizontalOffset() const {
    return m_header->offset();
}

int FlatGrid::verticalOffset() const {
    return TopRow() * RowHeight();
}

bool FlatGrid::isIndexHidden(const QModelIndex& index) const {
    return m_header->isSectionHidden(index.column());
}

QModelIndex FlatGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers /*modifiers*/) {
    const int rows = static_cast<int>(m_model->Count());
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid()) // the first key lands on the first row
        return m_model->index(0, 0);
    int row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= RowsInSight();
        break;
    case MovePageDown:
        row += RowsInSight();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight: // a row has no cells of its own to move to: the columns scroll
        horizontalScrollBar()->triggerAction(action == MoveLeft ? QScrollBar::SliderSingleStepSub
                                                                : QScrollBar::SliderSingleStepAdd);
        return current;
    }
    return m_model->index(std::clamp(row, 0, rows - 1), current.column());
}

void FlatGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
    const QRect area = rect.normalized();
    const int rows = static_cast<int>(m_model->Count());
    const int columns = m_model->columnCount();
    QItemSelection selection;
    const bool across = area.right() >= -m_header->offset() &&
                        area.left() < m_header->length() - m_header->offset();
    if (rows > 0 && across && area.bottom() >= 0) {
        const int first = RowAt(std::max(0, area.top()));
        const int last = std::min(rows - 1, TopRow() + area.bottom() / RowHeight());
        if (first >= 0 && first <= last)
            selection.select(m_model->index(first, 0), m_model->index(last, columns - 1));
    }
    selectionModel()->select(selection, flags);
}

QRegion FlatGrid::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const int top = TopRow();
    const int bottom = top + RowsInSight() + 1;
    for (const QItemSelectionRange& range : selection) {
        const int first = std::max(range.top(), top);
        const int last = std::min(range.bottom(), bottom);
        if (first <= last)
            region += QRect(0, (first - top) * RowHeight(), viewport()->width(),
                            (last - first + 1) * RowHeight());
    }
    return region;
}

// ---- painting -------------------------------------------------------------------------------

void FlatGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int rows = static_cast<int>(m_model->Count());
    const QRect exposed = event->rect();
    const int first = RowAt(std::max(0, exposed.top()));
    if (first < 0)
        return;
    const int last = std::min(rows - 1, TopRow() + exposed.bottom() / RowHeight());
    for (int row = first; row <= last; ++row)
        PaintRow(painter, row, exposed);
}

void FlatGrid::PaintRow(QPainter& painter, int row, const QRect& exposed) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.showDecorationSelected = true; // a selected row is selected from edge to edge
    const QRect line = RowRect(row);
    // The columns in sight in the order shown, for where each cell sits in the row's frame.
    std::vector<int> columns;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(column))
            columns.push_back(column);
    }
    const QModelIndex current = currentIndex();
    const bool currentRow = current.isValid() && current.row() == row;
    bool selected = false;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = columns[i];
        const QRect cell(m_header->sectionViewportPosition(column), line.top(),
                         m_header->sectionSize(column), line.height());
        if (cell.right() < exposed.left() || cell.left() > exposed.right())
            continue;
        const QModelIndex index = m_model->index(row, column);
        QStyleOptionViewItem cellOption(option);
        cellOption.rect = cell;
        if (selectionModel()->isSelected(index)) {
            cellOption.state |= QStyle::State_Selected;
            selected = true;
        }
        if (currentRow && hasFocus())
            cellOption.state |= QStyle::State_HasFocus;
        if (row == m_hoverRow) // the whole row, as rows are what is selected
            cellOption.state |= QStyle::State_MouseOver;
        cellOption.viewItemPosition = columns.size() == 1       ? QStyleOptionViewItem::OnlyOne
                                      : i == 0                  ? QStyleOptionViewItem::Beginning
                                      : i + 1 == columns.size() ? QStyleOptionViewItem::End
                                                                : QStyleOptionViewItem::Middle;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cellOption, &painter, this);
        itemDelegateForIndex(index)->paint(&painter, cellOption, index);
    }
    // The keyboard's place on a row that is not selected, framed across the whole row.
    if (currentRow && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor =
            option.palette.color(selected ? QPalette::Highlight : QPalette::Window);
        focus.rect = line;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter);
    }
}

// ---- input ----------------------------------------------------------------------------------

// While the rows are being replaced, input waits for the bracket to close.
bool FlatGrid::event(QEvent* event) {
    if (m_updateDepth > 0 && GridInput::IsInput(event)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    return QAbstractItemView::event(event);
}

bool FlatGrid::viewportEvent(QEvent* event) {
    if (m_updateDepth > 0 && GridInput::IsInput(event)) {
        event->ignore();
        return true;
    }
    // The row under the pointer, for styles that mark it (the desktop's style does where it
    // asks for hover events).
    if (event->type() == QEvent::HoverMove || event->type() == QEvent::HoverEnter ||
        event->type() == QEvent::HoverLeave) {
        const int row = event->type() == QEvent::HoverLeave
                            ? -1
                            : RowAt(static_cast<QHoverEvent*>(event)->position().toPoint().y());
        if (row != m_hoverRow) {
            m_hoverRow = row;
            viewport()->update();
        }
    }
    return QAbstractItemView::viewportEvent(event);
}

// The selection is drawn stronger while the grid has the focus.
void FlatGrid::focusInEvent(QFocusEvent* event) {
    QAbstractItemView::focusInEvent(event);
    viewport()->update();
}

void FlatGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractItemView::focusOutEvent(event);
    viewport()->update();
}

void FlatGrid::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event);
    QAbstractItemView::keyPressEvent(event); // the key still does what it does in any list
}

void FlatGrid::mousePressEvent(QMouseEvent* event) {
    // A right click opens the owner's popup menu; it must not move the selection.
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit customContextMenuRequested(event->position().toPoint());
        return;
    }
    QAbstractItemView::mousePressEvent(event);
}

bool FlatGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_header->viewport()) {
        Qt::MouseButton button = Qt::NoButton;
        const int column = m_headerInput.HeaderClick(*m_header, event, button);
        if (column >= 0)
            emit HeaderClicked(column, button);
    }
    return QAbstractItemView::eventFilter(watched, event);
}

} // namespace vyp
