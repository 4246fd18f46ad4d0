#include "BatchToolRunner.h"

#include "batch/ManySeriesPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvalis::ManySeriesPlan;
using orvalis::ParseManySeries;
using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

// A sample series imported with its header and one column made "Trg/In", saved as name.
std::string Prepared(const BatchSandbox& box, const std::string& csv, const std::string& column,
                     const std::string& name)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/" + csv;
    const std::string imported = box.Path("imported.ows");
    EXPECT_EQ(box.RunInProcess({"import", sample, "-o", imported, "--header"}).status, 0);
    const auto set = box.RunInProcess({"set", imported, "-o", box.Path(name), "--role", column + "=Trg/In"});
    EXPECT_EQ(set.status, 0) << set.err;
    return box.Path(name);
}

} // namespace

// Eight worksheets through one command, one of them unreadable: every readable one is
// saved byte for byte as its own run would save it, with the same figures, and the
// unreadable one is reported by name without stopping the rest.
TEST(ManySeries, EightFilesGiveTheBytesOfSingleRunsAndReportTheFailingOne)
{
    BatchSandbox box;
    std::vector<std::string> inputs = {
        Prepared(box, "nile_full.csv", "2", "nile.ows"),
        Prepared(box, "sunspot_month_120.csv", "3", "sunspot.ows"),
        Prepared(box, "airpassengers_full.csv", "3", "air.ows"),
        Prepared(box, "eustockmarkets_120.csv", "2", "dax.ows"),
        Prepared(box, "eustockmarkets_120.csv", "3", "smi.ows"),
        Prepared(box, "eustockmarkets_120.csv", "4", "cac.ows"),
        Prepared(box, "eustockmarkets_120.csv", "5", "ftse.ows"),
    };
    const std::string bad = box.Path("bad.ows");
    std::ofstream(bad) << "not a worksheet";
    inputs.insert(inputs.begin() + 3, bad);

    std::vector<std::string> args = {"run"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    for (const char* a : {"--out-dir", "", "-j", "3", "train", "evaluate", "--extrapolation-len", "7"})
        args.push_back(a);
    args[args.size() - 7] = box.Path("results");
    const auto many = box.Run(args);
    EXPECT_EQ(many.status, 3) << "the worst status: the unreadable file's";

    const std::vector<std::string> summary = Lines(many.err);
    ASSERT_GE(summary.size(), 9u) << many.err;
    EXPECT_EQ(summary[summary.size() - 9], "orvalis-batch: 8 files, 7 done, 1 failed");
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& line = summary[summary.size() - 8 + i];
        const std::string name = std::filesystem::path(inputs[i]).filename().string();
        const std::string result = box.Path("results/" + name);
        SCOPED_TRACE(name);
        if (inputs[i] == bad) {
            EXPECT_EQ(line.rfind("  " + bad + ": 3 ", 0), 0u) << line;
            EXPECT_FALSE(std::filesystem::exists(result));
            continue;
        }
        EXPECT_EQ(line, "  " + inputs[i] + ": 0 done");
        const auto single = box.Run({"run", inputs[i], "-o", box.Path("single.ows"), "train",
                                     "evaluate", "--extrapolation-len=7"});
        ASSERT_EQ(single.status, 0) << single.err;
        const std::string bytes = BatchSandbox::ReadFile(box.Path("single.ows"));
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(BatchSandbox::ReadFile(result) == bytes) << "saved as a single run saves";
        std::string figures;
        for (const std::string& l : Lines(single.out))
            figures += inputs[i] + ": " + l + "\n";
        EXPECT_NE(many.out.find(figures), std::string::npos) << "its figures, prefixed";
    }
}

// Command lines of many-series mode: what is refused before any worker starts, and
// what each worker is given.
TEST(ManySeries, CommandLines)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string problem;  // "" accepted
    };
    const std::vector<Case> cases = {
        {"one -o for many outputs", {"train", "a.ows", "--out-dir", "d", "-o", "x.ows"},
         "-o names one output: with --out-dir each result goes to DIR/NAME"},
        {"one cell listing for many", {"train", "a.ows", "--out-dir", "d", "--cells", "c"},
         "--cells names one file: list the cells of single runs"},
        {"two inputs of one name", {"evaluate", "x/a.ows", "y/a.ows", "--out-dir", "d"},
         "two inputs are named a.ows: their results would overwrite each other in d"},
        {"no workers", {"train", "a.ows", "--out-dir", "d", "-j", "0"},
         "-j needs a whole number of at least 1"},
        {"run without steps", {"run", "a.ows", "b.ows", "--out-dir", "d"}, "run needs at least one step"},
        {"no inputs", {"run", "--out-dir", "d", "train"}, "run needs at least one input file"},
        {"a wrong setting", {"train", "a.ows", "--out-dir", "d", "--two-pass", "maybe"}, "?"},
        {"accepted", {"run", "a.ows", "sub/b.ows", "--out-dir=d", "train", "mode=extrapolate",
                      "--two-pass", "off"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ManySeriesPlan plan;
        const std::string problem = ParseManySeries(c.args, 4, plan);
        if (c.problem == "?")
            EXPECT_FALSE(problem.empty());
        else
            EXPECT_EQ(problem, c.problem);
    }
    ManySeriesPlan plan;
    ASSERT_EQ(ParseManySeries(cases.back().args, 4, plan), "");
    EXPECT_EQ(plan.jobs, 4) << "the default when -j is not given";
    EXPECT_EQ(plan.inputs, (std::vector<std::string>{"a.ows", "sub/b.ows"}));
    EXPECT_EQ(plan.WorkerArguments("sub/b.ows"),
              (std::vector<std::string>{"run", "sub/b.ows", "train", "mode=extrapolate", "-o",
                                        "d/b.ows", "--two-pass=off"}));
}

// Reports of several worksheets, in both formats: each written to the output folder
// under its input's name with the format's extension, with the bytes a single report
// prints; an unreadable input leaves no report, and two inputs that would share a
// report name are refused before anything runs.
TEST(ManySeries, ReportsOfSeveralWorksheetsAreTheSingleReports)
{
    BatchSandbox box;
    const std::string air = Prepared(box, "airpassengers_full.csv", "3", "air.ows");
    ASSERT_EQ(box.RunInProcess({"run", air, "-o", air, "train", "evaluate"}).status, 0);
    const std::string nile = Prepared(box, "nile_full.csv", "2", "nile.ows");
    const std::string bad = box.Path("bad.ows");
    std::ofstream(bad) << "not a worksheet";

    for (const bool json : {false, true}) {
        SCOPED_TRACE(json ? "json" : "plain");
        std::vector<std::string> args = {"report", air, bad, nile, "--out-dir",
                                         box.Path("reports"), "-j", "2", "--two-pass", "on"};
        if (json)
            args.push_back("--json");
        const auto many = box.Run(args);
        EXPECT_EQ(many.status, 3) << many.err;
        EXPECT_EQ(many.out, "") << "the reports go to their files";
        const std::string extension = json ? ".json" : ".txt";
        EXPECT_FALSE(std::filesystem::exists(box.Path("reports/bad" + extension)));
        for (const std::string& input : {air, nile}) {
            std::vector<std::string> single = {"report", input, "--two-pass", "on"};
            if (json)
                single.push_back("--json");
            const auto alone = box.Run(single);
            ASSERT_EQ(alone.status, 0) << alone.err;
            const std::string name = std::filesystem::path(input).stem().string();
            EXPECT_EQ(BatchSandbox::ReadFile(box.Path("reports/" + name + extension)), alone.out);
        }
    }
    ManySeriesPlan plan;
    EXPECT_EQ(ParseManySeries({"report", "x/a.ows", "y/a.bak", "--out-dir", "d"}, 1, plan),
              "two inputs are named a: their results would overwrite each other in d");
}
