#pragma once

#include "grid/core/GridTypes.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace orvalis {

class CGridCtrl;

// What assistive technology sees of a grid window: a table whose children are the
// store's cells, row by row, fixed ones included (child index = row * columns + col).
// The table interface counts only the non-fixed cells, with the fixed rows as column
// headers and the fixed columns as row headers. Cell interfaces are made on demand and
// kept until the store's counts change or the window goes, so a screen reader holding
// one keeps talking to the same cell.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(CGridCtrl* grid);
    ~GridAccessible() override;

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface (rows and columns count from the first non-fixed cell)
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // The interface of a store cell, made on first use; nullptr for an invalid cell.
    QAccessibleInterface* CellInterface(int row, int col) const;
    // Child index of a store cell, -1 when invalid.
    int ChildIndex(int row, int col) const;

    // Called by the grid for every change the store reports. Sends the focus event when
    // the focus moved, and name or selection events for the cells a client already
    // knows whose text or selected bit changed.
    void CellChanged(int row, int col, bool focusMoved);
    // The store's layout changed: when the counts changed, every cell interface is
    // dropped and clients are told the table was reset.
    void LayoutChanged();
    // The grid is being destroyed: its CGridCtrl part is gone before Qt drops this
    // interface, so nothing here may reach it from now on.
    void GridGone() { m_grid = nullptr; }

private:
    CGridCtrl* Grid() const;
    QList<int> FullySelected(bool byRow) const;
    void DropCells();
    void SendSelectionSummary();
    void Send(QAccessible::Event type, int child = -1);

    // The grid while its window lives.
    CGridCtrl* m_grid = nullptr;

    mutable QHash<int, QAccessible::Id> m_cells; // child index -> registered cell
    int m_rows = 0;                              // store counts the cache was made for
    int m_cols = 0;
    qsizetype m_selectedCount = 0;   // selected cells at the last event
    bool m_selectionPending = false; // a selection summary is queued
};

// Where the grid's accessibility events go: the platform's bridge, which drops them while
// no assistive technology listens, or a recorder in tests. Returns the previous sink.
using AccessibleEventSink = void (*)(QAccessibleEvent*);
AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink);

// Makes the grid's accessible interface for CGridCtrl windows (and their subclasses);
// installed once with InstallGridAccessibility.
QAccessibleInterface* GridAccessibleFactory(const QString& className, QObject* object);
void InstallGridAccessibility();

} // namespace orvalis
