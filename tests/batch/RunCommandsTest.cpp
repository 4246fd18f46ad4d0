#include "BatchToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// These run the commands in-process: they are about what train, evaluate and run do;
// the program's exit codes, streams and settings file are BatchToolTest's.
using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

// The Nile flow series imported with its header and its flow column made "Trg/In";
// automatic sizing gives 66 training, 16 testing and 18 evaluation rows with 10 taps.
// The training parameters are the defaults the first Train sets.
std::string PreparedNile(const BatchSandbox& box)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
    const auto imported = box.RunInProcess({"import", sample, "-o", box.Path("imported.ows"), "--header"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    const auto set = box.RunInProcess({"set", box.Path("imported.ows"), "-o", box.Path("nile.ows"), "--role", "2=Trg/In"});
    EXPECT_EQ(set.status, 0) << set.err;
    return box.Path("nile.ows");
}

// The lines of a --cells listing in the given grid column, from the role row down.
std::vector<std::string> CellsOfColumn(const std::string& listing, int col)
{
    std::vector<std::string> cells;
    for (const std::string& line : Lines(listing)) {
        const std::size_t tab = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab + 1);
        if (std::stoi(line.substr(0, tab)) >= 6 &&
            line.substr(tab + 1, tab2 - tab - 1) == std::to_string(col))
            cells.push_back(line);
    }
    return cells;
}

std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix)
{
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }),
                lines.end());
    return lines;
}

} // namespace

// Train, save, load, evaluate gives what train and evaluate in one process give: the
// network survives the file, and two fresh runs agree to the digit.
TEST(RunCommands, TrainSaveLoadEvaluateRoundTrip)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    const auto trained = box.RunInProcess({"train", nile, "-o", box.Path("trained.ows")});
    ASSERT_EQ(trained.status, 0) << trained.err;
    const auto lines = Lines(trained.out);
    ASSERT_EQ(lines.size(), 10u) << trained.out;
    EXPECT_EQ(lines[0], "state: Trained");
    EXPECT_EQ(lines[8].rfind("cycles: ", 0), 0u);

    const auto evaluated = box.RunInProcess({"evaluate", box.Path("trained.ows"), "-o", box.Path("a.ows"),
                                    "--cells", box.Path("a.cells")});
    ASSERT_EQ(evaluated.status, 0) << evaluated.err;
    const auto inOne = box.RunInProcess({"run", nile, "-o", box.Path("b.ows"), "train", "evaluate", "--cells",
                                box.Path("b.cells")});
    ASSERT_EQ(inOne.status, 0) << inOne.err;

    EXPECT_EQ(Lines(evaluated.out)[0], "state: Eval");
    EXPECT_EQ(Lines(evaluated.out), Without(Without(Lines(inOne.out), "cycles:"), "updates:"));
    // "Val:Est" is column 3, created next to the series.
    const auto a = BatchSandbox::ReadFile(box.Path("a.cells"));
    const auto b = BatchSandbox::ReadFile(box.Path("b.cells"));
    EXPECT_EQ(CellsOfColumn(a, 3).size(), 101u); // role and 100 data rows
    EXPECT_EQ(CellsOfColumn(a, 3), CellsOfColumn(b, 3));
    EXPECT_EQ(a, b);

    const auto again = box.RunInProcess({"run", nile, "-o", box.Path("c.ows"), "train", "evaluate"});
    EXPECT_EQ(again.out, inOne.out);
    EXPECT_EQ(BatchSandbox::ReadFile(box.Path("c.ows")), BatchSandbox::ReadFile(box.Path("b.ows")));
}

TEST(RunCommands, StepsInDataExtrapolateMode)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    const auto run = box.RunInProcess({"run", nile, "-o", box.Path("x.ows"), "mode=extrapolate", "train",
                              "continue", "evaluate", "--extrapolation-len", "3", "--cells",
                              box.Path("x.cells")});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    EXPECT_EQ(lines[0], "state: Eval");
    EXPECT_EQ(lines[1], "slope_fm: ---");
    EXPECT_EQ(lines[6], "value_err_sd: ---");
    // 66 + 34 rows, then 3 extrapolated rows in "Val:Est" (grid rows 108..110), while the
    // series column keeps its 100 values.
    const auto cells = BatchSandbox::ReadFile(box.Path("x.cells"));
    const auto estimates = CellsOfColumn(cells, 3);
    ASSERT_FALSE(estimates.empty());
    EXPECT_EQ(estimates.back().rfind("110\t3\t", 0), 0u) << estimates.back();
    EXPECT_EQ(CellsOfColumn(cells, 2).back().rfind("107\t2\t", 0), 0u);
    EXPECT_NE(cells.find("4\t2\t---\n"), std::string::npos); // Num Eval shows "---"
}

TEST(RunCommands, RefusalsAndUsage)
{
    BatchSandbox box;
    const std::string nile = PreparedNile(box);
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string stderrHas;
    } cases[] = {
        {"evaluate untrained", {"evaluate", nile, "-o", box.Path("o.ows")}, 1, "Error: Orvalis not Trained"},
        {"continue without train", {"run", nile, "-o", box.Path("o.ows"), "continue"}, 1,
         "continue needs a train step"},
        {"clear then evaluate", {"run", nile, "-o", box.Path("o.ows"), "train", "clear", "evaluate"}, 1,
         "Proceed With Reset of Training State?"},
        {"unknown step", {"run", nile, "-o", box.Path("o.ows"), "fly"}, 2, "unknown step fly"},
        {"no step", {"run", nile, "-o", box.Path("o.ows")}, 2, "run needs at least one step"},
        {"no output", {"train", nile}, 2, "needs -o"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(box.Path("o.ows"));
        const auto result = box.RunInProcess(c.args);
        EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.err;
        EXPECT_NE(result.err.find(c.stderrHas), std::string::npos) << c.name << "\n" << result.err;
        // A refused run still writes its worksheet; a usage error writes nothing.
        EXPECT_EQ(std::filesystem::exists(box.Path("o.ows")), c.status == 1) << c.name;
    }
    // Num Taps typed as large as the training rows: refused before any training.
    const auto edited = box.RunInProcess({"set", nile, "-o", box.Path("taps.ows"), "--cell", "5,2=66",
                                 "--auto-sizing", "off"});
    ASSERT_EQ(edited.status, 0) << edited.err;
    const auto refused = box.RunInProcess({"train", box.Path("taps.ows"), "-o", box.Path("o.ows"), "--auto-sizing", "off"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Error: Num Taps Must Be Less Than Num Training"), std::string::npos)
        << refused.err;
    EXPECT_EQ(Lines(refused.out)[0], "state: Init");
}
