// The batch commands that train and evaluate: train, evaluate and run.
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "batch/InterruptAbort.h"

#include "worksheet/AppSettings.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/WorksheetNetwork.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orvalis {

namespace {

// The progress line on a terminal: rewritten once per cycle, ended when the run ends.
// Ctrl+C (or SIGTERM, SIGHUP) during the run aborts it as the progress dialog's Abort
// does.
class ProgressLine final : public TrainingProgress {
public:
    explicit ProgressLine(CBackpropNet& net) : m_net(net), m_active(isatty(STDERR_FILENO) == 1) {}
    ~ProgressLine() override { End(); }

    void DispatchPendingEvents() override
    {
        if (m_interrupt.Requested())
            m_net.abortRequested = 1;
    }
    // The signal that stopped the run (or came after its last cycle), 0 when none did.
    int StopSignal() const { return m_interrupt.Signal(); }

    void BeginStart(int start, int count) override
    {
        std::snprintf(m_start, sizeof m_start, "start %d of %d  ", start, count);
    }
    void ReportCycle(int cycle, int updates, double trainRatio, double testRatio) override
    {
        if (!m_active)
            return;
        char line[192];
        std::snprintf(line, sizeof line,
                      "\r%scycle %d  updates %d  training error ratio %f  testing error ratio %f ",
                      m_start, cycle, updates, trainRatio, testRatio);
        std::cerr << line << std::flush;
        m_written = true;
    }
    void End()
    {
        if (m_written)
            std::cerr << '\n' << std::flush;
        m_written = false;
    }

private:
    CBackpropNet& m_net;
    InterruptAbort m_interrupt;
    bool m_active;
    bool m_written = false;
    char m_start[32] = ""; // "start 2 of 5  " while several starts train
};

// One worksheet worked on step after step, as a user would in one window.
class RunSession {
public:
    RunSession(BatchContext& context, Worksheet& ws) : m_context(context), m_ws(ws) {}

    bool Train()
    {
        m_context.NoteTwoPassOverride("train");
        ProgressLine progress(m_ws.Network().net);
        TrainingOutcome outcome;
        const bool ok = TrainWorksheet(m_ws, &progress, &outcome);
        progress.End();
        m_stopSignal = progress.StopSignal();
        if (ok)
            m_outcome = outcome;
        return ok;
    }
    bool Continue()
    {
        ProgressLine progress(m_ws.Network().net);
        TrainingOutcome outcome;
        if (!ContinueTraining(m_ws, &progress, &outcome)) {
            m_context.Note("continue needs a train step before it in the same run");
            return false;
        }
        progress.End();
        m_stopSignal = progress.StopSignal();
        m_outcome = outcome;
        return true;
    }
    bool Evaluate()
    {
        m_context.NoteTwoPassOverride("evaluate");
        return EvaluateWorksheet(m_ws);
    }
    bool Clear()
    {
        ClearTraining(m_ws);
        return true;
    }
    bool Autoconfig()
    {
        AutoConfigVectors(m_ws);
        return true;
    }
    bool Mode(int mode)
    {
        m_ws.SwitchResultsMode(mode);
        return true;
    }

    // The signal that stopped the last training run, 0 when it ran to its end.
    int StopSignal() const { return m_stopSignal; }
    // Cycles of the last training run, 0 before any.
    int Cycles() const { return m_outcome ? m_outcome->cycles : 0; }

