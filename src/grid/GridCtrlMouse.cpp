// The mouse side of CGridCtrl: pressing, drag-selecting with auto-scroll, resizing rows
// and columns by their dividers, starting edits, the title tip and the context menu.

#include "grid/GridCtrl.h"
#include "grid/TitleTip.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimerEvent>

namespace orvalis {

bool CGridCtrl::MouseOverColumnResizeArea(const QPoint& point) const
{
    return Geometry().IsOnColumnDivider(GridPoint{point.x(), point.y()}, resizeCaptureRange);
}

bool CGridCtrl::MouseOverRowResizeArea(const QPoint& point) const
{
    return Geometry().IsOnRowDivider(GridPoint{point.x(), point.y()}, resizeCaptureRange);
}

void CGridCtrl::InvertBand(int pos)
{
    // The band is drawn inverted over the cells by the paint; only its strips repaint.
    const bool columns = m_mouseMode == MouseSizingColumn;
    const auto strip = [&](int p) {
        return columns ? QRect(p, 0, 2, viewport()->height()) : QRect(0, p, viewport()->width(), 2);
    };
    if (m_bandPos >= 0)
        viewport()->update(strip(m_bandPos));
    m_bandPos = pos;
    if (pos >= 0)
        viewport()->update(strip(pos));
}

void CGridCtrl::StartSizing(const QPoint& point)
{
    const bool columns = m_mouseMode == MouseOverColumnDivider;
    m_mouseMode = columns ? MouseSizingColumn : MouseSizingRow;
    const GridPoint at{point.x(), point.y()};
    const int index = columns ? Geometry().ColumnToSize(at, resizeCaptureRange)
                              : Geometry().RowToSize(at, resizeCaptureRange);
    CellId& cell = m_leftClickDownCell;
    (columns ? cell.col : cell.row) = index;
    QPoint start;
    if (index < 0 || !GetCellOrigin(columns ? 0 : cell.row, columns ? cell.col : 0, start))
        return;
    InvertBand(columns ? point.x() : point.y());
    m_sizingIndex = index;
    m_sizingStart = columns ? start.x() : start.y();
}

void CGridCtrl::FinishSizing(const QPoint& point)
{
    const bool columns = m_mouseMode == MouseSizingColumn;
    InvertBand(-1);
    if (point == m_leftClickDownPoint)
        return;
    QPoint start;
    if (!GetCellOrigin(m_leftClickDownCell.row, m_leftClickDownCell.col, start))
        return;
    // The pointer cannot pass the start of the row or column being sized.
    if (columns)
        m_store.SetColumnWidth(m_leftClickDownCell.col, std::max(0, point.x() - start.x()));
    else
        m_store.SetRowHeight(m_leftClickDownCell.row, std::max(0, point.y() - start.y()));
    ResetScrollBars();
    viewport()->update();
}

void CGridCtrl::StopTimer()
{
    if (m_timerId != 0)
        killTimer(m_timerId);
    m_timerId = 0;
}

void CGridCtrl::OnFixedRowClick(CellId& cell)
{
    if (m_options.listMode) {
        if (!m_options.sortOnClick)
            return;
        setCursor(Qt::WaitCursor);
        if (cell.col == m_options.sortColumn) {
            m_options.sortAscending = !m_options.sortAscending;
        } else {
            m_options.sortAscending = true;
            m_options.sortColumn = cell.col;
        }
        // Rows move under the selection: it starts afresh.
        m_selection.ClearSelectedCells();
        SetFocusCell(CellId{});
        m_store.SortTextRows(m_options.sortColumn, m_options.sortAscending);
        unsetCursor();
        viewport()->update();
        return;
    }
    m_mouseMode = cell.col < m_store.GetFixedColumnCount() ? MouseSelectAll : MouseSelectColumns;
    m_selection.OnSelecting(cell, m_mouseMode);
}

void CGridCtrl::OnFixedColumnClick(CellId& cell)
{
    m_mouseMode = cell.row < m_store.GetFixedRowCount() ? MouseSelectAll : MouseSelectRows;
    m_selection.OnSelecting(cell, m_mouseMode);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event)
{
    if (m_titleTip)
        m_titleTip->Hide();
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    m_hadFocusAtPress = hasFocus();
    m_leftClickDownPoint = point;
    m_cursorPoint = point;
    m_leftClickDownCell = GetCellFromPt(point);
    const CellId pressed = m_leftClickDownCell;
    if (!m_store.IsValidCell(pressed.row, pressed.col))
        return;
    m_selection.SetSelectionStartCell(shift ? m_selection.GetFocusCell() : pressed);
    setFocus(Qt::MouseFocusReason);  // ends any in-place edit

    if (pressed == m_selection.GetFocusCell()) {
        m_mouseMode = MousePrepareEdit;
        return;
    }
    if (m_mouseMode != MouseOverColumnDivider && m_mouseMode != MouseOverRowDivider) {
        // A press on a header focuses the first non-fixed cell of that row or column.
        SetFocusCell(CellId{});
        SetFocusCell(std::max(pressed.row, m_store.GetFixedRowCount()),
                     std::max(pressed.col, m_store.GetFixedColumnCount()));
    }
    if (m_options.dragAndDropEnabled && m_hadFocusAtPress &&
        m_selection.IsSelected(pressed.row, pressed.col)) {
        m_mouseMode = MousePrepareDrag;
        return;
    }
    if (m_mouseMode == MouseNothing) {
        if (m_options.allowColumnResize && MouseOverColumnResizeArea(point)) {
            viewport()->setCursor(Qt::SizeHorCursor);
            m_mouseMode = MouseOverColumnDivider;
        } else if (m_options.allowRowResize && MouseOverRowResizeArea(point)) {
            viewport()->setCursor(Qt::SizeVerCursor);
            m_mouseMode = MouseOverRowDivider;
        }
    }
    if (m_mouseMode == MouseOverColumnDivider || m_mouseMode == MouseOverRowDivider) {
        StartSizing(point);
    } else {
        // Ctrl keeps the old selection and adds the new one to it.
        m_selection.ForgetKeptSelection();
        if (ctrl)
            m_selection.KeepSelection();
        CellId cell = pressed;
        if (cell.row < m_store.GetFixedRowCount()) {
            OnFixedRowClick(cell);
        } else if (cell.col < m_store.GetFixedColumnCount()) {
            OnFixedColumnClick(cell);
        } else {
            m_mouseMode = m_options.listMode ? MouseSelectRows : MouseSelectCells;
            m_selection.OnSelecting(cell, m_mouseMode);
        }
        StopTimer();
        m_timerId = startTimer(timerInterval);
    }
    m_lastMousePoint = point;
}

void CGridCtrl::ShowTitleTip(const QPoint& point)
{
    if (!m_titleTip)
        m_titleTip = std::make_unique<CTitleTip>(viewport());
    const CellId cell = GetCellFromPt(point);
    QRect textRect;
    QRect cellRect;
    if (!GetTextRect(cell.row, cell.col, textRect) || !GetCellRect(cell.row, cell.col, cellRect))
        return;
    const LogFont font = m_store.GetCellFont(cell.row, cell.col);
    m_titleTip->Show(textRect, m_store.CellTextRef(cell.row, cell.col), 0, &cellRect, &font);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    m_cursorPoint = point;
    // A drag may leave the window in its very first move, on its way to another one.
    if (m_mouseMode != MouseDragging && m_mouseMode != MousePrepareDrag &&
        !viewport()->rect().contains(point))
        return;
    if (m_titleTip && m_titleTip->isVisible() && !m_titleTip->HoverRect().contains(point))
        m_titleTip->Hide();
    if (!(event->buttons() & Qt::LeftButton) || m_mouseMode == MouseNothing) {
        if (m_options.allowColumnResize && MouseOverColumnResizeArea(point)) {
            if (m_mouseMode != MouseOverColumnDivider) {
                viewport()->setCursor(Qt::SizeHorCursor);
                m_mouseMode = MouseOverColumnDivider;
            }
        } else if (m_options.allowRowResize && MouseOverRowResizeArea(point)) {
            if (m_mouseMode != MouseOverRowDivider) {
                viewport()->setCursor(Qt::SizeVerCursor);
                m_mouseMode = MouseOverRowDivider;
            }
        } else if (m_mouseMode != MouseNothing) {
            viewport()->setCursor(Qt::ArrowCursor);
            m_mouseMode = MouseNothing;
        }
        if (m_mouseMode == MouseNothing && m_options.titleTips)
            ShowTitleTip(point);
        m_lastMousePoint = point;
        return;
    }
    if (!m_store.IsValidCell(m_leftClickDownCell.row, m_leftClickDownCell.col)) {
        m_lastMousePoint = point;
        return;
    }
    switch (m_mouseMode) {
    case MouseSelectColumns:
    case MouseSelectRows:
    case MouseSelectCells: {
        const CellId cell = GetCellFromPt(point);
        if (!m_store.IsValidCell(cell.row, cell.col))
            return;
        if (cell != m_selection.GetFocusCell()) {
            m_selection.OnSelecting(cell, m_mouseMode);
            if (!m_store.IsFixed(cell.row, cell.col))
                SetFocusCell(cell);
        }
        break;
    }
    case MouseSizingRow:
        InvertBand(std::max(point.y(), m_sizingStart));
        break;
    case MouseSizingColumn:
        InvertBand(std::max(point.x(), m_sizingStart));
        break;
    case MousePrepareDrag:
        // A short wobble of the hand is still a click, not a drag.
        if ((point - m_leftClickDownPoint).manhattanLength() >= QApplication::startDragDistance())
            OnBeginDrag();
        return;
    default:
        // Moving after a press on the focus cell starts nothing.
        break;
    }
    m_lastMousePoint = point;
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    QPoint point = event->position().toPoint();
    StopTimer();
    switch (m_mouseMode) {
    case MousePrepareEdit: {
        const CellId focus = m_selection.GetFocusCell();
        m_mouseMode = MouseNothing;
        OnEditCell(focus.row, focus.col, EditStart::Mouse());
        break;
    }
    case MousePrepareDrag:
        ResetSelectedRange();
        break;
    case MouseSizingColumn:
        point.setX(std::max(point.x(), m_sizingStart));
        FinishSizing(point);
        break;
    case MouseSizingRow:
        point.setY(std::max(point.y(), m_sizingStart));
        FinishSizing(point);
        break;
    default:
        break;
    }
    m_mouseMode = MouseNothing;
    viewport()->setCursor(Qt::ArrowCursor);
    // The pointer may still rest on a divider: offer it again at once, so the second
    // click of a double click on it does not move the focus.
    if (!(event->buttons() & Qt::LeftButton) && viewport()->rect().contains(point)) {
        if (m_options.allowColumnResize && MouseOverColumnResizeArea(point)) {
            viewport()->setCursor(Qt::SizeHorCursor);
            m_mouseMode = MouseOverColumnDivider;
        } else if (m_options.allowRowResize && MouseOverRowResizeArea(point)) {
            viewport()->setCursor(Qt::SizeVerCursor);
            m_mouseMode = MouseOverRowDivider;
        }
    }
    if (m_store.IsValidCell(m_leftClickDownCell.row, m_leftClickDownCell.col))
        QMetaObject::invokeMethod(this, &CGridCtrl::Clicked, Qt::QueuedConnection);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    // The second press of the double click already began sizing or selecting; the
    // double click decides instead.
    StopTimer();
    if (m_mouseMode == MouseSizingColumn || m_mouseMode == MouseSizingRow) {
        const bool columns = m_mouseMode == MouseSizingColumn;
        InvertBand(-1);
        m_mouseMode = columns ? MouseOverColumnDivider : MouseOverRowDivider;
    } else if (m_mouseMode != MouseOverColumnDivider && m_mouseMode != MouseOverRowDivider) {
        m_mouseMode = MouseNothing;
    }
    const CellId cell = GetCellFromPt(point);
    const GridPoint at{point.x(), point.y()};
    if (m_mouseMode == MouseOverColumnDivider) {
        if (const int col = Geometry().ColumnToSize(at, resizeCaptureRange); col >= 0) {
            m_store.AutoSizeColumn(col);
            viewport()->update();
        }
    } else if (m_mouseMode == MouseOverRowDivider) {
        if (const int row = Geometry().RowToSize(at, resizeCaptureRange); row >= 0) {
            m_store.AutoSizeRow(row);
            viewport()->update();
        }
    } else {
        const CellId down = m_leftClickDownCell;
        const CellId focus = m_selection.GetFocusCell();
        if (m_store.IsValidCell(down.row, down.col) && !m_store.IsFixed(down.row, down.col)) {
            OnEditCell(focus.row, focus.col, EditStart::Mouse());
        } else if (m_options.listMode && m_store.IsValidCell(cell.row, cell.col) &&
                   cell.row >= m_store.GetFixedRowCount() &&
                   cell.col < m_store.GetFixedColumnCount()) {
            OnEditCell(cell.row, cell.col, EditStart::Mouse());
        }
    }
}

void CGridCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_dragScrollTimer.timerId()) {
        DragAutoScroll();
        return;
    }
    if (event->timerId() != m_timerId || m_timerId == 0) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    const QPoint p = m_cursorPoint;
    const int right = viewport()->width();
    const int bottom = viewport()->height();
    const int fh = m_store.GetFixedRowHeight();
    const int fw = m_store.GetFixedColumnWidth();
    const auto select = [&](int x, int y) {
        m_selection.OnSelecting(GetCellFromPt(QPoint(x, y)), m_mouseMode);
    };
    if (p.y() > bottom) {
        OnKeyDown(GridKey::Down, false);
        select(std::clamp(p.x(), 0, right), bottom);
    } else if (p.y() < fh) {
        OnKeyDown(GridKey::Up, false);
        select(std::clamp(p.x(), 0, right), fh + 1);
    }
    if (p.x() > right) {
        OnKeyDown(GridKey::Right, false);
        select(right, std::clamp(p.y(), 0, bottom));
    } else if (p.x() < fw) {
        OnKeyDown(GridKey::Left, false);
        select(fw + 1, std::clamp(p.y(), 0, bottom));
    }
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    QPoint at = event->globalPos();
    // From the keyboard (the Menu key) the menu opens under the focus cell, where the
    // user is working, rather than wherever the pointer happens to be.
    const CellId focus = m_selection.GetFocusCell();
    QRect cell;
    if (event->reason() == QContextMenuEvent::Keyboard && IsCellVisible(focus.row, focus.col) &&
        GetCellRect(focus.row, focus.col, cell))
        at = viewport()->mapToGlobal(cell.bottomLeft());
    menu->exec(at);
}

} // namespace orvalis
