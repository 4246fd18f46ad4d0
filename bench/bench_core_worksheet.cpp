// Creating a new worksheet (cell store and header block, auto-sized), and saving and
// loading a worksheet whose 68 data columns are filled in every data row.

#include "worksheet/AppSettings.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>

using namespace orvalis;

namespace {

// Proportional measuring without a screen: what auto-size costs apart from the fonts.
class BenchMeasurer final : public TextMeasurer {
public:
    Size MeasureText(const LogFont&, const std::string& text) override
    {
        return {static_cast<int>(text.size()) * 7, 16};
    }
    Metrics FontMetrics(const LogFont&) override { return {7, 16, 0, 7}; }
};

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

void FillAllColumns(Worksheet& ws)
{
    CellStore& s = ws.Store();
    s.SetCellText(6, 1, "Trg/In");
    for (int j = 2; j <= 68; ++j)
        s.SetCellText(6, j, "Comment");
    char text[32];
    for (int r = ws.firstDataRow; r < 1001; ++r)
        for (int j = 1; j <= 68; ++j) {
            std::snprintf(text, sizeof text, "%.3f", r * 1.25 + j * 0.001);
            s.SetCellText(r, j, text);
        }
}

std::string TempPath()
{
    return (std::filesystem::temp_directory_path() / "orvalis-bench-full.ows").string();
}

void BM_NewWorksheet(benchmark::State& state)
{
    AppSettings settings;
    SilentMessages messages;
    BenchMeasurer measurer;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto ws = std::make_unique<Worksheet>(settings, messages, &measurer);
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(ws.get());
    }
    state.counters["MB_per_worksheet"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_NewWorksheet)->Unit(benchmark::kMillisecond);

void BM_FullWorksheetMemory(benchmark::State& state)
{
    AppSettings settings;
    SilentMessages messages;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto ws = std::make_unique<Worksheet>(settings, messages);
        FillAllColumns(*ws);
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(ws.get());
    }
    state.counters["MB_per_worksheet"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_FullWorksheetMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveFullWorksheet(benchmark::State& state)
{
    AppSettings settings;
    SilentMessages messages;
    Worksheet ws(settings, messages);
    FillAllColumns(ws);
    const std::string path = TempPath();
    for (auto _ : state) {
        if (!SaveWorksheetFile(ws, path))
            state.SkipWithError("save failed");
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveFullWorksheet)->Unit(benchmark::kMillisecond);

// File Open: a new worksheet for the file, then the file read into it.
void BM_LoadFullWorksheet(benchmark::State& state)
{
    AppSettings settings;
    SilentMessages messages;
    const std::string path = TempPath();
    {
        Worksheet ws(settings, messages);
        FillAllColumns(ws);
        SaveWorksheetFile(ws, path);
    }
    for (auto _ : state) {
        auto ws = std::make_unique<Worksheet>(settings, messages);
        if (!LoadWorksheetFile(*ws, path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(ws.get());
    }
}
BENCHMARK(BM_LoadFullWorksheet)->Unit(benchmark::kMillisecond);

} // namespace
