// Whole worksheet runs as a user starts them: a full default training run on a 600-row
// worksheet of a real price series (network 20-10-1), Evaluate with extrapolation on
// a worksheet whose 994 data rows are all filled, and Evaluate of a 990-row worksheet
// with and without the forecast check after it.

#include "worksheet/AppSettings.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// The DAX closes of the sample series as the CSV writes them.
std::vector<std::string> DaxTexts(const char* file)
{
    const char* dir = std::getenv("ORVALIS_SAMPLE_DATA_DIR");
    std::ifstream in(std::string(dir ? dir : ORVALIS_SAMPLE_DATA_DIR) + "/" + file);
    std::string line;
    std::getline(in, line); // header
    std::vector<std::string> texts;
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::string day, dax;
        std::getline(fields, day, ',');
        std::getline(fields, dax, ',');
        texts.push_back(dax);
    }
    return texts;
}

struct BenchSheet {
    AppSettings settings;
    SilentMessages messages;
    std::unique_ptr<Worksheet> ws;

    BenchSheet(int rows, int mode, bool commentLine)
    {
        settings.useCommentLine = commentLine;
        settings.autoVectorSizing = false;
        settings.resultsMode = mode;
        settings.UpdateExtrapolationRows();
        ws = std::make_unique<Worksheet>(settings, messages);
        const std::vector<std::string> dax = DaxTexts("eustockmarkets_full.csv");
        ws->Store().SetCellText(kRoleRow, 1, "Trg/In");
        for (int r = 0; r < rows && r < static_cast<int>(dax.size()); ++r)
            ws->Store().SetCellText(ws->firstDataRow + r, 1, dax[static_cast<std::size_t>(r)]);
    }
    void Counts(int training, int testing, int eval, int taps)
    {
        ws->ApplyCellEdit(kNumTrainingRow, kValueColumn, std::to_string(training));
        ws->ApplyCellEdit(kNumTestingRow, kValueColumn, std::to_string(testing));
        ws->ApplyCellEdit(kNumEvalRow, kValueColumn, std::to_string(eval));
        ws->ApplyCellEdit(kNumTapsRow, kValueColumn, std::to_string(taps));
    }
};

// Train from fresh weights with the default parameters (automatic shape 20-10-1).
void BM_TrainWorksheet600Rows(benchmark::State& state)
{
    BenchSheet sheet(600, ResultsModeEvaluate, true);
    sheet.Counts(400, 100, 100, 20);
    TrainingOutcome outcome;
    for (auto _ : state) {
        sheet.ws->ResetTraining();
        if (!TrainWorksheet(*sheet.ws, nullptr, &outcome))
            state.SkipWithError("training refused");
    }
    state.counters["cycles"] = outcome.cycles;
    state.counters["updates"] = outcome.updates;
}
BENCHMARK(BM_TrainWorksheet600Rows)->Unit(benchmark::kMillisecond);

// The same training with the training options: range(0) = 1 patient training (to
// Maximum Cycles, the best Testing weights kept), range(0) = 3 three starts from seeds
// 4711..4713 with the default stop.
void BM_TrainWorksheet600RowsOptions(benchmark::State& state)
{
    BenchSheet sheet(600, ResultsModeEvaluate, true);
    sheet.Counts(400, 100, 100, 20);
    if (state.range(0) == 1)
        sheet.settings.forecast.patientTraining = true;
    else
        sheet.settings.forecast.starts = static_cast<int>(state.range(0));
    TrainingOutcome outcome;
    for (auto _ : state) {
        sheet.ws->ResetTraining();
        if (!TrainWorksheet(*sheet.ws, nullptr, &outcome))
            state.SkipWithError("training refused");
    }
    state.counters["cycles"] = outcome.cycles;
    state.counters["start"] = outcome.start;
}
BENCHMARK(BM_TrainWorksheet600RowsOptions)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// Evaluate in Data Extrapolate mode on 994 filled data rows: 987 rows in the sections
// and the last 7 the user's, used as scratch for the 6 extrapolated rows and restored.
void BM_EvaluateWorksheet994RowsExtrapolated(benchmark::State& state)
{
    BenchSheet sheet(994, ResultsModeExtrapolate, false);
    sheet.Counts(650, 337, 0, 20);
    sheet.ws->network.autoTrainingConfigure = 0;
    sheet.ws->network.maxCycles = 20;
    if (!TrainWorksheet(*sheet.ws, nullptr)) {
        state.SkipWithError("training refused");
        return;
    }
    sheet.ws->phaseOffset = -1; // the longest extension: ExtrapolationLen + 1 rows
    for (auto _ : state) {
        if (!EvaluateWorksheet(*sheet.ws))
            state.SkipWithError("evaluation refused");
    }
    state.counters["extrapolated"] = sheet.ws->extrapolationCount;
}
BENCHMARK(BM_EvaluateWorksheet994RowsExtrapolated)->Unit(benchmark::kMillisecond);

// Evaluate of a trained 990-row worksheet (20 taps, 20-10-1, 2 Pass) as the window runs
// it (range(1) = 1; 0: one Evaluate before the timing, the check alone timed), followed
// by the forecast check with intervals up to h = range(0) when range(0) > 0 (0: Evaluate
// alone, the reference). Model Evaluate: 660 Training, 165 Testing and 165
// Evaluate rows. Data Extrapolate: 660 Training and 324 Testing rows, the extension of
// phase offset -1 (6 rows) and its bands.
void EvaluateWithCheck(benchmark::State& state, int mode)
{
    BenchSheet sheet(990, mode, true);
    if (mode == ResultsModeEvaluate)
        sheet.Counts(660, 165, 165, 20);
    else
        sheet.Counts(660, 324, 0, 20);
    sheet.ws->network.autoTrainingConfigure = 0;
    sheet.ws->network.maxCycles = 20;
    if (!TrainWorksheet(*sheet.ws, nullptr)) {
        state.SkipWithError("training refused");
        return;
    }
    sheet.ws->phaseOffset = -1;
    const int horizon = static_cast<int>(state.range(0));
    const bool evaluate = state.range(1) != 0;
    bool available = false;
    if (!evaluate && !EvaluateWorksheet(*sheet.ws))
        state.SkipWithError("evaluation refused");
    for (auto _ : state) {
        if (evaluate && !EvaluateWorksheet(*sheet.ws))
            state.SkipWithError("evaluation refused");
        if (horizon > 0) {
            const ForecastCheck check = ComputeForecastCheck(*sheet.ws, horizon);
            available = check.available;
            benchmark::DoNotOptimize(check.intervals.data());
        }
    }
    state.counters["check_available"] = available;
}
void BM_EvaluateWorksheet990RowsModelEvaluate(benchmark::State& state)
{
    EvaluateWithCheck(state, ResultsModeEvaluate);
}
BENCHMARK(BM_EvaluateWorksheet990RowsModelEvaluate)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({5, 1})
    ->Args({1, 0})
    ->Args({5, 0})
    ->Unit(benchmark::kMillisecond);
void BM_EvaluateWorksheet990RowsExtrapolated(benchmark::State& state)
{
    EvaluateWithCheck(state, ResultsModeExtrapolate);
}
BENCHMARK(BM_EvaluateWorksheet990RowsExtrapolated)
    ->Args({0, 1})
    ->Args({6, 1})
    ->Args({6, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace
