#include "worksheet/TrainingRun.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/ResultStatistics.h"
#include "worksheet/UserMessages.h"
#include "worksheet/WindowRule.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace orvalis {

namespace {

constexpr int kMaxNetworkInputs = 200;
constexpr int kMaxLayerUnits = 200;
constexpr int kMaxLayers = 8;

// The shape Train gives the network when sizing it automatically: the window of every
// input set in, half as many hidden units, one output.
NetworkShape AutomaticShape(const Worksheet& ws)
{
    const std::int64_t inputs = static_cast<std::int64_t>(ws.counts.numTaps) * ws.inputSetCount;
    NetworkShape shape;
    shape.layerCount = 3;
    shape.unitsPerLayer[0] = static_cast<int>(std::min<std::int64_t>(inputs, std::numeric_limits<int>::max()));
    shape.unitsPerLayer[1] = shape.unitsPerLayer[0] / 2;
    shape.unitsPerLayer[2] = 1;
    return shape;
}

std::string WithLimit(const char* text, int limit)
{
    return text + std::to_string(limit);
}

// The three limits of the automatic or stored shape, in their order of precedence.
bool ShapeWithinLimits(Worksheet& ws, const NetworkShape& shape)
{
    UserMessages& messages = ws.Messages();
    if (shape.unitsPerLayer[0] > kMaxNetworkInputs) {
        messages.Error(WithLimit("Error: Too Many Inputs to Network, Maximum = ", kMaxNetworkInputs));
        return false;
    }
    if (shape.unitsPerLayer[1] > kMaxLayerUnits) {
        messages.Error(WithLimit("Error: Too Many Units in Network Layer, Maximum = ", kMaxLayerUnits));
        return false;
    }
    if (shape.layerCount > kMaxLayers) {
        messages.Error(WithLimit("Error: Too Many Layers in Network, Maximum = ", kMaxLayers));
        return false;
    }
    return true;
}

// The refusals that keep a run inside the worksheet's rows: a training range that is
// not empty, an input vector that is the network's, outputs that stay in the sections.
bool SectionsFitNetwork(Worksheet& ws, const CBackpropNet& net)
{
    const SectionCounts& c = ws.counts;
    UserMessages& messages = ws.Messages();
    if (c.numTaps >= c.numTraining) {
        messages.Error("Error: Num Taps Must Be Less Than Num Training");
        return false;
    }
    // Learning the change, the first L rows have no change to fill a window with.
    const int lag = ws.vectors.changeLag;
    if (lag > 0 && static_cast<std::int64_t>(c.numTaps) + lag >= c.numTraining) {
        messages.Error("Error: Num Taps + Change Lag Must Be Less Than Num Training");
        return false;
    }
    // In state Init the network is about to be built from the shape record; otherwise
    // training continues on the network already built.
    const NetworkShape shape = ws.state == WorksheetState::Init ? net.shape : net.BuiltShape();
    const std::int64_t window = static_cast<std::int64_t>(c.numTaps) * ws.inputSetCount;
    if (shape.layerCount < 1 || shape.Inputs() != window) {
        messages.Error("Error: Network Inputs Must Equal Num Taps x Input Sets (" +
                       std::to_string(window) + ")");
        return false;
    }
    // Output unit k of row r learns target row r+k-1; the last testing row's outputs must
    // stay inside the sections.
    const std::int64_t lastTarget = static_cast<std::int64_t>(c.numTraining) + c.numTesting - 1 +
                                    shape.Outputs() - 1;
    if (shape.Outputs() < 1 || lastTarget > static_cast<std::int64_t>(c.totalRows) - 1) {
        messages.Error("Error: Too Many Network Outputs For The Rows After Testing");
        return false;
    }
    return true;
}

// Steps 12 to 16 of a run: predictions of the training and testing rows, the results,
// the confidence.
void FinishRun(Worksheet& ws, CBackpropNet& net, const VectorView& view, TrainingProgress* progress,
               bool markTrained)
{
    net.ListPredictions(view, 2);
    CopyPredictions(ws, net, ws.counts.totalRows, ws.trainingPredictions);
    if (markTrained)
        ws.SetStateAndText(WorksheetState::Trained);
    WriteTrainingResults(ws);
    NoteEstimateRows(ws, 0);
    if (progress)
        progress->ShowConfidence(ws.statistics.slopeFM, ws.statistics.valueFM);
}

} // namespace

