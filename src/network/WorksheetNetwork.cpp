#include "network/WorksheetNetwork.h"

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

// The network as the worksheet's record describes it: built with the stored weights
// when the worksheet is trained and they are complete, otherwise only shaped.
void BuildFromRecord(Worksheet& ws, CBackpropNet& net)
{
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
}

} // namespace

WorksheetNetwork& NetworkOf(Worksheet& ws)
{
    if (auto* existing = dynamic_cast<WorksheetNetwork*>(ws.networkAttachment.get()))
        return *existing;
    auto created = std::make_unique<WorksheetNetwork>();
    BuildFromRecord(ws, created->net);
    ws.networkAttachment = std::move(created);
    ws.exportNetwork = [](Worksheet& w) { ExportNetworkRecord(w); };
    ws.buildNetwork = [](Worksheet& w) {
        // A loaded file replaces the network and everything known about its runs.
        auto fresh = std::make_unique<WorksheetNetwork>();
        BuildFromRecord(w, fresh->net);
        w.networkAttachment = std::move(fresh);
    };
    return static_cast<WorksheetNetwork&>(*ws.networkAttachment);
}

void ExportNetworkRecord(Worksheet& ws)
{
    CBackpropNet& net = NetworkOf(ws).net;
    const bool trained = ws.state != WorksheetState::Init && net.IsBuilt();
    ShapeToRecord(trained ? net.BuiltShape() : net.shape, ws.network);
    ParametersToRecord(net.parameters, ws.network);
    if (trained)
        ws.storedWeights = net.ExportWeights();
}

void SetNetworkShape(Worksheet& ws, const NetworkShape& shape)
{
    NetworkOf(ws).net.shape = shape;
    ShapeToRecord(shape, ws.network);
}

void SetTrainingParameters(Worksheet& ws, const TrainingParameters& parameters)
{
    NetworkOf(ws).net.parameters = parameters;
    ParametersToRecord(parameters, ws.network);
}

VectorView VectorViewOf(Worksheet& ws)
{
    VectorView view;
    view.inputs = ws.vectors.InputPointers();
    view.inputSetCount = std::min(static_cast<int>(ws.roles.inputColumns.size()), VectorSets::kInputSets);
    view.target = ws.vectors.Target(0);
    view.rowCount = VectorSets::kCapacity;
    view.numTaps = ws.counts.numTaps;
    return view;
}

} // namespace orvalis
