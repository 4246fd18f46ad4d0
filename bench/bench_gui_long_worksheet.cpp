// The grid of a worksheet of a million rows, under the offscreen platform: a 1,000,000 x 4
// CSV imported with growing into a shown worksheet, a full 1200 x 800 paint of the cell
// area near the top and scrolled to the last row, and Ctrl+End from the top until the
// last row is painted.

#include "LongSeriesCsv.h"
#include "PaintCounter.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace orvalis;

const int kLongRows = bench::LongRows();
const QSize kCellArea(1200, 800);

struct LongGrid {
    AppSettings settings;
    SilentMessages messages;
    Worksheet ws{settings, messages};
    std::unique_ptr<CWorksheetGrid> grid;
    bench::PaintCounter counter;
    int lastRow = 0; // the last grid row, below the file's lines
};

// The imported worksheet and its grid, kept from one benchmark to the next. The widget
// goes while the application still stands, not as a static after it.
std::unique_ptr<LongGrid>& LongGridSlot()
{
    static std::unique_ptr<LongGrid> sheet;
    static const bool dropsBeforeTheApplication = [] {
        qAddPostRoutine([] { LongGridSlot().reset(); });
        return true;
    }();
    (void)dropsBeforeTheApplication;
    return sheet;
}

// File New as the window does it: a new worksheet and its grid, the header block sized
// to the screen's fonts, shown with a 1200 x 800 cell area.
std::unique_ptr<LongGrid> NewShownWorksheet()
{
    auto made = std::make_unique<LongGrid>();
    made->grid = std::make_unique<CWorksheetGrid>(made->ws.Store());
    made->ws.AutoSizeHeaderBlock();
    CWorksheetGrid& grid = *made->grid;
    grid.resize(kCellArea);
    grid.show();
    QCoreApplication::processEvents();
    // The cell area itself is 1200 x 800, inside the frame and the scroll bars.
    grid.resize(grid.size() + (kCellArea - grid.viewport()->size()));
    QCoreApplication::processEvents();
    grid.viewport()->installEventFilter(&made->counter);
    return made;
}

// File Import with the comment header and growing into the shown worksheet, and the
// repaint after it. False when the worksheet did not grow to the whole file.
bool ImportLongCsv(LongGrid& sheet, const std::string& csv)
{
    ImportRequest request{csv, 1, 1, true};
    request.growRows = true;
    ImportFile(sheet.ws, request);
    QCoreApplication::processEvents();
    sheet.lastRow = sheet.ws.Store().GetRowCount() - 1;
    return sheet.lastRow == sheet.ws.firstDataRow + kLongRows;
}

// The imported worksheet and its shown grid, made once for the paint and key benchmarks
// (or left by the import benchmark).
LongGrid* ShownLongGrid()
{
    std::unique_ptr<LongGrid>& sheet = LongGridSlot();
    static bool tried = false;
    if (sheet || tried)
        return sheet.get();
    tried = true;
    const std::string csv = bench::WriteLongSeriesCsv(kLongRows);
    if (csv.empty())
        return nullptr;
    auto made = NewShownWorksheet();
    const bool whole = ImportLongCsv(*made, csv);
    std::filesystem::remove(csv);
    if (whole)
        sheet = std::move(made);
    return sheet.get();
}

// The import into a shown worksheet window: every written cell goes past the grid, which
// repaints those in view. The worksheet of the last run is kept for the benchmarks below.
void BM_LongImportInWindow(benchmark::State& state)
{
    const std::string csv = bench::WriteLongSeriesCsv(kLongRows);
    if (csv.empty()) {
        state.SkipWithError("the CSV could not be written");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        LongGridSlot().reset();
        auto made = NewShownWorksheet();
        state.ResumeTiming();
        const bool whole = ImportLongCsv(*made, csv);
        state.PauseTiming();
        if (!whole)
            state.SkipWithError("the worksheet did not grow to the file");
        else
            LongGridSlot() = std::move(made);
        state.ResumeTiming();
    }
    std::filesystem::remove(csv);
}
BENCHMARK(BM_LongImportInWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

// Data row 10 at the top of the view.
void ShowNearTheTop(LongGrid& sheet)
{
    sheet.grid->Scroll(true, ScrollAction::ToEnd);
    sheet.grid->EnsureVisible(sheet.ws.firstDataRow + 10, 1);
    QCoreApplication::processEvents();
}

void PaintViewport(benchmark::State& state, bool lastRow)
{
    LongGrid* sheet = ShownLongGrid();
    if (sheet == nullptr) {
        state.SkipWithError("the long worksheet could not be made");
        return;
    }
    CWorksheetGrid& grid = *sheet->grid;
    if (lastRow) {
        grid.Scroll(true, ScrollAction::ToEnd);
        QCoreApplication::processEvents();
    } else {
        ShowNearTheTop(*sheet);
    }
    if (grid.IsCellVisible(sheet->lastRow, 1) != lastRow) {
        state.SkipWithError("the view is not where it should be");
        return;
    }
    QImage target(grid.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        // The paint event's own work: off-screen surface, OnDraw, copy to the window.
        grid.viewport()->render(&target);
    }
    state.counters["width"] = target.width();
    state.counters["height"] = target.height();
    state.counters["topRow"] = grid.GetTopLeftNonFixedCell().row;
}

void BM_LongPaintNearTheTop(benchmark::State& state) { PaintViewport(state, false); }
void BM_LongPaintLastRow(benchmark::State& state) { PaintViewport(state, true); }
BENCHMARK(BM_LongPaintNearTheTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongPaintLastRow)->Unit(benchmark::kMillisecond);

void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &release);
}

// Ctrl+End with the focus in data row 10 and the view at the top: the focus moves to the
// last row, the view follows it and the pending paint is done. Counter: paints of the
// cell area per press (at least one, or the press was not shown).
void BM_LongCtrlEnd(benchmark::State& state)
{
    LongGrid* sheet = ShownLongGrid();
    if (sheet == nullptr) {
        state.SkipWithError("the long worksheet could not be made");
        return;
    }
    CWorksheetGrid& grid = *sheet->grid;
    int paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ShowNearTheTop(*sheet);
        grid.SetFocusCell(sheet->ws.firstDataRow + 10, 1);
        QCoreApplication::processEvents();
        sheet->counter.paints = 0;
        state.ResumeTiming();
        PressKey(grid, Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        state.PauseTiming();
        paints += sheet->counter.paints;
        if (grid.GetFocusCell().row != sheet->lastRow || !grid.IsCellVisible(sheet->lastRow, 1))
            state.SkipWithError("Ctrl+End did not show the last row");
        state.ResumeTiming();
    }
    state.counters["paints_per_press"] = static_cast<double>(paints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LongCtrlEnd)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
