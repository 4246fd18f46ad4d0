// Drag and drop of CGridCtrl: the selected block leaves as plain text, to this grid,
// another grid or another program; plain text from anywhere lands on the cell under the
// pointer. A plain drag moves, with Ctrl it copies.

#include "grid/GridCtrl.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

namespace orvalis {

namespace {

// The action a drop would take: copy with Ctrl held, else move, within what the source
// allows.
Qt::DropAction ChosenAction(const QDropEvent& event)
{
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    const Qt::DropActions possible = event.possibleActions();
    if (ctrl && (possible & Qt::CopyAction))
        return Qt::CopyAction;
    if (possible & Qt::MoveAction)
        return Qt::MoveAction;
    return Qt::CopyAction;
}

} // namespace

Qt::DropAction CGridCtrl::ExecDrag(std::unique_ptr<QMimeData> mime)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(mime.release());
    return drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void CGridCtrl::OnBeginDrag()
{
    if (!m_options.dragAndDropEnabled)
        return;
    std::unique_ptr<QMimeData> mime = CopyTextFromGrid();
    if (!mime)
        return;
    m_mouseMode = MouseDragging;
    // A block moved within the grid is one edit: its drop and the cut that follows.
    const UserEdit edit(*this, QStringLiteral("Drop"));
    const Qt::DropAction result = ExecDrag(std::move(mime));
    // The drag loop took the button's release: the press ends here. Selection and focus
    // stay as the drag found them unless a move took the cells away.
    m_mouseMode = MouseNothing;
    if (result == Qt::MoveAction)
        CutSelectedText();
}

void CGridCtrl::SetDragOverCell(CellId cell)
{
    if (cell == m_lastDragOverCell)
        return;
    // The drop target is this window's own mark: only its two cells repaint.
    const CellId old = m_lastDragOverCell;
    m_lastDragOverCell = cell;
    InvalidateCell(old.row, old.col);
    InvalidateCell(cell.row, cell.col);
}

namespace {

// Files dragged from a file manager often come with their names as text as well; they
// are for the window around the grid to open, never to be pasted as names.
bool CarriesLocalFiles(const QMimeData* mime)
{
    if (!mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

} // namespace

void CGridCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_options.dragAndDropEnabled || !event->mimeData() || !event->mimeData()->hasText() ||
        CarriesLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    // Taking the enter lets the grid answer every later position, also those that start
    // over a header and move onto the cells.
    event->accept();
    dragMoveEvent(event);
}

void CGridCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    m_dragPoint = event->position().toPoint();
    if (!m_options.dragAndDropEnabled || !m_store.editable || !event->mimeData() ||
        !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const CellId cell = GetCellFromPt(m_dragPoint, false);
    if (!m_store.IsValidCell(cell.row, cell.col) || m_store.IsFixed(cell.row, cell.col)) {
        SetDragOverCell(CellId{});
        event->ignore();
    } else if (!m_store.IsCellEditable(cell.row, cell.col)) {
        SetDragOverCell(CellId{});
        event->ignore();
    } else {
        SetDragOverCell(cell);
        event->setDropAction(ChosenAction(*event));
        event->accept();
    }
    // Near an edge of the cell area the sheet scrolls while the drag rests there.
    const QRect inner = viewport()->rect().adjusted(
        m_store.GetFixedColumnWidth() + dragScrollMargin, m_store.GetFixedRowHeight() + dragScrollMargin,
        -dragScrollMargin, -dragScrollMargin);
    if (!inner.contains(m_dragPoint)) {
        if (!m_dragScrollTimer.isActive())
            m_dragScrollTimer.start(4 * timerInterval, this);
    } else {
        m_dragScrollTimer.stop();
    }
}

void CGridCtrl::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_dragScrollTimer.stop();
    SetDragOverCell(CellId{});
    event->accept();
}

GridSelection* CGridCtrl::DragSourceSelection(const QDropEvent* event)
{
    auto* source = qobject_cast<CGridCtrl*>(event->source());
    return source && &source->m_store == &m_store ? &source->m_selection : &m_selection;
}

void CGridCtrl::dropEvent(QDropEvent* event)
{
    m_dragScrollTimer.stop();
    const CellId cell = m_lastDragOverCell;
    SetDragOverCell(CellId{});
    if (!m_options.dragAndDropEnabled || !m_store.IsValidCell(cell.row, cell.col) ||
        !m_store.IsCellEditable(cell.row, cell.col)) {
        event->ignore();
        return;
    }
    m_mouseMode = MouseNothing;
    const Qt::DropAction action = ChosenAction(*event);
    bool pasted = false;
    {
        const UserEdit edit(*this, QStringLiteral("Drop"));
        pasted = PasteTextToGrid(cell, event->mimeData(), DragSourceSelection(event));
    }
    if (!pasted) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    // The drop makes this window the one the user works in.
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void CGridCtrl::DragAutoScroll()
{
    const QPoint p = m_dragPoint;
    const QRect area = viewport()->rect();
    const auto step = [this](bool vertical, ScrollAction action) {
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        const int target =
            ScrollTarget(Geometry(), vertical, bar->value(), GetScrollMax(vertical), action, 0);
        bar->setValue(std::clamp(target, bar->minimum(), bar->maximum()));
    };
    if (p.y() < m_store.GetFixedRowHeight() + dragScrollMargin)
        step(true, ScrollAction::LineBack);
    else if (p.y() > area.bottom() - dragScrollMargin)
        step(true, ScrollAction::LineForward);
    if (p.x() < m_store.GetFixedColumnWidth() + dragScrollMargin)
        step(false, ScrollAction::LineBack);
    else if (p.x() > area.right() - dragScrollMargin)
        step(false, ScrollAction::LineForward);
    // The cell under the resting pointer changed with the scroll.
    const CellId cell = GetCellFromPt(p, false);
    if (m_lastDragOverCell.row >= 0 && m_store.IsValidCell(cell.row, cell.col) &&
        !m_store.IsFixed(cell.row, cell.col) && m_store.IsCellEditable(cell.row, cell.col))
        SetDragOverCell(cell);
}

} // namespace orvalis
