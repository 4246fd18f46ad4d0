// Patient training and several starts: what the run keeps when it does not stop on the
// error ratio, and which of several fresh starts it keeps.
#include "network/BackpropNet.h"
#include "network/RandomGenerator.h"
#include "network/TrainingObserver.h"

#include "NetTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace orvalis;
using orvalis::test::NetTestData;

namespace {

// Every cycle's test error and the weights in force after its best-weight bookkeeping;
// the starts announced; an abort at a chosen cycle of a chosen start.
struct StartRecorder : TrainingObserver {
    CBackpropNet* net = nullptr;
    int abortInStart = 1;
    int abortAtCycle = -1;
    int start = 1;
    int cycleInStart = 0;
    std::vector<int> startsBegun;
    int kept = 0;
    std::vector<double> testErrors;
    std::vector<std::vector<double>> weights;

    void BeginStart(int k, int count) override
    {
        EXPECT_GT(count, 1);
        startsBegun.push_back(k);
        start = k;
        cycleInStart = 0;
    }
    void KeptStart(int k, int) override { kept = k; }
    void DispatchPendingEvents() override
    {
        testErrors.push_back(net->testError);
        weights.push_back(net->WeightsInOrder());
        if (start == abortInStart && cycleInStart++ == abortAtCycle)
            net->abortRequested = 1;
    }
    void ReportCycle(int, int, double, double) override {}

    // The cycle with the lowest test error (the first of equal ones).
    std::size_t BestCycle() const
    {
        return static_cast<std::size_t>(std::min_element(testErrors.begin(), testErrors.end()) -
                                        testErrors.begin());
    }
};

// A 40-row series, 4 taps: a 4-4-1 network, 26 training and 10 testing rows, trained
// hard enough (a high learning rate, few patterns a cycle) that the testing error rises
// and falls from cycle to cycle.
struct TrialRun {
    NetTestData data{40, 1, 4};
    CBackpropNet net;
    StartRecorder recorder;
    explicit TrialRun(std::uint32_t seed = RandomGenerator::DefaultSeed)
    {
        net.shape.layerCount = 3;
        net.shape.unitsPerLayer[0] = 4;
        net.shape.unitsPerLayer[1] = 4;
        net.shape.unitsPerLayer[2] = 1;
        net.parameters.learningRate = 0.1;
        net.parameters.momentum = 0.9;
        net.parameters.iterationsPerCycle = 1;
        net.parameters.maxCycles = 60;
        net.parameters.errorRatioGoal = 1.2;
        net.InitNetwork(nullptr, seed);
        net.DefineRanges(data.view, 40, data.Mean(), 26, 10);
        recorder.net = &net;
    }
    // The test error the weights in force give now.
    double MeasuredTestError()
    {
        net.MeasureErrors(data.view);
        return net.testError;
    }
};

} // namespace

TEST(PatientTraining, GoesPastARiseOfTheRatioAndKeepsTheBestTestingWeights)
{
    TrialRun stopping;
    const TrainingOutcome stopped = stopping.net.RunTraining(stopping.data.view, &stopping.recorder);
    ASSERT_LT(stopped.cycles, 62) << "the ordinary run must stop on the error ratio";

    TrialRun patient;
    const TrainingOutcome outcome =
        patient.net.RunTraining(patient.data.view, &patient.recorder, true);
    EXPECT_EQ(outcome.cycles, 62);
    // The patient run goes the same way until the ordinary one stops, then on.
    ASSERT_GE(patient.recorder.testErrors.size(), stopping.recorder.testErrors.size());
    EXPECT_TRUE(std::equal(stopping.recorder.testErrors.begin(),
                           stopping.recorder.testErrors.end(), patient.recorder.testErrors.begin()));

    const std::size_t best = patient.recorder.BestCycle();
    ASSERT_GT(best + 1, stopping.recorder.testErrors.size())
        << "a better testing error must come after the rise that stops the ordinary run";
    EXPECT_EQ(patient.net.WeightsInOrder(), patient.recorder.weights[best]);
    EXPECT_EQ(patient.MeasuredTestError(), patient.recorder.testErrors[best]);
    EXPECT_EQ(outcome.bestTestError, patient.recorder.testErrors[best]);
}

// Start k draws its weights from seed + k - 1; the starts keep the network of the lowest
// testing error among the single runs from those seeds, the same to the bit, and leave
// the generator where that single run left it, so a Continue goes on alike.
TEST(TrainingStarts, KeepTheLowestTestingErrorOfTheSingleRunsFromTheirSeeds)
{
    constexpr int kStarts = 5;
    constexpr std::uint32_t kSeed = 90;
    struct Single {
        double bestTestError;
        std::vector<double> weights;
        std::uint32_t randomState;
        std::vector<double> continued;
    };
    std::vector<Single> singles;
    for (int k = 0; k < kStarts; ++k) {
        TrialRun single(kSeed + static_cast<std::uint32_t>(k));
        const TrainingOutcome outcome = single.net.RunTraining(single.data.view, nullptr);
        Single s{outcome.bestTestError, single.net.WeightsInOrder(), RandomGenerator::Process().State(), {}};
        single.net.RunTraining(single.data.view, nullptr);
        s.continued = single.net.WeightsInOrder();
        singles.push_back(s);
    }
    const auto lowest = std::min_element(singles.begin(), singles.end(), [](const Single& a, const Single& b) {
        return a.bestTestError < b.bestTestError;
    });
    const int winner = static_cast<int>(lowest - singles.begin());
    ASSERT_NE(winner, 0) << "the case needs a later start to win";
    ASSERT_NE(winner, kStarts - 1) << "the case needs a start after the winner";

    TrialRun starts;
    const TrainingOutcome outcome =
        starts.net.RunStarts(starts.data.view, &starts.recorder, {kStarts, kSeed, false});
    EXPECT_EQ(starts.recorder.startsBegun, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(outcome.start, winner + 1);
    EXPECT_EQ(starts.recorder.kept, winner + 1);
    EXPECT_EQ(outcome.bestTestError, lowest->bestTestError);
    EXPECT_EQ(starts.net.WeightsInOrder(), lowest->weights);
    EXPECT_EQ(RandomGenerator::Process().State(), lowest->randomState);
    starts.net.RunTraining(starts.data.view, nullptr);
    EXPECT_EQ(starts.net.WeightsInOrder(), lowest->continued);
}

TEST(TrainingStarts, AbortEndsTheRunningStartAndLeavesTheLaterOnesOut)
{
    TrialRun single(7);
    single.net.RunTraining(single.data.view, nullptr);
    const std::vector<double> first = single.net.WeightsInOrder();

    TrialRun starts;
    starts.recorder.abortInStart = 2;
    starts.recorder.abortAtCycle = 0;
    const TrainingOutcome outcome =
        starts.net.RunStarts(starts.data.view, &starts.recorder, {4, 7, false});
    EXPECT_EQ(starts.recorder.startsBegun, (std::vector<int>{1, 2}));
    // One cycle of start 2 cannot beat a whole run of start 1 here.
    EXPECT_EQ(outcome.start, 1);
    EXPECT_EQ(starts.net.WeightsInOrder(), first);
}
