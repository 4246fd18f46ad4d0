#include "grid/GridCellAccessible.h"

#include "grid/GridAccessible.h"
#include "grid/GridCtrl.h"
#include "grid/ShownCellText.h"

#include <QWidget>
#include <QWindow>

namespace orvalis {

namespace {

GridAccessible* TableOf(CGridCtrl* grid)
{
    return grid ? dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(grid))
                : nullptr;
}

} // namespace

GridCellAccessible::GridCellAccessible(CGridCtrl* grid, int row, int col)
    : m_grid(grid), m_row(row), m_col(col)
{
    if (grid) {
        lastText = ShownCellText(grid->Store().CellTextRef(row, col));
        lastSelected = grid->Selection().IsSelected(row, col);
    }
}

bool GridCellAccessible::isValid() const
{
    return m_grid && m_grid->Store().IsValidCell(m_row, m_col);
}

bool GridCellAccessible::IsFixedCell() const
{
    return m_grid && m_grid->Store().IsFixed(m_row, m_col);
}

QWindow* GridCellAccessible::window() const
{
    return m_grid ? m_grid->window()->windowHandle() : nullptr;
}

QAccessibleInterface* GridCellAccessible::parent() const
{
    return m_grid ? QAccessible::queryAccessibleInterface(m_grid.data()) : nullptr;
}

QString GridCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return {};
    return ShownCellText(m_grid->Store().CellTextRef(m_row, m_col));
}

QRect GridCellAccessible::rect() const
{
    QRect r;
    if (!isValid() || !m_grid->GetCellRect(m_row, m_col, r))
        return {};
    return QRect(m_grid->viewport()->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::Role GridCellAccessible::role() const
{
    if (!isValid())
        return QAccessible::Cell;
    const CellStore& store = m_grid->Store();
    if (m_row < store.GetFixedRowCount())
        return QAccessible::ColumnHeader;
    if (m_col < store.GetFixedColumnCount())
        return QAccessible::RowHeader;
    return QAccessible::Cell;
}

QAccessible::State GridCellAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const CellStore& store = m_grid->Store();
    if (!m_grid->IsCellVisible(m_row, m_col)) {
        s.offscreen = true;
        s.invisible = true;
    }
    if (IsFixedCell())
        return s;
    const GridViewOptions& options = m_grid->Options();
    s.focusable = true;
    s.focused = m_grid->hasFocus() && m_grid->GetFocusCell() == CellId{m_row, m_col};
    s.selectable = options.selectionEnabled;
    s.selected = m_grid->Selection().IsSelected(m_row, m_col);
    s.multiSelectable = options.selectionEnabled && !options.singleRowSelection;
    s.extSelectable = s.multiSelectable;
    if (store.IsCellEditable(m_row, m_col))
        s.editable = true;
    else
        s.readOnly = true;
    return s;
}

void* GridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface && !IsFixedCell())
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface && !IsFixedCell())
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool GridCellAccessible::isSelected() const
{
    return isValid() && m_grid->Selection().IsSelected(m_row, m_col);
}

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const
{
    QList<QAccessibleInterface*> cells;
    if (GridAccessible* t = TableOf(m_grid.data()))
        for (int r = 0; r < m_grid->Store().GetFixedRowCount(); ++r)
            cells.append(t->CellInterface(r, m_col));
    return cells;
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const
{
    QList<QAccessibleInterface*> cells;
    if (GridAccessible* t = TableOf(m_grid.data()))
        for (int c = 0; c < m_grid->Store().GetFixedColumnCount(); ++c)
            cells.append(t->CellInterface(m_row, c));
    return cells;
}

int GridCellAccessible::columnIndex() const
{
    return m_grid ? m_col - m_grid->Store().GetFixedColumnCount() : -1;
}

int GridCellAccessible::rowIndex() const
{
    return m_grid ? m_row - m_grid->Store().GetFixedRowCount() : -1;
}

QStringList GridCellAccessible::actionNames() const
{
    return {setFocusAction(), toggleAction()};
}

void GridCellAccessible::doAction(const QString& actionName)
{
    if (!isValid() || IsFixedCell())
        return;
    if (actionName == setFocusAction()) {
        m_grid->setFocus();
        m_grid->SetFocusCell(m_row, m_col);
        m_grid->EnsureVisible(m_row, m_col);
    } else if (actionName == toggleAction()) {
        GridSelection& selection = m_grid->Selection();
        selection.SetSelected(CellId{m_row, m_col}, !selection.IsSelected(m_row, m_col));
    }
}

} // namespace orvalis
