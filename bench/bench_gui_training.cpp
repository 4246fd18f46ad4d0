// What keeping the window alive costs a training run: a network trained from the
// window (Training Operation window updated, pending events dispatched once per cycle)
// against the same run without any window, for a 200-100-1 network (whose share must
// stay under 2 %) and a small 14-7-1 one; and a report painted into the window, and an
// event dispatch, each alone.

#include "SilentPrompts.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/WorksheetApp.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/TrainingCurve.h"
#include "worksheet/ui/TrainingProgressDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace orvalis;

std::vector<std::string> DaxTexts()
{
    const char* dir = std::getenv("ORVALIS_SAMPLE_DATA_DIR");
    std::ifstream in(std::string(dir ? dir : ORVALIS_SAMPLE_DATA_DIR) + "/eustockmarkets_full.csv");
    std::string line;
    std::getline(in, line);  // header
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

// Cycle limit of each measured run: a run performs two more cycles than its limit.
int CycleLimit(int taps) { return taps >= 200 ? 8 : 200; }

// The program's window with one worksheet of 600 DAX closes in 400 training, 100
// testing and 100 evaluation rows.
struct TrainingShell {
    QTemporaryDir dir;
    MemorySettingsStore store;
    QSettings recent{dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat};
    SilentPrompts prompts{true, UiPrompts::SaveAnswer::No};
    CWorksheetApp app{store, recent, prompts};

    TrainingShell()
    {
        app.StartUp();
        app.MainFrame()->resize(1280, 800);
        Worksheet& ws = Doc().GetWorksheet();
        ws.Settings().autoVectorSizing = false;
        const std::vector<std::string> dax = DaxTexts();
        ws.Store().SetCellText(kRoleRow, 1, "Trg/In");
        for (int r = 0; r < 600; ++r)
            ws.Store().SetCellText(ws.firstDataRow + r, 1, dax[static_cast<std::size_t>(r)]);
        ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "400");
        ws.ApplyCellEdit(kNumTestingRow, kValueColumn, "100");
        ws.ApplyCellEdit(kNumEvalRow, kValueColumn, "100");
        ws.network.autoTrainingConfigure = 0;
        QCoreApplication::processEvents();
    }
    CGridDoc& Doc() { return *app.Docs().ActiveDocument(); }
    // A window of taps rows: the automatic shape is taps-(taps/2)-1.
    Worksheet& Prepare(int taps)
    {
        Worksheet& ws = Doc().GetWorksheet();
        ws.ApplyCellEdit(kNumTapsRow, kValueColumn, std::to_string(taps));
        TrainingParameters parameters;
        parameters.maxCycles = CycleLimit(taps);
        parameters.errorRatioGoal = 100.0;  // every run goes to its cycle limit
        SetTrainingParameters(ws, parameters);
        return ws;
    }
};

TrainingShell& Shell()
{
    // Never destroyed: its windows must not outlive the application object, which the
    // benchmark's main() ends before static objects go.
    static TrainingShell* shell = new TrainingShell;
    return *shell;
}

void BM_TrainWithoutWindow(benchmark::State& state)
{
    Worksheet& ws = Shell().Prepare(static_cast<int>(state.range(0)));
    TrainingOutcome outcome;
    for (auto _ : state) {
        ws.ResetTraining();
        if (!TrainWorksheet(ws, nullptr, &outcome))
            state.SkipWithError("training refused");
    }
    state.counters["cycles"] = outcome.cycles;
}
BENCHMARK(BM_TrainWithoutWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->ArgName("taps")->Arg(200)->Arg(14);

void BM_TrainFromTheWindow(benchmark::State& state)
{
    TrainingShell& shell = Shell();
    shell.Prepare(static_cast<int>(state.range(0)));
    CTrainingController& training = shell.app.MainFrame()->Training();
    for (auto _ : state) {
        shell.Doc().GetWorksheet().ResetTraining();
        training.Train(shell.Doc());
    }
    state.counters["cycles"] =
        training.ProgressDialog()->IterationsField().text().toInt() + 1;
}
BENCHMARK(BM_TrainFromTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->ArgName("taps")->Arg(200)->Arg(14);

// A report put into the Training Operation window and painted by the next dispatch.
void BM_ReportAndDispatchOneCycle(benchmark::State& state)
{
    CTrainingProgressDialog dialog(Shell().app.MainFrame());
    dialog.show();
    QCoreApplication::processEvents();
    int cycle = 0;
    for (auto _ : state) {
        dialog.ReportCycle(cycle, cycle / 3, 1.0 + cycle * 1e-3, 1.1 + cycle * 1e-3);
        QCoreApplication::processEvents();
        ++cycle;
    }
}
BENCHMARK(BM_ReportAndDispatchOneCycle)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The dispatch alone, with the window shown and nothing changed in it.
void BM_DispatchOnlyOneCycle(benchmark::State& state)
{
    CTrainingProgressDialog dialog(Shell().app.MainFrame());
    dialog.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        QCoreApplication::processEvents();
}
BENCHMARK(BM_DispatchOnlyOneCycle)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// What the live curve costs a small network's run: a 6-3-1 network (a window of 6
// rows) trained from the window for 2,002 cycles, with the window's curve fed and
// redrawn, and with the curve left out. The run is long enough (a few seconds) for the
// curve's throttled redraws to reach their steady rate.
void BM_TrainWithLiveCurve(benchmark::State& state)
{
    TrainingShell& shell = Shell();
    Worksheet& ws = shell.Prepare(6);
    TrainingParameters parameters;
    parameters.maxCycles = 2000;
    parameters.errorRatioGoal = 100.0;
    SetTrainingParameters(ws, parameters);
    CTrainingController& training = shell.app.MainFrame()->Training();
    training.liveCurve = state.range(0) != 0;
    double drawShare = 0.0;  // of the run's wall time, the last run's
    for (auto _ : state) {
        shell.Doc().GetWorksheet().ResetTraining();
        QElapsedTimer run;
        run.start();
        training.Train(shell.Doc());
        drawShare = double(training.ProgressDialog()->Curve().DrawTimeNs()) / double(run.nsecsElapsed());
    }
    CTrainingProgressDialog& dialog = *training.ProgressDialog();
    state.counters["curve_draw_share_pct"] = 100.0 * drawShare;
    state.counters["cycles"] = dialog.IterationsField().text().toInt() + 1;
    state.counters["curve_draws"] = dialog.Curve().DrawCount();
    training.liveCurve = true;
}
BENCHMARK(BM_TrainWithLiveCurve)->Unit(benchmark::kMillisecond)->Iterations(3)->ArgName("curve")->Arg(0)->Arg(1)->Arg(0)->Arg(1);

} // namespace