    // The figures as the header cells show them, one "name: value" line each.
    void PrintFigures(std::ostream& out) const
    {
        const CellStore& store = m_ws.Store();
        out << "state: " << store.CellTextRef(kStateRow, kStateColumn) << '\n'
            << "slope_fm: " << store.CellTextRef(kSlopeFmRow, kStateColumn) << '\n'
            << "value_fm: " << store.CellTextRef(kValueFmRow, kStateColumn) << '\n'
            << "slope_err_avg: " << store.CellTextRef(1, kFigureColumn) << '\n'
            << "slope_err_sd: " << store.CellTextRef(2, kFigureColumn) << '\n'
            << "value_err_avg: " << store.CellTextRef(3, kFigureColumn) << '\n'
            << "value_err_sd: " << store.CellTextRef(4, kFigureColumn) << '\n'
            << "phase_offset: " << m_ws.phaseOffset << '\n';
        if (m_outcome)
            out << "cycles: " << m_outcome->cycles << '\n' << "updates: " << m_outcome->updates << '\n';
        // The start kept, only after a training of several starts: one run's lines stay.
        if (m_outcome && m_outcome->startCount > 1)
            out << "start: " << m_outcome->start << '\n';
        out.flush();
    }

private:
    BatchContext& m_context;
    Worksheet& m_ws;
    std::optional<TrainingOutcome> m_outcome; // the last training run
    int m_stopSignal = 0;
};

using Step = bool (*)(RunSession&);

struct StepSpec {
    const char* name;
    Step run;
};

const StepSpec kSteps[] = {
    {"train", [](RunSession& s) { return s.Train(); }},
    {"continue", [](RunSession& s) { return s.Continue(); }},
    {"evaluate", [](RunSession& s) { return s.Evaluate(); }},
    {"clear", [](RunSession& s) { return s.Clear(); }},
    {"autoconfig", [](RunSession& s) { return s.Autoconfig(); }},
    {"mode=evaluate", [](RunSession& s) { return s.Mode(ResultsModeEvaluate); }},
    {"mode=extrapolate", [](RunSession& s) { return s.Mode(ResultsModeExtrapolate); }},
};

const StepSpec* FindStep(const std::string& name)
{
    for (const StepSpec& step : kSteps)
        if (name == step.name)
            return &step;
    return nullptr;
}

// Says that a signal stopped the training of steps[at] and which steps were left undone.
void NoteStopped(BatchContext& context, const RunSession& session,
                 const std::vector<const StepSpec*>& steps, std::size_t at)
{
    std::string text = std::string(StopSignalName(session.StopSignal())) +
                       ": training aborted after " + std::to_string(session.Cycles()) +
                       " cycles, with its best weights";
    if (at + 1 < steps.size()) {
        text += "; not done:";
        for (std::size_t i = at + 1; i < steps.size(); ++i)
            text += std::string(" ") + steps[i]->name;
    }
    context.Note(text);
}

// Loads the worksheet, performs the steps in order until one is refused or a signal
// stops a training run (the steps after it are not done), prints the figures and
// finishes (cells listing, save).
int RunSteps(BatchContext& context, const std::vector<const StepSpec*>& steps)
{
    auto worksheet = context.LoadWorksheet(context.Arguments().positional[0]);
    if (!worksheet)
        return BatchFileError;
    RunSession session(context, *worksheet);
    int status = BatchDone;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (!steps[i]->run(session)) {
            status = BatchRefused;
            break;
        }
        if (session.StopSignal() != 0) {
            NoteStopped(context, session, steps, i);
            status = BatchAborted;
            break;
        }
    }
    session.PrintFigures(context.Out());
    return context.Finish(*worksheet, status);
}

} // namespace

int RunTrainCommand(BatchContext& context)
{
    return RunSteps(context, {FindStep("train")});
}

int RunEvaluateCommand(BatchContext& context)
{
    return RunSteps(context, {FindStep("evaluate")});
}

bool IsRunStep(const std::string& word)
{
    return FindStep(word) != nullptr;
}

int RunRunCommand(BatchContext& context)
{
    const std::vector<std::string>& positional = context.Arguments().positional;
    std::vector<const StepSpec*> steps;
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const StepSpec* step = FindStep(positional[i]);
        if (!step) {
            context.Note("unknown step " + positional[i] +
                         " (steps: train continue evaluate clear autoconfig mode=evaluate "
                         "mode=extrapolate)");
            return BatchUsage;
        }
        steps.push_back(step);
    }
    if (steps.empty()) {
        context.Note("run needs at least one step");
        return BatchUsage;
    }
    return RunSteps(context, steps);
}

} // namespace orvalis
