// What a user waits for after Evaluate: the window's Evaluate command on a 990-row
// worksheet (the DAX column of eustockmarkets_990.csv imported with its header line,
// trained once before the timing), the Estimate Operation window answered at once, and the
// grid's repaint of the written cells; without and with the forecast check after it.

#include "PaintCounter.h"
#include "SilentPrompts.h"
#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/WorksheetApp.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QApplication>
#include <QEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>

namespace {

using namespace orvalis;

// CPU time of this thread, in seconds: the check's share is measured inside each run, so
// that the load of a shared machine moves both parts alike.
double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

struct EvaluateShell {
    QTemporaryDir dir;
    MemorySettingsStore store;
    QSettings recent{dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat};
    SilentPrompts prompts{true, UiPrompts::SaveAnswer::No};
    CWorksheetApp app{store, recent, prompts};
    bench::PaintCounter counter;

    // Model Evaluate: 660 Training, 165 Testing and 165 Evaluate rows; Data Extrapolate:
    // 660 Training and 324 Testing rows and the extension of phase offset -1. 20 taps,
    // network 20-10-1 trained for 20 cycles, as in the core benchmark of the check.
    explicit EvaluateShell(int mode)
    {
        app.StartUp();
        app.MainFrame()->resize(1280, 800);
        QCoreApplication::processEvents();
        Worksheet& ws = Doc().GetWorksheet();
        ws.Settings().autoVectorSizing = false;
        ws.Settings().resultsMode = mode;
        ws.Settings().UpdateExtrapolationRows();
        const ImportOutcome outcome = ImportFile(
            ws, {ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv", 1, 1, true});
        if (!outcome.imported)
            return;
        ws.ApplyCellEdit(kRoleRow, 2, "Trg/In");
        ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "660");
        ws.ApplyCellEdit(kNumTestingRow, kValueColumn, mode == ResultsModeEvaluate ? "165" : "324");
        ws.ApplyCellEdit(kNumEvalRow, kValueColumn, mode == ResultsModeEvaluate ? "165" : "0");
        ws.ApplyCellEdit(kNumTapsRow, kValueColumn, "20");
        ws.network.autoTrainingConfigure = 0;
        ws.network.maxCycles = 20;
        trained = TrainWorksheet(ws, nullptr);
        ws.phaseOffset = -1;
        // The user looks at the last rows, where the results are written.
        CWorksheetGrid& grid = app.Docs().ActiveFrame()->View().Grid();
        grid.Scroll(true, ScrollAction::ToEnd);
        grid.viewport()->installEventFilter(&counter);
        QCoreApplication::processEvents();
    }
    CGridDoc& Doc() { return *app.Docs().ActiveDocument(); }
    bool trained = false;
};

// The command as the user runs it (the check included), and the check's part of it on
// the window's thread: Model Evaluate computes the one-step check at once, Data
// Extrapolate reads the worksheet and leaves the recursive forecasts of the bands (h = 1
// .. 6 at phase offset -1) to another thread, whose time until the bands are in is
// `bands_wait_ms` (wall clock, the window free meanwhile).
void EvaluateInWindow(benchmark::State& state, int mode)
{
    EvaluateShell shell(mode);
    if (!shell.trained) {
        state.SkipWithError("import or training refused");
        return;
    }
    CTrainingController& training = shell.app.MainFrame()->Training();
    CGridDoc& doc = shell.Doc();
    Worksheet& ws = doc.GetWorksheet();
    shell.counter.paints = 0;
    double checkSeconds = 0.0; // window-thread CPU of the check alone
    double runSeconds = 0.0;   // window-thread CPU of the whole Evaluate and repaint
    double waitSeconds = 0.0;  // wall time until a check away from the window is in
    bool available = false;
    bool bands = false;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        training.Evaluate(doc);
        QCoreApplication::processEvents(); // the grid repaints the written cells
        runSeconds += ThreadCpuSeconds() - start;
        doc.FinishForecastCheck();

        const double checkStart = ThreadCpuSeconds();
        doc.UpdateForecastCheck();
        checkSeconds += ThreadCpuSeconds() - checkStart;
        const auto waitStart = std::chrono::steady_clock::now();
        doc.FinishForecastCheck();
        waitSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - waitStart).count();
        const ForecastCheck* check = doc.LastForecastCheck();
        available = check && check->available;
        bands = check && !check->intervals.empty() && check->intervals.back().hi95.has_value();
    }
    const double runs = double(state.iterations());
    state.counters["grid_paints_per_run"] = double(shell.counter.paints) / runs;
    state.counters["check_cpu_ms"] = 1e3 * checkSeconds / runs;
    // The check against the rest of what the user waits for (Evaluate, the Estimate
    // Operation window, the repaint).
    state.counters["check_share_pct"] = 100.0 * checkSeconds / (runSeconds - checkSeconds);
    state.counters["bands_wait_ms"] = 1e3 * waitSeconds / runs;
    state.counters["check_available"] = available;
    state.counters["bands"] = bands;
    state.counters["extrapolated"] = ws.extrapolationCount;
}

void BM_EvaluateInWindow990RowsModelEvaluate(benchmark::State& state)
{
    EvaluateInWindow(state, ResultsModeEvaluate);
}
BENCHMARK(BM_EvaluateInWindow990RowsModelEvaluate)->Unit(benchmark::kMillisecond);

void BM_EvaluateInWindow990RowsExtrapolated(benchmark::State& state)
{
    EvaluateInWindow(state, ResultsModeExtrapolate);
}
BENCHMARK(BM_EvaluateInWindow990RowsExtrapolated)->Unit(benchmark::kMillisecond);

} // namespace
