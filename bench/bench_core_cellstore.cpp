// The cell store alone: creating a worksheet-shaped store (with the header block the
// worksheet writes, and without), filling a million rows of four columns with numbers,
// reading a cell's text near the top and near the bottom, and selecting every cell.
// Heap figures are the bytes the allocator holds for the store after it was built.

#include "grid/core/CellStore.h"
#include "grid/core/GridSelection.h"
#include "support/WorksheetShapedStore.h"
#include "worksheet/AppSettings.h"
#include "worksheet/HeaderBlock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using orvalis::CellStore;

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

double Megabytes(std::size_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void BM_CellStoreCreateWorksheetShape(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto store = std::make_unique<CellStore>();
        orvalis::testsupport::ShapeLikeWorksheet(*store, "Column ", "Data ");
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(store->GetVirtualHeight());
    }
    state.counters["MB_per_store"] = Megabytes(bytes);
}
BENCHMARK(BM_CellStoreCreateWorksheetShape)->Unit(benchmark::kMillisecond);

// The store as a new worksheet leaves it: every cell written once by the header block
// (texts, formats, colours, read-only labels), without auto-sizing.
void BM_CellStoreNewWorksheetHeader(benchmark::State& state)
{
    const orvalis::AppSettings settings;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto store = std::make_unique<CellStore>();
        orvalis::BuildHeaderBlock(*store, settings);
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(store->GetVirtualHeight());
    }
    state.counters["MB_per_store"] = Megabytes(bytes);
}
BENCHMARK(BM_CellStoreNewWorksheetHeader)->Unit(benchmark::kMillisecond);

constexpr int kMillionRows = 1000000;
constexpr int kFilledColumns = 4;

// A worksheet's store grown to a million data rows below its header block, four data
// columns filled with numbers as an import writes them. The numbers are formatted
// beforehand, so that the time is the store's.
bool FillMillionRows(CellStore& store, int firstDataRow)
{
    static const std::vector<std::string> numbers = [] {
        std::vector<std::string> texts(4096);
        char text[32];
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::snprintf(text, sizeof text, "%.4f", 3000.0 + static_cast<double>(i) * 1.2345);
            texts[i] = text;
        }
        return texts;
    }();
    if (!store.SetRowCount(firstDataRow + kMillionRows))
        return false;
    for (int r = 0; r < kMillionRows; ++r)
        for (int c = 1; c <= kFilledColumns; ++c)
            store.SetCellText(firstDataRow + r, c, numbers[static_cast<std::size_t>(r * 7 + c) % 4096]);
    return true;
}

void BM_CellStoreMillionRowsFill(benchmark::State& state)
{
    const orvalis::AppSettings settings;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto store = std::make_unique<CellStore>();
        const int firstDataRow = orvalis::BuildHeaderBlock(*store, settings);
        if (!FillMillionRows(*store, firstDataRow)) {
            state.SkipWithError("the store refuses a million rows");
            break;
        }
        bytes = HeapInUse() - before;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["MB_per_store"] = Megabytes(bytes);
}
BENCHMARK(BM_CellStoreMillionRowsFill)->Unit(benchmark::kMillisecond)->Iterations(2);

// One cell's text read through both getters, at the given row of a million-row store
// (10 and 999,999): the cost must not grow with the row.
void BM_CellTextAtRow(benchmark::State& state)
{
    static std::unique_ptr<CellStore> store;
    static int firstDataRow = 0;
    if (!store) {
        store = std::make_unique<CellStore>();
        firstDataRow = orvalis::BuildHeaderBlock(*store, orvalis::AppSettings{});
        if (!FillMillionRows(*store, firstDataRow)) {
            store.reset();
            state.SkipWithError("the store refuses a million rows");
            return;
        }
    }
    const int row = firstDataRow + static_cast<int>(state.range(0));
    std::size_t total = 0;
    for (auto _ : state) {
        for (int c = 1; c <= kFilledColumns; ++c) {
            total += store->CellTextRef(row, c).size();
            std::string copy = store->GetCellText(row, c);
            benchmark::DoNotOptimize(copy.data());
        }
    }
    benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_CellTextAtRow)->Arg(10)->Arg(999999);

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
