// Train and Continue with patient training and several starts, as the settings ask.
#include "worksheet/RunWorksheet.h"

#include "network/RandomGenerator.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Train takes the starts from the settings: the worksheet gets the single training of
// the best seed, weights and estimates. On a trained worksheet, Train and Continue go on
// from the network kept, whatever the starts.
TEST(TrainingStartsRun, TrainKeepsTheBestOfTheSingleTrainings)
{
    constexpr int kStarts = 4;
    constexpr std::uint32_t kSeed = 32;
    std::vector<double> bestTestErrors;
    std::vector<std::vector<std::string>> estimates;
    for (int k = 0; k < kStarts; ++k) {
        StartsSheet sheet(1, kSeed + static_cast<std::uint32_t>(k));
        TrainingOutcome outcome;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr, &outcome));
        bestTestErrors.push_back(outcome.bestTestError);
        estimates.push_back(sheet.Estimates());
    }
    const auto best = static_cast<std::size_t>(
        std::min_element(bestTestErrors.begin(), bestTestErrors.end()) - bestTestErrors.begin());
    ASSERT_NE(best, 0u) << "the case needs a later start to win";

    StartsSheet sheet(kStarts, kSeed);
    StartsSeen seen;
    TrainingOutcome outcome;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, &seen, &outcome));
    EXPECT_EQ(seen.starts, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(outcome.start, static_cast<int>(best) + 1);
    EXPECT_EQ(sheet.Estimates(), estimates[best]);

    for (const bool train : {true, false}) {
        StartsSeen again;
        ASSERT_TRUE(train ? TrainWorksheet(*sheet.ws, &again) : ContinueTraining(*sheet.ws, &again));
        EXPECT_TRUE(again.starts.empty());
        EXPECT_GT(again.cycles, 0);
    }
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
