#include "worksheet/WorksheetNetwork.h"

#include "worksheet/VectorExtraction.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>

namespace orvalis {

namespace {

NetworkShape ShapeFromRecord(const StoredNetwork& record)
{
    NetworkShape shape;
    shape.layerCount = std::clamp(record.layerCount, 0, NetworkShape::MaxEntries);
    for (int l = 0; l < shape.layerCount && l < static_cast<int>(record.unitsPerLayer.size()); ++l)
        shape.unitsPerLayer[static_cast<std::size_t>(l)] = record.unitsPerLayer[static_cast<std::size_t>(l)];
    return shape;
}

void ShapeToRecord(const NetworkShape& shape, StoredNetwork& record)
{
    record.layerCount = shape.layerCount;
    record.unitsPerLayer.assign(shape.unitsPerLayer.begin(),
                                shape.unitsPerLayer.begin() + std::max(shape.layerCount, 0));
}

void ParametersToRecord(const TrainingParameters& p, StoredNetwork& record)
{
    record.learningRate = p.learningRate;
    record.momentum = p.momentum;
    record.gain = p.gain;
    record.errorRatioGoal = p.errorRatioGoal;
    record.iterationsPerCycle = p.iterationsPerCycle;
    record.maxCycles = p.maxCycles;
}

} // namespace

std::unique_ptr<WorksheetNetwork> BuildNetworkFromRecord(const Worksheet& ws)
{
    auto network = std::make_unique<WorksheetNetwork>();
    CBackpropNet& net = network->net;
    const StoredNetwork& record = ws.network;
    net.shape = ShapeFromRecord(record);
    net.parameters.learningRate = record.learningRate;
    net.parameters.momentum = record.momentum;
    net.parameters.gain = record.gain;
    net.parameters.errorRatioGoal = record.errorRatioGoal;
    net.parameters.iterationsPerCycle = record.iterationsPerCycle;
    net.parameters.maxCycles = record.maxCycles;
    const auto needed = static_cast<std::size_t>(net.shape.WeightCount());
    if (ws.state != WorksheetState::Init && net.shape.layerCount > 0 &&
        ws.storedWeights.size() >= needed)
        net.InitNetwork(ws.storedWeights.data());
    return network;
}

void ExportNetworkRecord(Worksheet& ws)
{
    CBackpropNet& net = ws.Network().net;
    const bool trained = ws.state != WorksheetState::Init && net.IsBuilt();
    ShapeToRecord(trained ? net.BuiltShape() : net.shape, ws.network);
    ParametersToRecord(net.parameters, ws.network);
    if (trained)
        ws.storedWeights = net.ExportWeights();
}

void SetNetworkShape(Worksheet& ws, const NetworkShape& shape)
{
    ws.Network().net.shape = shape;
    ShapeToRecord(shape, ws.network);
}

void SetTrainingParameters(Worksheet& ws, const TrainingParameters& parameters)
{
    ws.Network().net.parameters = parameters;
    ParametersToRecord(parameters, ws.network);
}

bool BeginRun(Worksheet& ws, bool forTraining)
{
    ws.Network().net.abortRequested = 0;
    if (ws.ScanColumnRoles() && ExtractVectors(ws, ws.counts.totalRows, forTraining))
        return true;
    return RefuseRun(ws);
}

bool RefuseRun(Worksheet& ws)
{
    ws.Network().net.abortRequested = 1;
    return false;
}

VectorView DefineRunRanges(Worksheet& ws)
{
    const VectorView view = VectorViewOf(ws);
    // Engine rows start at data row L: the first training window ends L rows later than
    // with the values, and every section ends where it does on the worksheet.
    const int lag = ws.vectors.changeLag;
    ws.Network().net.DefineRanges(view, ws.counts.totalRows - lag, ws.vectors.targetMean,
                                  ws.counts.numTraining - lag, ws.counts.numTesting);
    return view;
}

VectorView VectorViewOf(Worksheet& ws)
{
    const int lag = ws.vectors.changeLag;
    VectorView view;
    view.inputs = ws.vectors.InputPointers(lag);
    view.inputSetCount = std::min(static_cast<int>(ws.roles.inputColumns.size()), VectorSets::kInputSets);
    view.target = ws.vectors.Target(0) + lag;
    view.rowCount = ws.vectors.Capacity() - lag;
    view.numTaps = ws.counts.numTaps;
    return view;
}

void CopyPredictions(const Worksheet& ws, const CBackpropNet& net, int rows, std::vector<float>& out)
{
    if (rows <= 0)
        return;
    const int lag = std::min(ws.vectors.changeLag, rows);
    const auto count = static_cast<std::size_t>(rows);
    if (out.size() < count)
        out.resize(count, 0.0f);
    // The rows before the first change have no prediction of their own.
    std::fill_n(out.begin(), lag, 0.0f);
    for (int r = lag; r < rows; ++r)
        out[static_cast<std::size_t>(r)] = net.Prediction(r - lag);
}

} // namespace orvalis
