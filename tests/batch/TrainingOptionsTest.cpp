// The batch tool's training options: --patient, --starts, --seed, --forecaster,
// --auto-training and --auto-network, read, saved, passed on and acted on.
#include "BatchToolRunner.h"
#include "worksheet/RecordingMessages.h"

#include "batch/BatchArguments.h"
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "batch/BatchTool.h"
#include "batch/ManySeriesPlan.h"
#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

using namespace orvalis;
using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

// The Nile flow series with its flow column as "Trg/In" (100 rows, 10 taps).
std::string PreparedNile(const BatchSandbox& box)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
    EXPECT_EQ(box.RunInProcess({"import", sample, "-o", box.Path("imported.ows"), "--header"}).status, 0);
    const auto set = box.RunInProcess({"set", box.Path("imported.ows"), "-o", box.Path("nile.ows"), "--role", "2=Trg/In"});
    EXPECT_EQ(set.status, 0) << set.err;
    return box.Path("nile.ows");
}

// The two automatic switches a saved worksheet holds: "training network", 0/1 each.
std::string SwitchesOf(const std::string& path)
{
    AppSettings settings;
    RecordingMessages messages;
    Worksheet ws(settings, messages);
    if (!LoadWorksheetFile(ws, path))
        return "unreadable";
    return std::to_string(ws.network.autoTrainingConfigure) + " " +
           std::to_string(ws.network.autoNetworkConfigure);
}

// The estimates of the Evaluate rows in a --cells listing ("Val:Est" is grid column 3;
// the rows before the Evaluate section hold 0.000).
std::vector<double> Estimates(const std::string& listing)
{
    std::vector<double> values;
    for (const std::string& line : Lines(listing)) {
        const std::size_t tab = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab + 1);
        if (std::stoi(line.substr(0, tab)) <= 6 || line.substr(tab + 1, tab2 - tab - 1) != "3")
            continue;
        const double value = std::stod(line.substr(tab2 + 1));
        if (value != 0.0)
            values.push_back(value);
    }
    return values;
}

std::string LineStarting(const std::string& text, const std::string& prefix)
{
    for (const std::string& line : Lines(text))
        if (line.rfind(prefix, 0) == 0)
            return line;
    return {};
}

} // namespace

TEST(TrainingOptions, ValuesAreReadIntoTheSettingsOrRefused)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string problem; // "" accepted; else how the refusal begins
        ForecastOptions expected;
    };
    ForecastOptions patient, starts, seedMax, seedZero, forecaster;
    patient.patientTraining = true;
    starts.starts = 100;
    seedMax.seed = 4294967295u;
    seedZero.seed = 0;
    forecaster.forecaster = true;
    const std::vector<Case> cases = {
        {"patient on", {"--patient", "on"}, "", patient},
        {"patient yes", {"--patient", "yes"}, "--patient takes on or off", {}},
        {"starts 100", {"--starts", "100"}, "", starts},
        {"starts 0", {"--starts", "0"}, "--starts takes a whole number from 1 to 100", {}},
        {"starts 101", {"--starts", "101"}, "--starts takes", {}},
        {"largest seed", {"--seed", "4294967295"}, "", seedMax},
        {"seed 0", {"--seed", "0"}, "", seedZero},
        {"seed past 32 bits", {"--seed", "4294967296"}, "--seed takes a whole number from 0 to 4294967295", {}},
        {"seed signed", {"--seed", "-1"}, "--seed takes", {}},
        {"forecaster on", {"--forecaster", "on"}, "", forecaster},
        {"forecaster 1", {"--forecaster", "1"}, "--forecaster takes on or off", {}},
        {"auto training maybe", {"--auto-training", "maybe"}, "--auto-training takes on or off", {}},
        {"auto network maybe", {"--auto-network", "ON"}, "--auto-network takes on or off", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchArguments arguments;
        ASSERT_EQ(ParseBatchArguments(c.args, SettingOptions(), arguments), "");
        AppSettings settings;
        const std::string problem = ApplySettingOptions(arguments, settings);
        if (c.problem.empty()) {
            EXPECT_EQ(problem, "");
            EXPECT_EQ(settings.forecast, c.expected);
        } else {
            EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
        }
    }
    // Absent options leave the stored options alone.
    AppSettings stored;
    stored.forecast.starts = 7;
    EXPECT_EQ(ApplySettingOptions({}, stored), "");
    EXPECT_EQ(stored.forecast.starts, 7);
}

// The switches are the worksheet's: set saves them, a later command keeps them unless
// told otherwise, and every command that loads a worksheet takes them.
TEST(TrainingOptions, AutomaticSwitchesRoundTripThroughTheFile)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    EXPECT_EQ(SwitchesOf(nile), "1 1");
    struct Step {
        std::vector<std::string> args;
        std::string switches;
    };
    const std::vector<Step> steps = {
        {{"set", nile, "-o", box.Path("a.ows"), "--auto-training", "off"}, "0 1"},
        {{"set", box.Path("a.ows"), "-o", box.Path("b.ows"), "--auto-network", "off"}, "0 0"},
        {{"set", box.Path("b.ows"), "-o", box.Path("c.ows")}, "0 0"},
        {{"set", box.Path("c.ows"), "-o", box.Path("d.ows"), "--auto-training=on"}, "1 0"},
        {{"new", "-o", box.Path("e.ows"), "--auto-network", "off"}, "1 0"},
        {{"train", box.Path("d.ows"), "-o", box.Path("f.ows"), "--auto-network", "on"}, "1 1"},
    };
    for (const Step& s : steps) {
        const auto result = box.RunInProcess(s.args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(SwitchesOf(s.args[s.args[0] == "new" ? 2 : 3]), s.switches) << s.args[0];
    }
}

