#include "network/BackpropNet.h"

#include "network/RandomGenerator.h"
#include "network/TrainingObserver.h"

#include <algorithm>
#include <limits>

namespace orvalis {

void CBackpropNet::InitNetwork(const float* weights, std::uint32_t seed)
{
    BuildLayers();
    if (weights) {
        ImportWeights(weights);
    } else {
        RandomGenerator::Process().Seed(seed);
        RandomizeWeights();
    }
}

void CBackpropNet::BuildLayers()
{
    const int count = std::clamp(shape.layerCount, 0, NetworkShape::MaxEntries);
    core.Build(shape.unitsPerLayer.data(), count);
}

void CBackpropNet::RandomizeWeights()
{
    RandomGenerator& random = RandomGenerator::Process();
    for (int l = 1; l < core.LayerCount(); ++l)
        for (int i = 1; i <= core.Units(l); ++i)
            for (int j = 0; j <= core.Units(l - 1); ++j)
                core.SetWeight(l, i, j, random.RandomUniform(-0.5, 0.5));
}

NetworkShape CBackpropNet::BuiltShape() const
{
    NetworkShape built;
    built.layerCount = core.LayerCount();
    for (int l = 0; l < built.layerCount; ++l)
        built.unitsPerLayer[l] = core.Units(l);
    return built;
}

int CBackpropNet::ExportWeights(float* out) const
{
    int n = 0;
    for (int l = 1; l < core.LayerCount(); ++l)
        for (int i = 1; i <= core.Units(l); ++i)
            for (int j = 0; j <= core.Units(l - 1); ++j)
                out[n++] = static_cast<float>(core.Weight(l, i, j));
    return n;
}

std::vector<float> CBackpropNet::ExportWeights() const
{
    std::vector<float> out(static_cast<std::size_t>(WeightCount()));
    ExportWeights(out.data());
    return out;
}

std::vector<double> CBackpropNet::WeightsInOrder() const
{
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(WeightCount()));
    for (int l = 1; l < core.LayerCount(); ++l)
        for (int i = 1; i <= core.Units(l); ++i)
            for (int j = 0; j <= core.Units(l - 1); ++j)
                out.push_back(core.Weight(l, i, j));
    return out;
}

void CBackpropNet::ImportWeights(const float* in)
{
    int n = 0;
    for (int l = 1; l < core.LayerCount(); ++l)
        for (int i = 1; i <= core.Units(l); ++i)
            for (int j = 0; j <= core.Units(l - 1); ++j)
                core.SetWeight(l, i, j, static_cast<double>(in[n++]));
}

void CBackpropNet::DefineRanges(const VectorView& data, int rows, double targetMean,
                                int numTraining, int numTesting)
{
    outputCount = IsBuilt() ? core.Units(core.LayerCount() - 1) : 0;
    totalRows = rows;
    trainFirst = data.numTaps; // the first row with a full window
    trainLast = numTraining - 1;
    testFirst = numTraining;
    testLast = numTraining + numTesting - 1;
    evalFirst = numTraining + numTesting;
    evalLast = rows - 1;

    // The error of a predictor that always answers targetMean, measured on input set 0:
    // the denominators of the displayed error ratios.
    const auto reference = [&](int first, int last) {
        double sum = 0.0;
        const double* values = data.inputs[0];
        for (int r = first; r <= last; ++r)
            for (int j = 0; j < outputCount; ++j) {
                const double d = targetMean - values[r + j];
                sum = sum + 0.5 * (d * d);
            }
        return sum;
    };
    trainMeanError = reference(trainFirst, trainLast);
    testMeanError = reference(testFirst, testLast);
}

bool CBackpropNet::DataFits(const VectorView& data) const
{
    if (!IsBuilt() || data.numTaps < 1 || data.inputSetCount < 1 || !data.inputs || !data.target)
        return false;
    if (static_cast<long long>(data.numTaps) * data.inputSetCount != core.Units(0) ||
        core.Units(0) > MaxInputs || outputCount != core.Units(core.LayerCount() - 1) ||
        outputCount < 1 || outputCount > MaxOutputs)
        return false;
    if (trainFirst > trainLast || testFirst > testLast)
        return false;
    // Training and testing rows read targets up to testLast + outputs - 1 (the
    // reference errors read input set 0 as far); listing reads inputs below evalLast.
    const int lastRead = std::max(testLast + outputCount - 1, evalLast);
    return trainFirst >= data.numTaps && lastRead < data.rowCount;
}

void CBackpropNet::PresentPattern(const double* input, double* output, const double* target,
                                  bool train)
{
    if (!IsBuilt())
        return;
    std::copy(input, input + core.Units(0), core.Inputs());
    const double gain = parameters.gain;
    core.ForwardPass(gain);
    if (output) {
        const int outputs = core.Units(core.LayerCount() - 1);
        std::copy(core.Outputs(), core.Outputs() + outputs, output);
    }
    core.OutputErrors(target, gain);
    if (train) {
        core.BackwardPass(gain);
        core.UpdateWeights(parameters.learningRate, parameters.momentum);
    }
}

