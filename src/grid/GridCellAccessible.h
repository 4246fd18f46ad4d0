#pragma once

#include <QAccessibleInterface>
#include <QPointer>

namespace orvalis {

class CGridCtrl;

// One cell of a grid as assistive technology sees it: its text as the name, a cell,
// column header (fixed rows) or row header (fixed columns), with focus, selection and
// read-only states. Non-fixed cells also answer the table-cell interface, naming their
// header cells. Valid while the window lives and the cell is inside the store.
class GridCellAccessible : public QAccessibleInterface,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    GridCellAccessible(CGridCtrl* grid, int row, int col);

    int Row() const { return m_row; }
    int Col() const { return m_col; }
    // What a client was last told (or read) of this cell, to tell it only of changes.
    QString lastText;
    bool lastSelected = false;

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface (indexes count from the first non-fixed cell)
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: "SetFocus" moves the grid's focus here, scrolling it
    // into view; "Toggle" selects or unselects the cell.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    bool IsFixedCell() const;

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
};

} // namespace orvalis
