#include "GridTestSupport.h"

#include "grid/GridAccessible.h"
#include "grid/GridCtrl.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

// Events the grid sent to assistive technology: type and child index.
std::vector<std::pair<QAccessible::Event, int>>* g_events = nullptr;

void Record(QAccessibleEvent* event)
{
    if (g_events)
        g_events->emplace_back(event->type(), event->child());
}

// A 4 x 3 sheet: column titles in the fixed row, row labels in the fixed column, the
// value cells named by position. Assistive technology is switched on and its events
// recorded while it lives.
struct SmallSheet {
    SmallSheet()
    {
        App();
        grid = std::make_unique<CGridCtrl>(store);
        store.SetRowCount(4);
        store.SetColumnCount(3);
        store.SetFixedRowCount(1);
        store.SetFixedColumnCount(1);
        store.SetCellText(0, 1, "Close");
        store.SetCellText(0, 2, "Volume");
        for (int r = 1; r < 4; ++r) {
            store.SetCellText(r, 0, "Day " + std::to_string(r));
            for (int c = 1; c < 3; ++c)
                store.SetCellText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        }
        grid->resize(400, 200);
        grid->show();
        grid->activateWindow();
        active = QTest::qWaitForWindowActive(grid.get(), 2000);
        grid->setFocus();
        Settle();
        previous = SetAccessibleEventSink(Record);
        g_events = &events;
    }
    ~SmallSheet()
    {
        g_events = nullptr;
        SetAccessibleEventSink(previous);
        grid.reset();
    }
    QAccessibleInterface* Table() const { return QAccessible::queryAccessibleInterface(grid.get()); }
    int Count(QAccessible::Event type, int child) const
    {
        int n = 0;
        for (const auto& [t, c] : events)
            n += t == type && c == child;
        return n;
    }

    CellStore store;
    std::unique_ptr<CGridCtrl> grid;
    std::vector<std::pair<QAccessible::Event, int>> events;
    AccessibleEventSink previous = nullptr;
    bool active = false;
};

} // namespace

TEST(GridAccessible, TableShowsCellsWithTheirHeaders)
{
    SmallSheet sheet;
    QAccessibleInterface* table = sheet.Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->childCount(), 12);
    QAccessibleTableInterface* t = table->tableInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->columnCount(), 2);
    EXPECT_EQ(t->columnDescription(1), "Volume");
    EXPECT_EQ(t->rowDescription(2), "Day 3");
    EXPECT_EQ(t->cellAt(3, 0), nullptr);

    QAccessibleInterface* cell = t->cellAt(1, 1);  // store cell (2, 2)
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "r2c2");
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->parent(), table);
    EXPECT_EQ(table->indexOfChild(cell), 2 * 3 + 2);
    EXPECT_EQ(table->child(2 * 3 + 2), cell) << "one interface per cell";

    QAccessibleTableCellInterface* c = cell->tableCellInterface();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->rowIndex(), 1);
    EXPECT_EQ(c->columnIndex(), 1);
    ASSERT_EQ(c->columnHeaderCells().size(), 1);
    EXPECT_EQ(c->columnHeaderCells()[0]->text(QAccessible::Name), "Volume");
    EXPECT_EQ(c->columnHeaderCells()[0]->role(), QAccessible::ColumnHeader);
    ASSERT_EQ(c->rowHeaderCells().size(), 1);
    EXPECT_EQ(c->rowHeaderCells()[0]->text(QAccessible::Name), "Day 2");
    EXPECT_EQ(c->rowHeaderCells()[0]->role(), QAccessible::RowHeader);
    EXPECT_EQ(c->table(), table);

    // The cell's rectangle is where it is drawn, and a point there finds it again.
    const QRect r = cell->rect();
    ASSERT_FALSE(r.isEmpty());
    EXPECT_EQ(table->childAt(r.center().x(), r.center().y()), cell);

    sheet.store.SetCellState(2, 1, CellReadOnly);
    EXPECT_TRUE(t->cellAt(1, 0)->state().readOnly);
    EXPECT_TRUE(cell->state().editable);
}

