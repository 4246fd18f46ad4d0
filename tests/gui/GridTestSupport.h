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

// Notifications the grid sent to its parent, in order.
struct NotifyRecorder : GridNotifyHandler {
    struct Entry {
        int row;
        int col;
        int code;
    };
    std::vector<Entry> entries;
    long OnGridNotify(int row, int col, int code) override
    {
        entries.push_back({row, col, code});
        return 0;
    }
};

// A store shaped like a worksheet: 1001 x 69 cells, one fixed row and column, light
// yellow cell background, a few coloured row labels, and a grid window over it of the
// given size, shown and laid out.
struct WorksheetLikeGrid {
    explicit WorksheetLikeGrid(int width = 1280, int height = 800);
    ~WorksheetLikeGrid();
    CellStore store;
    NotifyRecorder notes;
    std::unique_ptr<CGridCtrl> grid;
    bool active = false;  // the window became the active one
    // Notifications of one code so far.
    int Count(int code) const;
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