bool TrainWorksheet(Worksheet& ws, TrainingProgress* progress, TrainingOutcome* outcome)
{
    ws.SetModified(true);
    if (EffectiveForecastOptions(ws.Settings().forecast).tapsByRule)
        ApplyWindowRule(ws);
    WorksheetNetwork& network = ws.Network();
    CBackpropNet& net = network.net;
    if (!BeginRun(ws, true))
        return false;
    if (ws.network.autoNetworkConfigure)
        SetNetworkShape(ws, AutomaticShape(ws));
    if (!ShapeWithinLimits(ws, net.shape) || !SectionsFitNetwork(ws, net))
        return RefuseRun(ws);
    if (ws.network.autoTrainingConfigure) {
        SetTrainingParameters(ws, TrainingParameters{});
        ws.Settings().use2PassEstimate = true; // acts from the next extraction on
    }

    if (progress)
        progress->Show();
    // Starts and the seed choose fresh weights, so they act on a network about to be
    // built; a trained network goes on from its own weights.
    const ForecastOptions options = EffectiveForecastOptions(ws.Settings().forecast);
    const bool fresh = ws.state == WorksheetState::Init;
    if (fresh)
        net.InitNetwork(nullptr, options.seed);
    const VectorView view = DefineRunRanges(ws);
    if (!net.DataFits(view)) // the refusals above leave nothing for this to catch
        return RefuseRun(ws);
    network.trained = true;
    network.lastView = view;
    network.changeLag = ws.vectors.changeLag;
    const int starts = std::clamp(options.starts, 1, ForecastOptions::MaxStarts);
    const TrainingOutcome result =
        fresh && starts > 1
            ? net.RunStarts(view, progress, {starts, options.seed, options.patientTraining})
            : net.RunTraining(view, progress, options.patientTraining);
    if (outcome)
        *outcome = result;
    FinishRun(ws, net, view, progress, true);
    return true;
}

bool ContinueTraining(Worksheet& ws, TrainingProgress* progress, TrainingOutcome* outcome)
{
    WorksheetNetwork& network = ws.Network();
    CBackpropNet& net = network.net;
    // The run goes on over the rows of the last one; the vectors may have moved since
    // (a longer worksheet extracted in between), so the view points at them afresh.
    if (!network.trained)
        return false;
    const int lag = std::max(network.changeLag, 0);
    VectorView view = network.lastView;
    view.inputs = ws.vectors.InputPointers(lag);
    view.target = ws.vectors.Target(0) + lag;
    view.rowCount = ws.vectors.Capacity() - lag;
    if (!net.DataFits(view))
        return false;
    const bool patient = EffectiveForecastOptions(ws.Settings().forecast).patientTraining;
    const TrainingOutcome result = net.RunTraining(view, progress, patient);
    if (outcome)
        *outcome = result;
    FinishRun(ws, net, view, progress, false);
    return true;
}

bool ClearTraining(Worksheet& ws)
{
    if (!ws.Messages().Ask("Proceed With Reset of Training State?"))
        return false;
    ws.SetModified(true);
    ws.ResetTraining();
    return true;
}

bool AutoConfigVectors(Worksheet& ws)
{
    if (!ws.Messages().Ask("Proceed With Automatic Configuration of Vector Sets?"))
        return false;
    ws.SetModified(true);
    ws.ClearExtrapolationRows(ws.counts.numTraining, ws.counts.numTesting, ws.counts.numEval);
    ws.AutoConfigureSections(ws.Settings().resultsMode);
    return true;
}

} // namespace orvalis
