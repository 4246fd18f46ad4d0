// Long worksheets: a training cycle on 100,000 rows against what the engine's own
// pattern and measuring costs predict for it, and importing a long 4-column CSV into a
// worksheet that grows to fit it (time and heap).
#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>

using namespace orvalis;

namespace {

// CPU seconds of the process: the machine is shared, and wall time swings with its load.
double SecondsOf(const std::function<void()>& work)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return static_cast<double>(end.tv_sec - start.tv_sec) + 1e-9 * static_cast<double>(end.tv_nsec - start.tv_nsec);
}

// A price-like series of `rows` values as the grid shows them.
void FillSeries(Worksheet& ws, int rows)
{
    char text[32];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(text, sizeof text, "%.3f",
                      1000.0 + 150.0 * std::sin(0.0123 * r) + 40.0 * std::sin(0.37 * r) + 0.01 * r);
        ws.Store().SetCellText(ws.firstDataRow + r, 1, text);
    }
}

// Training cycles of a 100,000-row worksheet (20 taps, network 20-10-1, one pass over the
// rows per cycle). A cycle's cost is the difference between a run of many cycles and a
// run of few, divided by the cycles between them (what every run pays once, the
// extraction, the listing and the results, drops out). Counters: that cost, and the cost
// the engine's own figures predict for a cycle (its training patterns and its error
// measurement, timed alone on the same data), so the difference is what the worksheet
// adds per cycle. CPU time.
void BM_TrainCycle100kRows(benchmark::State& state)
{
    const int rows = 100000;
    AppSettings settings;
    settings.autoVectorSizing = false;
    settings.use2PassEstimate = false;
    SilentMessages messages;
    Worksheet ws(settings, messages);
    ws.GrowRows(ws.firstDataRow + rows);
    ws.Store().SetCellText(kRoleRow, 1, "Trg/In");
    FillSeries(ws, rows);
    ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "70000");
    ws.ApplyCellEdit(kNumTestingRow, kValueColumn, "20000");
    ws.ApplyCellEdit(kNumEvalRow, kValueColumn, "10000");
    ws.ApplyCellEdit(kNumTapsRow, kValueColumn, "20");
    ws.network.autoTrainingConfigure = 0;

    const auto run = [&](int maxCycles, int& cycles) {
        TrainingParameters parameters = ws.Network().net.parameters;
        parameters.iterationsPerCycle = 1;
        parameters.errorRatioGoal = 1e9; // only the cycle limit ends a run
        parameters.maxCycles = maxCycles;
        SetTrainingParameters(ws, parameters);
        ws.SetStateAndText(WorksheetState::Init);
        TrainingOutcome outcome;
        const double seconds = SecondsOf([&] { TrainWorksheet(ws, nullptr, &outcome); });
        cycles = outcome.cycles;
        return seconds;
    };
    double perCycle = 0.0;
    double predicted = 0.0;
    for (auto _ : state) {
        int few = 0;
        int many = 0;
        const double shortRun = run(0, few);
        const double longRun = run(6, many);
        if (many <= few) {
            state.SkipWithError("training was refused");
            return;
        }
        perCycle = (longRun - shortRun) / (many - few);
        CBackpropNet& net = ws.Network().net;
        const VectorView view = ws.Network().lastView;
        const double patterns = SecondsOf([&] { net.TrainPatterns(view, ws.counts.totalRows); });
        const double measure = SecondsOf([&] { net.MeasureErrors(view); });
        predicted = patterns + measure;
    }
    state.counters["ms_per_cycle"] = perCycle * 1e3;
    state.counters["engine_ms_per_cycle"] = predicted * 1e3;
    state.counters["outside_engine_pct"] = predicted > 0 ? 100.0 * (perCycle - predicted) / predicted : 0.0;
}
BENCHMARK(BM_TrainCycle100kRows)->Unit(benchmark::kMillisecond)->Iterations(3);

std::string LongCsv(int rows)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("orvalis_bench_" + std::to_string(rows) + "x4.csv"))
                                 .string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "Day,A,B,C\n";
    char line[96];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(line, sizeof line, "%d,%.2f,%.2f,%.2f\n", r + 1, 1000.0 + r * 0.01,
                      2000.0 + (r % 977) * 0.5, 300.0 + (r % 101) * 0.25);
        out << line;
    }
    return path;
}

// A rows x 4 CSV with its header line imported into a new worksheet that grows to hold
// it. Counter: heap in use by the worksheet afterwards (MB).
void BM_ImportGrowing(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::string path = LongCsv(rows);
    AppSettings settings;
    settings.resultsMode = ResultsModeExtrapolate;
    settings.UpdateExtrapolationRows();
    SilentMessages messages;
    double heapMb = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = mallinfo2().uordblks;
        auto ws = std::make_unique<Worksheet>(settings, messages);
        ImportRequest request{path, 1, 1, true};
        request.growRows = true;
        state.ResumeTiming();
        ImportFile(*ws, request);
        state.PauseTiming();
        // The file's lines and the one empty row the import leaves below them.
        if (ws->Store().GetRowCount() != ws->firstDataRow + rows + 1)
            state.SkipWithError("the worksheet did not grow to the file");
        heapMb = static_cast<double>(mallinfo2().uordblks - before) / (1 << 20);
        ws.reset();
        state.ResumeTiming();
    }
    state.counters["heap_MB"] = heapMb;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportGrowing)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