TEST(GridAccessible, FocusAndSelectionAreReadAndAnnounced)
{
    SmallSheet sheet;
    QAccessibleInterface* table = sheet.Table();
    QAccessibleTableInterface* t = table->tableInterface();
    sheet.grid->SetFocusCell(1, 1);
    QTest::keyClick(sheet.grid.get(), Qt::Key_Down);
    ASSERT_EQ(sheet.grid->GetFocusCell(), (CellId{2, 1}));
    QAccessibleInterface* focus = table->focusChild();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->text(QAccessible::Name), "r2c1");
    EXPECT_TRUE(focus->state().focused);
    EXPECT_FALSE(t->cellAt(0, 0)->state().focused);
    EXPECT_EQ(sheet.Count(QAccessible::Focus, 2 * 3 + 1), 1);

    QAccessibleInterface* below = t->cellAt(2, 0);
    EXPECT_FALSE(below->state().selected);
    sheet.grid->SetSelectedRange(1, 1, 3, 1);
    EXPECT_EQ(t->selectedCellCount(), 3);
    EXPECT_EQ(t->selectedColumns(), QList<int>{0});
    EXPECT_TRUE(t->isColumnSelected(0));
    EXPECT_FALSE(t->isRowSelected(0));
    EXPECT_TRUE(focus->state().selected);
    EXPECT_EQ(sheet.Count(QAccessible::SelectionAdd, 3 * 3 + 1), 1) << "a known cell hears it";
    Settle();
    EXPECT_EQ(sheet.Count(QAccessible::SelectionWithin, -1), 1) << "one summary for the block";

    ASSERT_TRUE(t->selectRow(2));
    EXPECT_EQ(t->selectedRows(), QList<int>{2});
    EXPECT_EQ(t->selectedCells().size(), 2);
    EXPECT_EQ(t->selectedCells()[0]->text(QAccessible::Name), "r3c1");
    EXPECT_EQ(sheet.Count(QAccessible::SelectionRemove, 2 * 3 + 1), 1);
    ASSERT_TRUE(t->unselectRow(2));
    EXPECT_EQ(t->selectedCellCount(), 0);
}

// Whole rows and columns are told apart from partly selected ones however the cells
// came to be selected, on a sheet long enough that a look at every row would show.
TEST(GridAccessible, FullySelectedRowsAndColumnsOnALongSheet)
{
    SmallSheet sheet;
    QAccessibleTableInterface* t = sheet.Table()->tableInterface();
    GridSelection& selection = sheet.grid->Selection();
    sheet.store.SetRowCount(200001);
    sheet.store.SetColumnCount(4);
    ASSERT_EQ(t->rowCount(), 200000);

    sheet.grid->SetSelectedRange(1, 1, 200000, 1); // the first data column
    selection.KeepSelection();
    sheet.grid->SetSelectedRange(5, 1, 5, 3);  // and row 4 across
    selection.SetSelected(CellId{7, 2}, true); // and one more cell
    EXPECT_EQ(t->selectedColumns(), QList<int>{0});
    EXPECT_EQ(t->selectedRows(), QList<int>{4});
    EXPECT_EQ(t->selectedColumnCount(), 1);
    EXPECT_TRUE(t->isColumnSelected(0));
    EXPECT_FALSE(t->isColumnSelected(1));
    EXPECT_TRUE(t->isRowSelected(4));
    EXPECT_FALSE(t->isRowSelected(6));

    selection.SetSelected(CellId{100000, 1}, false);
    EXPECT_TRUE(t->selectedColumns().isEmpty());
    EXPECT_FALSE(t->isColumnSelected(0));
    EXPECT_EQ(t->selectedRows(), QList<int>{4});
}

TEST(GridAccessible, TextChangesAndResetsReachTheClient)
{
    SmallSheet sheet;
    QAccessibleInterface* table = sheet.Table();
    QAccessibleInterface* cell = table->tableInterface()->cellAt(0, 0);
    sheet.store.SetCellText(1, 1, "42.5");
    EXPECT_EQ(cell->text(QAccessible::Name), "42.5");
    EXPECT_EQ(sheet.Count(QAccessible::NameChanged, 1 * 3 + 1), 1);
    sheet.store.SetCellText(1, 1, "42.5");
    EXPECT_EQ(sheet.Count(QAccessible::NameChanged, 1 * 3 + 1), 1) << "no change, no event";

    // A focus-cell action moves the grid's focus there.
    QAccessibleInterface* other = table->tableInterface()->cellAt(2, 1);
    other->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(sheet.grid->GetFocusCell(), (CellId{3, 2}));

    // New counts drop every cell interface; old ones read as invalid, not as stale cells.
    const QAccessible::Id id = QAccessible::uniqueId(cell);
    sheet.store.SetRowCount(2);
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
    EXPECT_EQ(table->tableInterface()->rowCount(), 1);
    EXPECT_EQ(table->childCount(), 6);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), "42.5");
}
