#pragma once

#include "network/NetCore.h"
#include "network/NetworkShape.h"
#include "network/RandomGenerator.h"
#include "network/TrainingParameters.h"
#include "network/VectorView.h"

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace orvalis {

class TrainingObserver;

// How a training run ended.
struct TrainingOutcome {
    int cycles = 0;          // cycles performed (the last reported cycle index + 1)
    int updates = 0;         // cycles that improved the best test error
    double trainRatio = 0.0; // last reported trainError / trainMeanError
    double testRatio = 0.0;  // last reported testError / testMeanError
    // The lowest test error of the run, the one its final weights give; infinity when no
    // cycle measured a number.
    double bestTestError = std::numeric_limits<double>::infinity();
    int start = 1;      // the start whose network was kept (1 for a single run)
    int startCount = 1; // starts trained (fewer than asked when an abort ended them)
};

// Several trainings of one network from fresh random weights: start k (1-based) seeds the
// process generator with seed + k - 1 (modulo 2^32) before it draws its weights, so start
// 1 is the run a single training from that seed gives, draw for draw.
struct TrainingStarts {
    int count = 1;                                     // starts, at least 1
    std::uint32_t seed = RandomGenerator::DefaultSeed; // seed of start 1
    bool patient = false;                              // every start trains patiently
};

// The back-propagation network of a worksheet: a fully connected stack of sigmoid
// layers trained pattern by pattern with momentum, keeping the weights of the lowest
// test error. All arithmetic is double precision in a fixed order, so a run is
// reproducible to the bit; only exported weights and stored predictions are floats.
//
// The engine checks none of its data: callers make sure, before a run, that the shape
// is built and DataFits says yes. Rows are zero-based indexes into the vector sets.
class CBackpropNet {
public:
    static constexpr int MinPredictionRows = 10000; // rows the predictions cover at the least
    static constexpr int MaxInputs = 200;  // longest input vector
    static constexpr int MaxOutputs = 100; // longest output vector

    CBackpropNet() = default;
    virtual ~CBackpropNet() = default;

    NetworkShape shape;            // the shape the next build uses
    TrainingParameters parameters; // read by every run
    int abortRequested = 0;        // 1 ends a run after its current cycle

    // Builds the network from `shape`; with weights (ExportWeights order and count)
    // imports them, otherwise seeds the process generator with seed and randomises.
    void InitNetwork(const float* weights = nullptr, std::uint32_t seed = RandomGenerator::DefaultSeed);
    void BuildLayers();
    // weights[i][j] = RandomUniform(-0.5, 0.5) for every layer, unit and source in order.
    void RandomizeWeights();

    bool IsBuilt() const { return core.LayerCount() > 0; }
    // The shape of the built network (layerCount 0 when none is built).
    NetworkShape BuiltShape() const;
    std::int64_t WeightCount() const { return core.WeightCount(); }
    double Weight(int layer, int unit, int source) const { return core.Weight(layer, unit, source); }
    void SetWeight(int layer, int unit, int source, double value)
    {
        core.SetWeight(layer, unit, source, value);
    }

    // Every weight rounded to float in file order (layer, unit, source); out must hold
    // WeightCount() values. Returns the count written.
    int ExportWeights(float* out) const;
    std::vector<float> ExportWeights() const;
    // The same order at full precision.
    std::vector<double> WeightsInOrder() const;
    // Reads WeightCount() floats in file order into the weights; the best weights and
    // the momentum memory are not touched.
    void ImportWeights(const float* in);

    // Row ranges and reference errors for the data about to be used.
    void DefineRanges(const VectorView& data, int totalRows, double targetMean,
                      int numTraining, int numTesting);
    // Whether every row that training, measuring and listing read lies inside the view,
    // the input vector matches the built network and the training range is not empty.
    bool DataFits(const VectorView& data) const;

    // Presents one input vector (InputUnits values) against target; copies the outputs
    // to `output` when given; trains when `train` is set.
    void PresentPattern(const double* input, double* output, const double* target, bool train);
    void StoreBestWeights() { core.StoreBestWeights(); }
    void RecallBestWeights() { core.RecallBestWeights(); }

    // `count` training patterns, each on a row drawn with the process generator from
    // trainFirst..trainLast: the first phase of every training cycle.
    void TrainPatterns(const VectorView& data, std::int64_t count);
    void MeasureErrors(const VectorView& data);
    // One training run: cycles until the error ratio, the cycle limit or abortRequested
    // stops it; ends with the best weights of the run. A patient run does not stop on the
    // error ratio: it goes to the cycle limit (or an abort). observer may be null.
    TrainingOutcome RunTraining(const VectorView& data, TrainingObserver* observer,
                                bool patient = false);
    // starts.count runs of the built network's shape, each from fresh weights of its own
    // seed, ending with the network (weights, momentum memory, last measurement) and the
    // generator state of the run with the lowest test error; the first of equal ones
    // wins. An abort ends the start that runs and leaves the later ones out. The outcome
    // is the kept run's, with its start number.
    TrainingOutcome RunStarts(const VectorView& data, TrainingObserver* observer,
                              const TrainingStarts& starts);
    // Clears all predictions, then lists the first output of rows trainFirst..testLast
    // (mode 2) or evalFirst..evalLast (any other mode).
    void ListPredictions(const VectorView& data, int mode);
    // The first output for data row `row`, without training.
    double PredictRow(int row, const VectorView& data);

    // The first output per row as ListPredictions and SetPrediction left it: at least
    // MinPredictionRows entries, as many as the rows listed; rows past them read 0.
    const std::vector<float>& Predictions() const { return predictions; }
    float Prediction(int row) const
    {
        return row >= 0 && static_cast<std::size_t>(row) < predictions.size() ? predictions[static_cast<std::size_t>(row)] : 0.0f;
    }
    // Grows the predictions to hold row (a negative row is ignored).
    void SetPrediction(int row, float value);
    double PatternError() const { return core.patternError; }
    // Error term of unit i of layer l as the last pattern left it (for checks).
    double ErrorTerm(int layer, int unit) const { return core.Error(layer, unit); }

    int outputCount = 0;                        // output units, captured by DefineRanges
    int totalRows = 0;                          // rows of all three sections
    int trainFirst = 0, trainLast = -1;         // training rows
    int testFirst = 0, testLast = -1;           // testing rows
    int evalFirst = 0, evalLast = -1;           // evaluation rows
    double trainError = 0.0, trainMeanError = 0.0; // last measurement, reference
    double testError = 0.0, testMeanError = 0.0;

private:
    std::vector<float> predictions = std::vector<float>(MinPredictionRows, 0.0f); // see Predictions()
    NetCore core;
};

} // namespace orvalis