void CBackpropNet::TrainPatterns(const VectorView& data, std::int64_t count)
{
    core.TrainRandomRows(data, trainFirst, trainLast, count, RandomGenerator::Process(),
                         parameters.learningRate, parameters.gain, parameters.momentum);
}

void CBackpropNet::MeasureErrors(const VectorView& data)
{
    trainError = core.MeasureRows(data, trainFirst, trainLast, parameters.gain);
    testError = core.MeasureRows(data, testFirst, testLast, parameters.gain);
}

TrainingOutcome CBackpropNet::RunTraining(const VectorView& data, TrainingObserver* observer,
                                          bool patient)
{
    TrainingOutcome outcome;
    if (!IsBuilt())
        return outcome;
    const std::int64_t patterns =
        static_cast<std::int64_t>(parameters.iterationsPerCycle) * totalRows;
    // The weights the run starts with stand as best until a cycle measures a test
    // error below infinity, so a run whose every test error is NaN ends where it began
    // instead of on stale or zero best weights.
    core.StoreBestWeights();
    double best = std::numeric_limits<double>::infinity();
    bool stop = false;
    int cycle = 0;
    while (!stop) {
        TrainPatterns(data, patterns);
        MeasureErrors(data);

        // best starts at infinity, so the first cycle of every run is an update; a NaN
        // test error is neither better nor worse than anything.
        if (testError < best) {
            best = testError;
            ++outcome.updates;
            core.StoreBestWeights();
        } else if (!patient && testError > parameters.errorRatioGoal * best) {
            stop = true;
            core.RecallBestWeights();
        }

        if (observer)
            observer->DispatchPendingEvents();
        if (cycle > parameters.maxCycles || abortRequested == 1) {
            core.RecallBestWeights();
            stop = true;
        }

        outcome.trainRatio = trainError / trainMeanError;
        outcome.testRatio = testError / testMeanError;
        if (observer)
            observer->ReportCycle(cycle, outcome.updates, outcome.trainRatio, outcome.testRatio);
        ++cycle;
    }
    outcome.cycles = cycle;
    outcome.bestTestError = best;
    return outcome;
}

TrainingOutcome CBackpropNet::RunStarts(const VectorView& data, TrainingObserver* observer,
                                        const TrainingStarts& starts)
{
    if (!IsBuilt())
        return {};
    const NetworkShape built = BuiltShape();
    RandomGenerator& random = RandomGenerator::Process();
    // What the best start so far left: its whole network (so that Continue goes on from
    // its momentum memory as after a single run), its last measurement and the generator
    // state after it (so that the draws after it are those of that start run alone).
    struct Kept {
        NetCore core;
        std::uint32_t randomState = 0;
        double trainError = 0.0, testError = 0.0;
        TrainingOutcome outcome;
    };
    Kept kept;
    const int count = std::max(starts.count, 1);
    for (int k = 1; k <= count; ++k) {
        core.Build(built.unitsPerLayer.data(), built.layerCount);
        random.Seed(starts.seed + static_cast<std::uint32_t>(k - 1));
        RandomizeWeights();
        if (observer && count > 1)
            observer->BeginStart(k, count);
        TrainingOutcome outcome = RunTraining(data, observer, starts.patient);
        outcome.start = k;
        if (k == 1 || outcome.bestTestError < kept.outcome.bestTestError)
            kept = {core, random.State(), trainError, testError, outcome};
        kept.outcome.startCount = k;
        if (abortRequested == 1)
            break;
    }
    core = std::move(kept.core);
    random.Seed(kept.randomState);
    trainError = kept.trainError;
    testError = kept.testError;
    if (observer && count > 1)
        observer->KeptStart(kept.outcome.start, count);
    return kept.outcome;
}

void CBackpropNet::SetPrediction(int row, float value)
{
    if (row < 0)
        return;
    const auto index = static_cast<std::size_t>(row);
    if (index >= predictions.size())
        predictions.resize(index + 1, 0.0f);
    predictions[index] = value;
}

void CBackpropNet::ListPredictions(const VectorView& data, int mode)
{
    // Only rows the data can feed are listed, whatever the ranges say; the array covers
    // them all.
    const int first = std::max(mode == 2 ? trainFirst : evalFirst, 0);
    const int last = std::min(mode == 2 ? testLast : evalLast, data.rowCount - 1);
    predictions.assign(std::max<std::size_t>(MinPredictionRows, static_cast<std::size_t>(std::max(last + 1, 0))),
                       0.0f);
    if (!IsBuilt())
        return;
    // A row presented without training changes nothing but the layer outputs and the
    // output error terms, which the next training pattern overwrites before use; the
    // error terms are therefore not computed here, and no target is read.
    for (int r = first; r <= last; ++r) {
        core.FillInputs(data, r);
        core.ForwardPass(parameters.gain);
        predictions[r] = static_cast<float>(core.Outputs()[0]);
    }
}

double CBackpropNet::PredictRow(int row, const VectorView& data)
{
    if (!IsBuilt())
        return 0.0;
    core.FillInputs(data, row);
    core.ForwardPass(parameters.gain);
    return core.Outputs()[0];
}

} // namespace orvalis
