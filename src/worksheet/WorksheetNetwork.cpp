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
    ws.Network().net.DefineRanges(view, ws.counts.totalRows, ws.vectors.targetMean,
                                  ws.counts.numTraining, ws.counts.numTesting);
    return view;
}

VectorView VectorViewOf(Worksheet& ws)
{
    VectorView view;
    view.inputs = ws.vectors.InputPointers();
    view.inputSetCount = std::min(static_cast<int>(ws.roles.inputColumns.size()), VectorSets::kInputSets);
    view.target = ws.vectors.Target(0);
    view.rowCount = ws.vectors.Capacity();
    view.numTaps = ws.counts.numTaps;
    return view;
}

void KeepPredictions(const CBackpropNet& net, int rows, std::vector<float>& kept)
{
    if (rows <= 0)
        return;
    const auto count = static_cast<std::size_t>(rows);
    if (kept.size() < count)
        kept.resize(count, 0.0f);
    for (int r = 0; r < rows; ++r)
        kept[static_cast<std::size_t>(r)] = net.Prediction(r);
}

} // namespace orvalis
