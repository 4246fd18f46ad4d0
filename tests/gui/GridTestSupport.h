#pragma once

#include "grid/GridCtrl.h"
#include "grid/core/CellStore.h"

#include <QApplication>

#include <memory>
#include <vector>

namespace orvalis::gridtest {

// The one QApplication of the widget tests, made on first use under the offscreen
// platform.
QApplication& App();

// The cells whose user edits ended, in the order the store told them.
struct EditRecorder : CellStoreListener {
    std::vector<CellId> ended;
    void CellChanged(int, int) override {}
    void LayoutChanged() override {}
    void EditEnded(int row, int col) override { ended.push_back({row, col}); }
};

// A store shaped like a worksheet: 1001 x 69 cells, one fixed row and column, light
// yellow cell background, a few coloured row labels, and a grid window over it of the
// given size, shown and laid out.
struct WorksheetLikeGrid {
    explicit WorksheetLikeGrid(int width = 1280, int height = 800);
    ~WorksheetLikeGrid();
    CellStore store;
    EditRecorder notes;
    std::unique_ptr<CGridCtrl> grid;
    bool active = false;  // the window became the active one
    // Edits ended so far.
    int EditsEnded() const { return static_cast<int>(notes.ended.size()); }
    // Centre of a cell in the grid's cell-area coordinates.
    QPoint CellCentre(int row, int col) const;
    static constexpr GridColour kTrainColour = 0x00C0C0;  // RGB(192,192,0)
};

// What the grid's cell area shows now, read from the window's backing store after the
// pending repaints ran (QWidget::grab() would paint everything afresh).
QImage OnScreen(CGridCtrl& grid);

// Lets queued events (posted scrolls, repaints) run.
void Settle();

} // namespace orvalis::gridtest
