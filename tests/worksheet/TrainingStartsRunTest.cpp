// Train and Continue with patient training and several starts, as the settings ask.
#include "worksheet/RunWorksheet.h"

#include "network/RandomGenerator.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
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
};

struct StartsSeen final : TrainingProgress {
    std::vector<int> starts;
    int cycles = 0;
    void BeginStart(int start, int) override { starts.push_back(start); }
    void ReportCycle(int, int, double, double) override { ++cycles; }
};

} // namespace

// Starts act on fresh weights only: Train on a trained worksheet, and Continue, go on
// from the network kept.
TEST(TrainingStartsRun, StartsActOnFreshWeightsOnly)
{
    using Command = bool (*)(Worksheet&, TrainingProgress*, TrainingOutcome*);
    StartsSheet sheet(3, 32);
    for (const auto& [run, starts] : {std::pair<Command, std::vector<int>>{TrainWorksheet, {1, 2, 3}},
                                      std::pair<Command, std::vector<int>>{TrainWorksheet, {}},
                                      std::pair<Command, std::vector<int>>{ContinueTraining, {}}}) {
        StartsSeen seen;
        ASSERT_TRUE(run(*sheet.ws, &seen, nullptr));
        EXPECT_EQ(seen.starts, starts);
        EXPECT_GT(seen.cycles, 0);
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
