#include "network/BackpropNet.h"
#include "network/RandomGenerator.h"
#include "network/TrainingObserver.h"

#include "NetTestData.h"
#include "ReferenceNet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace orvalis;
using orvalis::test::NetTestData;
using orvalis::test::ReferenceNet;

namespace {

void SetShape(CBackpropNet& net, const std::vector<int>& units)
{
    net.shape.layerCount = static_cast<int>(units.size());
    for (std::size_t l = 0; l < units.size(); ++l)
        net.shape.unitsPerLayer[l] = units[l];
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Records every cycle; can abort at a chosen cycle and snapshot the weights in force
// after each cycle's best-weight bookkeeping.
struct Recorder : TrainingObserver {
    CBackpropNet* net = nullptr;
    int abortAtCycle = -1;
    int dispatched = 0;
    std::vector<double> testErrors;
    std::vector<std::vector<double>> weightsAfterBookkeeping;
    std::vector<int> cycles, updates;

    void DispatchPendingEvents() override
    {
        testErrors.push_back(net->testError);
        weightsAfterBookkeeping.push_back(net->WeightsInOrder());
        if (dispatched++ == abortAtCycle)
            net->abortRequested = 1;
    }
    void ReportCycle(int cycle, int updateCount, double, double) override
    {
        cycles.push_back(cycle);
        updates.push_back(updateCount);
    }
};

// A 20-row worksheet, 3 taps of one input set: 3-2-1 network, 12 training, 5 test rows.
struct SmallRun {
    NetTestData data{20, 1, 3};
    CBackpropNet net;
    Recorder recorder;
    SmallRun()
    {
        SetShape(net, {3, 2, 1});
        net.InitNetwork();
        net.DefineRanges(data.view, 20, data.Mean(), 12, 5);
        recorder.net = &net;
    }
};

} // namespace

TEST(RandomGenerator, SequenceFromSeed4711)
{
    RandomGenerator random(4711);
    for (int expected : {15422, 16902, 31126, 20196, 5871})
        EXPECT_EQ(random.Next(), expected);
    EXPECT_EQ(random.State(), 384786610u);

    random.Seed(4711);
    EXPECT_EQ(random.RandomUniform(-0.5, 0.5), -0.5 + 1.0 * (15422 * 3.051850947599719e-05));
    EXPECT_EQ(random.RandomRow(3, 9), 3 + 16902 % 7);
}

TEST(BackpropNet, HandSetWeightsGiveExactOutputs)
{
    CBackpropNet net;
    SetShape(net, {2, 2, 1});
    net.BuildLayers();
    const double w1[2][3] = {{0.1, -0.2, 0.3}, {-0.4, 0.5, 0.25}};
    const double w2[3] = {0.05, 0.7, -0.6};
    for (int i = 1; i <= 2; ++i)
        for (int j = 0; j <= 2; ++j)
            net.SetWeight(1, i, j, w1[i - 1][j]);
    for (int j = 0; j <= 2; ++j)
        net.SetWeight(2, 1, j, w2[j]);
    net.parameters.gain = 1.5;

    const double in[2] = {0.3, 0.8};
    const double target = 0.6;
    double out = 0.0;
    net.PresentPattern(in, &out, &target, false);

    const auto sig = [](double s) { return 1 / (1 + std::exp(-1.5 * s)); };
    const double h1 = sig(((0.0 + 0.1 * 1.0) + -0.2 * 0.3) + 0.3 * 0.8);
    const double h2 = sig(((0.0 + -0.4 * 1.0) + 0.5 * 0.3) + 0.25 * 0.8);
    const double o = sig(((0.0 + 0.05 * 1.0) + 0.7 * h1) + -0.6 * h2);
    EXPECT_EQ(out, o);
    EXPECT_EQ(net.PatternError(), 0.5 * ((target - o) * (target - o)));
    EXPECT_EQ(net.ErrorTerm(2, 1), ((1.5 * o) * (1 - o)) * (target - o));

    // One layer: no weights, the outputs are the inputs.
    CBackpropNet flat;
    SetShape(flat, {2});
    flat.InitNetwork();
    double outs[2] = {};
    const double targets[2] = {0.0, 0.0};
    flat.PresentPattern(in, outs, targets, true);
    EXPECT_EQ(flat.WeightCount(), 0);
    EXPECT_EQ(outs[0], 0.3);
    EXPECT_EQ(outs[1], 0.8);
}

// The error terms are the negative derivatives of the pattern error with respect to each
// unit's weighted sum: dE/dw[i][j] = -error[i] * output[j]. Checked by central
// differences on a 4-3-3-2 network with learning rate and momentum 0 (no change).
TEST(BackpropNet, ErrorTermsMatchFiniteDifferences)
{
    CBackpropNet net;
    SetShape(net, {4, 3, 3, 2});
    net.InitNetwork();
    net.parameters.learningRate = 0.0;
    net.parameters.momentum = 0.0;
    net.parameters.gain = 1.3;
    const double in[4] = {0.2, 0.9, 0.4, 0.6};
    const double target[2] = {0.8, 0.15};
    double out[2];
    net.PresentPattern(in, out, target, true);

    const auto errorAt = [&](int l, int i, int j, double h) {
        const double w = net.Weight(l, i, j);
        net.SetWeight(l, i, j, w + h);
        net.PresentPattern(in, out, target, false);
        const double e = net.PatternError();
        net.SetWeight(l, i, j, w);
        return e;
    };
    for (int l = 1; l <= 3; ++l)
        for (int i = 1; i <= net.BuiltShape().unitsPerLayer[l]; ++i) {
            const double h = 1e-6;
            // Bias weight: the source output is 1, so the derivative is -error itself.
            const double numeric = (errorAt(l, i, 0, h) - errorAt(l, i, 0, -h)) / (2 * h);
            net.PresentPattern(in, out, target, true); // restore the error terms
            EXPECT_NEAR(numeric, -net.ErrorTerm(l, i), 1e-8) << "layer " << l << " unit " << i;
            // A saturated or disconnected unit would match with both sides zero and prove
            // nothing: every unit of this network must have a real slope.
            EXPECT_GT(std::abs(numeric), 1e-6) << "layer " << l << " unit " << i;
        }
}

TEST(BackpropNet, ExportImportIsBitExactInFileOrder)
{
    CBackpropNet net;
    SetShape(net, {3, 2, 2});
    net.InitNetwork();
    EXPECT_EQ(net.WeightCount(), 2 * 4 + 2 * 3);
    // Distinct values show the order: layer, then unit, then source.
    int n = 0;
    for (int l = 1; l <= 2; ++l)
        for (int i = 1; i <= 2; ++i)
            for (int j = 0; j <= net.BuiltShape().unitsPerLayer[l - 1]; ++j)
                net.SetWeight(l, i, j, 0.1 + 0.01 * n++);
    const std::vector<float> exported = net.ExportWeights();
    ASSERT_EQ(exported.size(), 14u);
    for (int k = 0; k < 14; ++k)
        EXPECT_EQ(exported[k], static_cast<float>(0.1 + 0.01 * k));

    CBackpropNet copy;
    copy.shape = net.shape;
    copy.InitNetwork(exported.data());
    const std::vector<double> widened = copy.WeightsInOrder();
    for (int k = 0; k < 14; ++k)
        EXPECT_TRUE(SameBits(widened[k], static_cast<double>(exported[k])));
    EXPECT_EQ(copy.ExportWeights(), exported);
}

TEST(BackpropNet, ReferenceErrorsAndRanges)
{
    NetTestData data(30, 2, 4);
    CBackpropNet net;
    SetShape(net, {8, 4, 2});
    net.InitNetwork();
    net.DefineRanges(data.view, 30, 0.45, 20, 6);
    EXPECT_EQ(net.trainFirst, 4);
    EXPECT_EQ(net.trainLast, 19);
    EXPECT_EQ(net.testFirst, 20);
    EXPECT_EQ(net.testLast, 25);
    EXPECT_EQ(net.evalFirst, 26);
    EXPECT_EQ(net.evalLast, 29);
    double expected = 0.0;
    for (int r = 20; r <= 25; ++r)
        for (int j = 0; j < 2; ++j)
            expected += 0.5 * ((0.45 - data.sets[0][r + j]) * (0.45 - data.sets[0][r + j]));
    EXPECT_EQ(net.testMeanError, expected);
    EXPECT_TRUE(net.DataFits(data.view));
    data.view.rowCount = 26; // the two-output test rows would read row 26
    EXPECT_FALSE(net.DataFits(data.view));
}

TEST(BackpropNet, ListPredictionsWritesOnlyItsRange)
{
    NetTestData data(30, 1, 3);
    CBackpropNet net;
    SetShape(net, {3, 2, 1});
    net.InitNetwork();
    net.DefineRanges(data.view, 30, data.Mean(), 18, 6);
    net.ListPredictions(data.view, 1);
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(net.Predictions()[r] != 0.0f, r >= 24) << r;
    EXPECT_EQ(net.Predictions()[26], static_cast<float>(net.PredictRow(26, data.view)));
    net.ListPredictions(data.view, 2);
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(net.Predictions()[r] != 0.0f, r >= 3 && r < 24) << r;
}

TEST(BackpropNet, FirstCycleIsAnUpdateAndRunEndsWithBestWeights)
{
    SmallRun run;
    run.net.parameters.maxCycles = 6;
    run.net.parameters.errorRatioGoal = 2.0;
    const TrainingOutcome outcome = run.net.RunTraining(run.data.view, &run.recorder);
    ASSERT_FALSE(run.recorder.updates.empty());
    EXPECT_EQ(run.recorder.updates.front(), 1);
    EXPECT_EQ(run.recorder.cycles.back(), outcome.cycles - 1);
    EXPECT_EQ(outcome.updates, run.recorder.updates.back());

    // The weights in force at the end are the ones of the lowest test error.
    std::size_t bestCycle = 0;
    for (std::size_t c = 0; c < run.recorder.testErrors.size(); ++c)
        if (run.recorder.testErrors[c] < run.recorder.testErrors[bestCycle])
            bestCycle = c;
    EXPECT_EQ(run.net.WeightsInOrder(), run.recorder.weightsAfterBookkeeping[bestCycle]);
}

// With learning rate and momentum 0 nothing changes, so every cycle measures the same
// test error: neither an update nor a reason to stop.
TEST(BackpropNet, CycleRulesWithAnUnchangingTestError)
{
    struct Case {
        const char* name;
        int maxCycles;
        double errorRatioGoal;
        int abortAt;
        int cycles;
    };
    for (const Case& c : {Case{"limit 3 runs cycles 0..4", 3, 1.2, -1, 5},
                          Case{"limit 0 runs two cycles", 0, 1.2, -1, 2},
                          Case{"ratio below 1 stops at the first equal error", 50, 0.9, -1, 2},
                          Case{"abort in cycle 2 completes it", 50, 1.2, 2, 3},
                          Case{"abort in cycle 0 completes it", 50, 1.2, 0, 1}}) {
        SmallRun run;
        run.net.parameters.learningRate = 0.0;
        run.net.parameters.momentum = 0.0;
        run.net.parameters.maxCycles = c.maxCycles;
        run.net.parameters.errorRatioGoal = c.errorRatioGoal;
        run.recorder.abortAtCycle = c.abortAt;
        const TrainingOutcome outcome = run.net.RunTraining(run.data.view, &run.recorder);
        EXPECT_EQ(outcome.cycles, c.cycles) << c.name;
        EXPECT_EQ(outcome.updates, 1) << c.name;
        EXPECT_EQ(static_cast<int>(run.recorder.cycles.size()), c.cycles) << c.name;
    }
}

TEST(BackpropNet, NanTestErrorIsNeverBest)
{
    SmallRun run;
    run.data.target[14] = std::nan(""); // a test row
    run.net.parameters.maxCycles = 2;
    const std::vector<double> start = run.net.WeightsInOrder();
    const TrainingOutcome outcome = run.net.RunTraining(run.data.view, &run.recorder);
    EXPECT_EQ(outcome.updates, 0);
    EXPECT_EQ(outcome.cycles, 4);
    EXPECT_TRUE(std::isnan(outcome.testRatio));
    // No cycle was better than the start, so the run ends where it began.
    EXPECT_EQ(run.net.WeightsInOrder(), start);
}

TEST(BackpropNet, EmptyTrainingRangeTrainsNothing)
{
    SmallRun run;
    run.net.DefineRanges(run.data.view, 20, run.data.Mean(), 3, 5); // no row after 3 taps
    EXPECT_FALSE(run.net.DataFits(run.data.view));
    const std::vector<double> start = run.net.WeightsInOrder();
    run.net.TrainPatterns(run.data.view, 100);
    EXPECT_EQ(run.net.WeightsInOrder(), start);
}

TEST(BackpropNet, SeededRunsReproduce)
{
    SmallRun a;
    SmallRun b; // built after a: InitNetwork reseeds, so both start alike
    a.net.parameters.maxCycles = 20;
    b.net.parameters.maxCycles = 20;
    RandomGenerator::Process().Seed(4711);
    a.net.InitNetwork();
    const TrainingOutcome ra = a.net.RunTraining(a.data.view, nullptr);
    b.net.InitNetwork();
    const TrainingOutcome rb = b.net.RunTraining(b.data.view, nullptr);
    EXPECT_EQ(ra.cycles, rb.cycles);
    EXPECT_EQ(ra.updates, rb.updates);
    EXPECT_EQ(a.net.WeightsInOrder(), b.net.WeightsInOrder());
}

// The vectorised engine against the literal algorithm, on shapes drawn at random
// (including a hidden layer of 0 units and several outputs): same cycles, same updates,
// same weights to the bit, same predictions.
TEST(BackpropNet, MatchesReferenceBitForBit)
{
    RandomGenerator shapes(12345);
    // The one-hidden-layer, one-output shapes take their own kernels: widths that fill
    // whole and partial vector blocks, and last blocks of one or two vectors that ride
    // along with a full block (17, 22, 33, 36, 38, 100).
    const int shallowHidden[] = {1, 3, 4, 5, 8, 22, 38, 13, 16, 17, 22, 33, 36, 100};
    for (int trial = 0; trial < 54; ++trial) {
        const int taps = 1 + shapes.Next() % 4;
        const int sets = 1 + shapes.Next() % 3;
        std::vector<int> units{taps * sets};
        const int hidden = shapes.Next() % 4;
        for (int h = 0; h < hidden; ++h)
            units.push_back(shapes.Next() % 10);
        units.push_back(1 + shapes.Next() % 3);
        if (trial == 0)
            units = {1, 0, 1};
        if (trial == 1) // layers wider than one weight block on the general path
            units = {taps * sets, 21, 18, 2};
        if (trial >= 40)
            units = {taps * sets, shallowHidden[trial - 40], 1};
        const int training = taps + 5 + shapes.Next() % 20;
        const int testing = 3 + shapes.Next() % 8;
        const int rows = training + testing + shapes.Next() % 5;
        NetTestData data(rows, sets, taps, 4);

        CBackpropNet net;
        SetShape(net, units);
        net.parameters.maxCycles = shapes.Next() % 6;
        net.parameters.iterationsPerCycle = 1 + shapes.Next() % 3;
        net.parameters.learningRate = 0.1 * (shapes.Next() % 5);
        // Powers of two take an exact shortcut in the shallow kernels. From trial 47 on,
        // tiny inputs and input weights of 0 make the weight changes subnormal, where
        // the shortcut would round differently and must not be taken.
        const double momenta[] = {0.0, 0.2, 0.5, 0.25, 0.9, 1.0, 0.5};
        net.parameters.momentum = trial >= 47 ? 0.5 : momenta[shapes.Next() % 7];
        const bool tiny = trial >= 47;
        if (tiny)
            for (auto& set : data.sets)
                for (double& v : set)
                    v *= 0x1p-1015;
        net.parameters.gain = 0.5 + 0.25 * (shapes.Next() % 6);
        net.InitNetwork();
        ReferenceNet ref(units);
        ref.Randomize();
        for (int i = 1; tiny && i <= units[1]; ++i)
            for (int j = 1; j <= units[0]; ++j) {
                net.SetWeight(1, i, j, 0.0);
                ref.layers[1].weights[i][j] = 0.0;
            }
        net.DefineRanges(data.view, rows, data.Mean(), training, testing);
        ASSERT_TRUE(net.DataFits(data.view));
        const TrainingOutcome outcome = net.RunTraining(data.view, nullptr);

        ref.inputs = data.pointers;
        ref.target = data.target.data();
        ref.numTaps = taps;
        ref.trainFirst = taps;
        ref.trainLast = training - 1;
        ref.testFirst = training;
        ref.testLast = training + testing - 1;
        ref.totalRows = rows;
        ref.maxCycles = net.parameters.maxCycles;
        ref.iterationsPerCycle = net.parameters.iterationsPerCycle;
        ref.learningRate = net.parameters.learningRate;
        ref.momentum = net.parameters.momentum;
        ref.gain = net.parameters.gain;
        int updates = 0;
        const int cycles = ref.Run(updates);

        ASSERT_EQ(outcome.cycles, cycles) << "trial " << trial;
        EXPECT_EQ(outcome.updates, updates) << "trial " << trial;
        EXPECT_EQ(RandomGenerator::Process().State(), ref.random.State());
        const std::vector<double> got = net.WeightsInOrder();
        const std::vector<double> want = ref.Weights();
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < got.size(); ++k)
            ASSERT_TRUE(SameBits(got[k], want[k])) << "trial " << trial << " weight " << k;
        EXPECT_TRUE(SameBits(net.trainError, ref.trainError)) << "trial " << trial;

        net.ListPredictions(data.view, 2);
        for (int r = taps; r < training + testing; ++r) {
            ref.Present(r, false);
            ASSERT_EQ(net.Predictions()[r], static_cast<float>(ref.layers.back().outputs[1]));
        }
    }
}
