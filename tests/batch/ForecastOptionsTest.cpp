#include "BatchToolRunner.h"

#include "batch/BatchArguments.h"
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

// Each forecasting option's accepted values and what they set; anything else is refused
// with a message that names the option, and the stored options stay as they were.
struct OptionCase {
    const char* option;
    const char* value;
    bool accepted;
    int changeLag; // expected when accepted
    bool tapsByRule;
    bool leakFree;
};

// The stored options the table's cases start from.
orvalis::ForecastOptions Stored()
{
    orvalis::ForecastOptions stored;
    stored.changeLag = 7;
    stored.tapsByRule = false;
    stored.leakFreeEvaluation = true;
    return stored;
}

std::string PreparedNile(const BatchSandbox& box)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
    EXPECT_EQ(box.RunInProcess({"import", sample, "-o", box.Path("imported.ows"), "--header"}).status, 0);
    EXPECT_EQ(box.RunInProcess({"set", box.Path("imported.ows"), "-o", box.Path("nile.ows"), "--role", "2=Trg/In"})
                  .status,
              0);
    return box.Path("nile.ows");
}

// The text of a header cell in a --cells listing.
std::string ListedCell(const std::string& listing, int row, int col)
{
    const std::string prefix = std::to_string(row) + "\t" + std::to_string(col) + "\t";
    for (const std::string& line : Lines(listing))
        if (line.rfind(prefix, 0) == 0)
            return line.substr(prefix.size());
    return {};
}

} // namespace

TEST(ForecastOptions, ParsedIntoTheSettingsOrRefused)
{
    const OptionCase cases[] = {
        {"--change-lag", "0", true, 0, false, true},
        {"--change-lag", "1", true, 1, false, true},
        {"--change-lag", "season", true, orvalis::ForecastOptions::ChangeLagSeason, false, true},
        {"--change-lag", "1000", true, 1000, false, true},
        {"--change-lag", "-1", false, 0, false, false},
        {"--change-lag", "1001", false, 0, false, false},
        {"--change-lag", "Season", false, 0, false, false},
        {"--change-lag", "", false, 0, false, false},
        {"--taps-rule", "auto", true, 7, true, true},
        {"--taps-rule", "spec", true, 7, false, true},
        {"--taps-rule", "on", false, 0, false, false},
        {"--leak-free", "off", true, 7, false, false},
        {"--leak-free", "on", true, 7, false, true},
        {"--leak-free", "yes", false, 0, false, false},
    };
    for (const OptionCase& c : cases) {
        const std::string name = std::string(c.option) + " " + c.value;
        orvalis::BatchArguments arguments;
        ASSERT_EQ(orvalis::ParseBatchArguments({c.option, c.value}, orvalis::SettingOptions(), arguments), "")
            << name;
        orvalis::AppSettings settings;
        settings.forecast = Stored();
        const std::string problem = orvalis::ApplySettingOptions(arguments, settings);
        if (!c.accepted) {
            EXPECT_EQ(problem.rfind(std::string(c.option) + " takes", 0), 0u) << name << ": " << problem;
            EXPECT_EQ(settings.forecast, Stored()) << name;
            continue;
        }
        EXPECT_EQ(problem, "") << name;
        EXPECT_EQ(settings.forecast.changeLag, c.changeLag) << name;
        EXPECT_EQ(settings.forecast.tapsByRule, c.tapsByRule) << name;
        EXPECT_EQ(settings.forecast.leakFreeEvaluation, c.leakFree) << name;
    }
    orvalis::AppSettings stored;
    stored.forecast = Stored();
    EXPECT_EQ(orvalis::ApplySettingOptions({}, stored), "");
    EXPECT_EQ(stored.forecast, Stored());
}

// The options reach the runs: off, every byte is as without them; on, each changes what
// train and evaluate write; the window rule types its window into the header.
TEST(ForecastOptions, RunsTakeTheOptions)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    const auto run = [&](const std::string& out, std::vector<std::string> options) {
        std::vector<std::string> args = {"run", nile, "-o", box.Path(out), "--cells", box.Path(out + ".cells")};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"train", "evaluate"});
        return box.RunInProcess(args);
    };
    const auto plain = run("plain.ows", {});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const auto off = run("off.ows", {"--change-lag", "0", "--taps-rule", "spec", "--leak-free", "off"});
    ASSERT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.out, plain.out);
    EXPECT_EQ(BatchSandbox::ReadFile(box.Path("off.ows")), BatchSandbox::ReadFile(box.Path("plain.ows")));

    const std::string plainCells = BatchSandbox::ReadFile(box.Path("plain.ows.cells"));
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--change-lag", "1"}, {"--leak-free", "on"}, {"--taps-rule", "auto"}}) {
        const auto on = run("on.ows", options);
        ASSERT_EQ(on.status, 0) << options[0] << ": " << on.err;
        EXPECT_NE(BatchSandbox::ReadFile(box.Path("on.ows.cells")), plainCells) << options[0];
        // The window rule's Num Taps replaces the tenth of the rows.
        const std::string taps = ListedCell(BatchSandbox::ReadFile(box.Path("on.ows.cells")), 5, 2);
        if (options[0] == "--taps-rule") {
            EXPECT_NE(taps, ListedCell(plainCells, 5, 2));
        } else {
            EXPECT_EQ(taps, ListedCell(plainCells, 5, 2));
        }
    }

    const auto refused = box.RunInProcess({"train", nile, "-o", box.Path("r.ows"), "--change-lag", "x"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--change-lag takes"), std::string::npos) << refused.err;
}
