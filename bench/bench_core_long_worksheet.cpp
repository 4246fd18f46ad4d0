// A worksheet of a million rows: importing a 1,000,000 x 4 CSV into a new worksheet that
// grows to hold it (time, and the heap the worksheet holds afterwards), saving it as a
// worksheet file and opening that file again.

#include "LongSeriesCsv.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

using namespace orvalis;

namespace {

const int kLongRows = bench::LongRows();

ImportRequest GrowingImport(const std::string& path)
{
    ImportRequest request{path, 1, 1, true};
    request.growRows = true;
    return request;
}

// The file's lines below the header line, and the one empty row the import leaves under
// them.
bool HoldsTheWholeFile(Worksheet& ws, int rows)
{
    return ws.Store().GetRowCount() == ws.firstDataRow + rows + 1 &&
           !ws.Store().GetCellText(ws.firstDataRow + rows - 1, 4).empty();
}

// File Import with the comment header and growing, as the window runs it on a new
// worksheet (creating the worksheet is not timed). Counter: the heap the worksheet holds
// afterwards.
void BM_LongImportGrowing(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::string path = bench::WriteLongSeriesCsv(rows);
    if (path.empty()) {
        state.SkipWithError("the CSV could not be written");
        return;
    }
    AppSettings settings;
    SilentMessages messages;
    double heapMb = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = bench::HeapBytesInUse();
        auto ws = std::make_unique<Worksheet>(settings, messages);
        state.ResumeTiming();
        ImportFile(*ws, GrowingImport(path));
        state.PauseTiming();
        if (!HoldsTheWholeFile(*ws, rows))
            state.SkipWithError("the worksheet did not grow to the file");
        heapMb = bench::Megabytes(bench::HeapBytesInUse() - before);
        ws.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = heapMb;
    state.counters["csv_MB"] = bench::Megabytes(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LongImportGrowing)->Arg(kLongRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// One imported long worksheet shared by the save and open benchmarks.
struct LongWorksheet {
    AppSettings settings;
    SilentMessages messages;
    Worksheet ws{settings, messages};
    std::string filePath;
    ~LongWorksheet()
    {
        std::error_code ignored;
        if (!filePath.empty())
            std::filesystem::remove(filePath, ignored);
    }
};

LongWorksheet* ImportedLongWorksheet(int rows)
{
    static std::unique_ptr<LongWorksheet> sheet;
    static int sheetRows = 0;
    if (sheet && sheetRows == rows)
        return sheet.get();
    sheet.reset();
    const std::string csv = bench::WriteLongSeriesCsv(rows);
    if (csv.empty())
        return nullptr;
    auto made = std::make_unique<LongWorksheet>();
    ImportFile(made->ws, GrowingImport(csv));
    std::filesystem::remove(csv);
    if (!HoldsTheWholeFile(made->ws, rows))
        return nullptr;
    made->filePath = (std::filesystem::temp_directory_path() /
                      ("orvalis_bench_long_" + std::to_string(rows) + ".ows"))
                         .string();
    if (!SaveWorksheetFile(made->ws, made->filePath))
        return nullptr;
    sheet = std::move(made);
    sheetRows = rows;
    return sheet.get();
}

// File Save of the imported worksheet: the whole file written to a temporary file,
// synced and renamed over the old one.
void BM_LongSave(benchmark::State& state)
{
    LongWorksheet* sheet = ImportedLongWorksheet(static_cast<int>(state.range(0)));
    if (sheet == nullptr) {
        state.SkipWithError("the long worksheet could not be made");
        return;
    }
    for (auto _ : state) {
        if (!SaveWorksheetFile(sheet->ws, sheet->filePath))
            state.SkipWithError("save failed");
    }
    state.counters["file_MB"] = bench::Megabytes(std::filesystem::file_size(sheet->filePath));
}
BENCHMARK(BM_LongSave)->Arg(kLongRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// File Open of that file: a new worksheet, the file read into it and its sections
// adjusted. Counter: the heap the opened worksheet holds.
void BM_LongOpen(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    LongWorksheet* sheet = ImportedLongWorksheet(rows);
    if (sheet == nullptr) {
        state.SkipWithError("the long worksheet could not be made");
        return;
    }
    double heapMb = 0.0;
    for (auto _ : state) {
        const std::size_t before = bench::HeapBytesInUse();
        auto ws = std::make_unique<Worksheet>(sheet->settings, sheet->messages);
        if (!LoadWorksheetFile(*ws, sheet->filePath))
            state.SkipWithError("open failed");
        state.PauseTiming();
        if (ws->Store().GetRowCount() != sheet->ws.Store().GetRowCount() ||
            ws->Store().GetCellText(ws->firstDataRow + rows - 1, 4) !=
                sheet->ws.Store().GetCellText(ws->firstDataRow + rows - 1, 4))
            state.SkipWithError("the opened worksheet differs from the saved one");
        heapMb = bench::Megabytes(bench::HeapBytesInUse() - before);
        ws.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = heapMb;
}
BENCHMARK(BM_LongOpen)->Arg(kLongRows)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
