// Train and Continue with patient training and several starts, as the settings ask.
#include "worksheet/RunWorksheet.h"

#include "network/RandomGenerator.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// "Trg/In" with 60 rows; sections 40/10/10, 5 taps; the stored parameters kept, the
// runs short.
struct StartsSheet : RunWorksheet {
    StartsSheet(int starts, std::uint32_t seed, bool patient = false)
        : RunWorksheet(false)
    {
        Role(1, "Trg/In");
        Column(1, TestSeries(60));
        Counts(40, 10, 10, 5);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 25;
        ws->network.iterationsPerCycle = 1;
        ws->network.learningRate = 0.1;
        settings.forecast.starts = starts;
        settings.forecast.seed = seed;
        settings.forecast.patientTraining = patient;
    }
    CBackpropNet& Net() { return ws->Network().net; }
    std::vector<std::string> Estimates() const
    {
        std::vector<std::string> texts;
        for (int r = 0; r < 60; ++r)
            texts.push_back(Cell(r, 2));
        return texts;
    }
};

struct StartsSeen final : TrainingProgress {
    std::vector<int> starts;
    int cycles = 0;
    void BeginStart(int start, int) override { starts.push_back(start); }
    void ReportCycle(int, int, double, double) override { ++cycles; }
};

} // namespace

// Starts train the worksheet as single trainings from seeds S, S+1, ... would, and keep
// the one with the lowest Testing error: its weights, its results, and what Continue
// makes of it. Train on a trained worksheet goes on from its weights, whatever the starts.
TEST(TrainingStartsRun, KeepTheBestOfTheSingleTrainingsAndContinueIt)
{
    constexpr int kStarts = 4;
    constexpr std::uint32_t kSeed = 32;
    struct Single {
        double bestTestError;
        std::vector<double> weights;
        std::vector<std::string> estimates;
        std::vector<double> continued;
    };
    std::vector<Single> singles;
    for (int k = 0; k < kStarts; ++k) {
        StartsSheet sheet(1, kSeed + static_cast<std::uint32_t>(k));
        TrainingOutcome outcome;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr, &outcome));
        Single s{outcome.bestTestError, sheet.Net().WeightsInOrder(), sheet.Estimates(), {}};
        ASSERT_TRUE(ContinueTraining(*sheet.ws, nullptr));
        s.continued = sheet.Net().WeightsInOrder();
        singles.push_back(s);
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < singles.size(); ++k)
        if (singles[k].bestTestError < singles[best].bestTestError)
            best = k;
    ASSERT_NE(best, 0u) << "the case needs a later start to win";
    EXPECT_NE(singles[0].weights, singles[1].weights);

    StartsSheet sheet(kStarts, kSeed);
    StartsSeen seen;
    TrainingOutcome outcome;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, &seen, &outcome));
    EXPECT_EQ(seen.starts, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(outcome.start, static_cast<int>(best) + 1);
    EXPECT_EQ(outcome.startCount, kStarts);
    EXPECT_EQ(sheet.Net().WeightsInOrder(), singles[best].weights);
    EXPECT_EQ(sheet.Estimates(), singles[best].estimates);

    StartsSeen continued;
    ASSERT_TRUE(ContinueTraining(*sheet.ws, &continued));
    EXPECT_TRUE(continued.starts.empty());
    EXPECT_EQ(sheet.Net().WeightsInOrder(), singles[best].continued);

    StartsSeen again;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, &again));
    EXPECT_TRUE(again.starts.empty());
}

// The seed chooses the first start's weights.
TEST(TrainingStartsRun, SeedAndPatience)
{
    StartsSheet plain(1, RandomGenerator::DefaultSeed);
    ASSERT_TRUE(TrainWorksheet(*plain.ws, nullptr));
    StartsSheet seeded(1, 12);
    ASSERT_TRUE(TrainWorksheet(*seeded.ws, nullptr));
    EXPECT_NE(seeded.Net().WeightsInOrder(), plain.Net().WeightsInOrder());

    // Patient training runs to the cycle limit (25 + 2 cycles), on Train and on Continue,
    // and so does the forecaster's set, which includes it.
    struct Case {
        const char* name;
        bool patient;
        bool forecaster;
    };
    for (const Case& c : {Case{"patient", true, false}, Case{"forecaster", false, true}}) {
        StartsSheet sheet(1, RandomGenerator::DefaultSeed, c.patient);
        sheet.settings.forecast.forecaster = c.forecaster;
        sheet.ws->network.errorRatioGoal = 1.0;
        TrainingOutcome outcome;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr, &outcome)) << c.name;
        EXPECT_EQ(outcome.cycles, 27) << c.name;
        ASSERT_TRUE(ContinueTraining(*sheet.ws, nullptr, &outcome)) << c.name;
        EXPECT_EQ(outcome.cycles, 27) << c.name;
    }
    StartsSheet stopping(1, RandomGenerator::DefaultSeed);
    stopping.ws->network.errorRatioGoal = 1.0;
    TrainingOutcome outcome;
    ASSERT_TRUE(TrainWorksheet(*stopping.ws, nullptr, &outcome));
    EXPECT_LT(outcome.cycles, 27);
}