// Automatic training parameters turn 2 Pass back on at Train; the batch tool says so
// when --two-pass off was given and a later step reads its vectors in 2 Pass, and
// --auto-training off keeps 1 Pass for every step.
TEST(TrainingOptions, TwoPassOffHoldsWithoutAutomaticTrainingParameters)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    const auto automatic = box.RunInProcess({"run", nile, "-o", box.Path("a.ows"), "--two-pass", "off",
                                             "train", "evaluate", "--cells", box.Path("a.cells")});
    ASSERT_EQ(automatic.status, 0) << automatic.err;
    EXPECT_EQ(automatic.err, "orvalis-batch: evaluate runs in 2 Pass: the automatic training "
                             "parameters of the train before it switched 2 Pass back on "
                             "(--auto-training off keeps --two-pass off)\n");

    const auto held = box.RunInProcess({"run", nile, "-o", box.Path("b.ows"), "--two-pass", "off",
                                        "--auto-training", "off", "train", "evaluate", "--cells",
                                        box.Path("b.cells")});
    ASSERT_EQ(held.status, 0) << held.err;
    EXPECT_EQ(held.err, "");
    // In 1 Pass throughout: what a train and an evaluate in two processes give, but for
    // the weights' rounding to floats in the file between them.
    ASSERT_EQ(box.RunInProcess({"train", nile, "-o", box.Path("t.ows"), "--two-pass", "off"}).status, 0);
    ASSERT_EQ(box.RunInProcess({"evaluate", box.Path("t.ows"), "-o", box.Path("c.ows"), "--two-pass",
                                "off", "--cells", box.Path("c.cells")})
                  .status,
              0);
    const std::vector<double> inTwoPass = Estimates(BatchSandbox::ReadFile(box.Path("a.cells")));
    const std::vector<double> inOnePass = Estimates(BatchSandbox::ReadFile(box.Path("b.cells")));
    const std::vector<double> apart = Estimates(BatchSandbox::ReadFile(box.Path("c.cells")));
    ASSERT_EQ(inOnePass.size(), 18u);
    ASSERT_EQ(apart.size(), inOnePass.size());
    ASSERT_EQ(inTwoPass.size(), inOnePass.size());
    double closest = 1e9, farthest = 0.0;
    for (std::size_t i = 0; i < inOnePass.size(); ++i) {
        farthest = std::max(farthest, std::abs(apart[i] - inOnePass[i]));
        closest = std::min(closest, std::abs(inTwoPass[i] - inOnePass[i]));
    }
    EXPECT_LE(farthest, 0.002);
    EXPECT_GT(closest, 0.002);

    // Nothing to say without --two-pass off, or when no step comes after the train.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"run", nile, "-o", box.Path("d.ows"), "train", "evaluate"},
          std::vector<std::string>{"run", nile, "-o", box.Path("d.ows"), "--two-pass", "off", "train"}}) {
        const auto quiet = box.RunInProcess(args);
        EXPECT_EQ(quiet.status, 0);
        EXPECT_EQ(quiet.err, "");
    }
}

// K starts save what the single training from the kept start's seed saves, byte for byte,
// and say on stdout which start that was; many-series mode passes the options on.
TEST(TrainingOptions, StartsSaveTheKeptStartsSingleTraining)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    const auto starts = box.RunInProcess({"train", nile, "-o", box.Path("starts.ows"), "--starts", "3",
                                          "--seed", "20"});
    ASSERT_EQ(starts.status, 0) << starts.err;
    const std::string kept = LineStarting(starts.out, "start: ");
    ASSERT_FALSE(kept.empty()) << starts.out;
    const int k = std::stoi(kept.substr(7));
    ASSERT_GE(k, 1);
    ASSERT_LE(k, 3);
    const auto single = box.RunInProcess({"train", nile, "-o", box.Path("single.ows"), "--seed",
                                          std::to_string(20 + k - 1)});
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(BatchSandbox::ReadFile(box.Path("starts.ows")), BatchSandbox::ReadFile(box.Path("single.ows")));
    EXPECT_EQ(starts.out, single.out + kept + "\n");
    EXPECT_EQ(LineStarting(single.out, "start: "), "");
    // The default seed and one start are the plain training.
    const auto plain = box.RunInProcess({"train", nile, "-o", box.Path("plain.ows")});
    const auto defaults = box.RunInProcess({"train", nile, "-o", box.Path("defaults.ows"), "--starts",
                                            "1", "--seed", "4711", "--patient", "off"});
    EXPECT_EQ(plain.out, defaults.out);
    EXPECT_EQ(BatchSandbox::ReadFile(box.Path("plain.ows")), BatchSandbox::ReadFile(box.Path("defaults.ows")));

    ManySeriesPlan plan;
    ASSERT_EQ(ParseManySeries({"train", nile, "--out-dir", box.Path("many"), "--starts", "3", "--seed",
                               "20", "--auto-training", "off"},
                              1, plan),
              "");
    EXPECT_EQ(plan.passOn, (std::vector<std::string>{"--starts=3", "--seed=20", "--auto-training=off"}));
    EXPECT_NE(ParseManySeries({"train", nile, "--out-dir", box.Path("many"), "--starts", "0"}, 1, plan), "");
}
