// Painting a full 1280 x 800 viewport of a worksheet-shaped grid, at the top and
// scrolled to the last row, under the offscreen platform.

#include "grid/GridCtrl.h"
#include "support/WorksheetShapedStore.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace orvalis;

struct Sheet {
    CellStore store;
    std::unique_ptr<CGridCtrl> grid;
    Sheet()
    {
        grid = std::make_unique<CGridCtrl>(store);
        testsupport::ShapeLikeWorksheet(store, "Column ", "Data ");
        testsupport::LookLikeWorksheet(grid->Options());
        for (int r = 1; r < 1001; ++r) {
            for (int c = 1; c < 6; ++c) {
                store.SetCellText(r, c, std::to_string(r * 1.125 + c));
                store.SetCellFormat(r, c, FormatCenter | FormatVCenter | FormatSingleLine);
            }
        }
        for (int r = 10; r < 400; ++r)
            store.SetCellBackColor(r, 0, Rgb(0, 192, 192));
        store.AutoSize();
        grid->Selection().SetFocusCell(CellId{5, 3});
        grid->resize(1280, 800);
        grid->show();
        QCoreApplication::processEvents();
        // The cell area itself is 1280 x 800, inside the frame and the scroll bars.
        grid->resize(grid->size() + (QSize(1280, 800) - grid->viewport()->size()));
        QCoreApplication::processEvents();
    }
};

void PaintViewport(benchmark::State& state, bool lastRow)
{
    Sheet sheet;
    CGridCtrl& grid = *sheet.grid;
    if (lastRow)
        grid.Scroll(true, ScrollAction::ToEnd);
    const QSize size = grid.viewport()->size();
    QImage target(size, QImage::Format_RGB32);
    for (auto _ : state) {
        // The paint event's own work: off-screen surface, OnDraw, copy to the window.
        grid.viewport()->render(&target);
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
    state.counters["topRow"] = grid.GetTopLeftNonFixedCell().row;
}

void BM_PaintFullViewportTop(benchmark::State& state) { PaintViewport(state, false); }
void BM_PaintFullViewportLastRow(benchmark::State& state) { PaintViewport(state, true); }
BENCHMARK(BM_PaintFullViewportTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFullViewportLastRow)->Unit(benchmark::kMillisecond);

void BM_LineScrollAtTheBottom(benchmark::State& state)
{
    Sheet sheet;
    CGridCtrl& grid = *sheet.grid;
    grid.Scroll(true, ScrollAction::ToEnd);
    for (auto _ : state) {
        grid.Scroll(true, ScrollAction::LineBack);
        grid.Scroll(true, ScrollAction::LineForward);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LineScrollAtTheBottom)->Unit(benchmark::kMillisecond);

// Ctrl+A over the whole worksheet and back: 68,000 cells change their selected bit and
// the window collects the repaint of the visible ones.
void BM_SelectAllInWindow(benchmark::State& state)
{
    Sheet sheet;
    CGridCtrl& grid = *sheet.grid;
    for (auto _ : state) {
        grid.SelectAllCells();
        grid.SetSelectedRange(-1, -1, -1, -1);
    }
}
BENCHMARK(BM_SelectAllInWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
