// The cell store part of creating a worksheet: 1001 x 69 cells made eagerly, with one
// fixed row and column, then a text in every data cell of the first rows as the header
// block writes them.

#include "grid/core/CellStore.h"
#include "grid/core/GridSelection.h"
#include "support/WorksheetShapedStore.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_CellStoreCreateWorksheetShape(benchmark::State& state)
{
    for (auto _ : state) {
        orvalis::CellStore store;
        orvalis::testsupport::ShapeLikeWorksheet(store, "Column ", "Data ");
        benchmark::DoNotOptimize(store.GetVirtualHeight());
    }
}
BENCHMARK(BM_CellStoreCreateWorksheetShape)->Unit(benchmark::kMillisecond);

void BM_CellStoreSelectAll(benchmark::State& state)
{
    orvalis::CellStore store(1001, 69, 1, 1);
    const orvalis::GridViewOptions options;
    orvalis::GridSelection selection(store, options);
    for (auto _ : state) {
        selection.SelectAllCells();
        selection.ClearSelectedCells();
    }
}
BENCHMARK(BM_CellStoreSelectAll)->Unit(benchmark::kMillisecond);

} // namespace
