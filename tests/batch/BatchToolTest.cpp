#include "BatchToolRunner.h"

#include "batch/BatchArguments.h"
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "worksheet/AppSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

std::string Sample(const std::string& name)
{
    return std::string(ORVALIS_SAMPLE_DATA_DIR) + "/" + name;
}

std::string Field(const std::string& line, std::size_t index, char separator = ',')
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        start = line.find(separator, start);
        if (start == std::string::npos)
            return "<none>";
        ++start;
    }
    return line.substr(start, line.find(separator, start) - start);
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

// Import of a real series with its header line, saved, then shown: every value of the
// file comes back in its data row, the names in the comment row.
TEST(BatchTool, ImportThenShowPrintsTheDataBack)
{
    struct Case {
        const char* sample;
        std::vector<std::string> showArgs;
        char separator;
    };
    for (const Case& c : {Case{"nile_full.csv", {}, ','},
                          Case{"airpassengers_full.txt", {"--tab"}, '\t'}}) {
        BatchSandbox box;
        const auto imported =
            box.Run({"import", Sample(c.sample), "-o", box.Path("w.ows"), "--header"});
        ASSERT_EQ(imported.status, 0) << imported.err;
        std::vector<std::string> showArgs = {"show", box.Path("w.ows")};
        showArgs.insert(showArgs.end(), c.showArgs.begin(), c.showArgs.end());
        const auto shown = box.Run(showArgs);
        ASSERT_EQ(shown.status, 0) << shown.err;
        const auto input = Lines(BatchSandbox::ReadFile(Sample(c.sample)));
        const auto output = Lines(shown.out);
        // Grid row 7 holds the names, data row k is grid row 8 + k; the last row shown
        // is the last data row.
        ASSERT_EQ(output.size(), 8 + input.size() - 1) << c.sample;
        for (std::size_t k = 0; k < input.size(); ++k) {
            const std::string& line = output[7 + k];
            const std::size_t fields = std::count(input[k].begin(), input[k].end(), c.separator) + 1;
            for (std::size_t f = 0; f < fields; ++f)
                EXPECT_EQ(Field(line, f + 1, c.separator), Field(input[k], f, c.separator))
                    << c.sample << " line " << k;
        }
        EXPECT_EQ(Field(output[6], 1, c.separator), "Comment") << c.sample;
    }
}

TEST(BatchTool, UsageErrorsExit2AndWriteNothing)
{
    BatchSandbox box;
    const std::string out = box.Path("out.ows");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"new"},
        {"new", "-o"},
        {"new", "-o", out, "--bogus"},
        {"new", "-o", out, "extra.ows"},
        {"new", "-o", out, "--mode", "sideways"},
        {"new", "-o", out, "--comment-line", "yes"},
        {"new", "-o", out, "--extrapolation-len", "21"},
        {"new", "-o", out, "--extrapolation-len", "1"},
        {"new", "-o", out, "--header"},
        {"import", Sample("nile_full.csv")},
        {"set", out, "-o", out, "--cell", "1=2"},
        {"set", out, "-o", out, "--cell", "a,2=x"},
        {"set", out, "-o", out, "--role", "69=Input"},
        {"show"},
        {"show", out, "-o", out},
        {"show", out, "--tab", "--tab"},
    };
    for (const auto& args : cases) {
        const auto r = box.Run(args);
        std::string line;
        for (const auto& a : args)
            line += a + " ";
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.err.rfind("orvalis-batch: ", 0), 0u) << line << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }
}

// --version and --help answer on stdout with status 0; the version is the project's.
TEST(BatchTool, VersionAndHelpOnStdout)
{
    BatchSandbox box;
    const auto version = box.Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("orvalis-batch ") + ORVALIS_PROJECT_VERSION + "\n");
    EXPECT_EQ(version.err, "");
    const auto help = box.Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage:\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
}

TEST(BatchTool, UnreadableFilesExit3)
{
    BatchSandbox box;
    std::ofstream(box.Path("junk.ows"), std::ios::binary) << "not a worksheet at all";
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {{"show", box.Path("missing.ows")}, {"Error: Cannot open file missing.ows"}},
        {{"import", box.Path("missing.csv"), "-o", box.Path("out.ows")},
         {"Error: Cannot open file missing.csv", "Error: Import CSV File Failure"}},
        {{"import", box.Path("missing.txt"), "-o", box.Path("out.ows")},
         {"Error: Cannot open file missing.txt", "Error: Import TAB Delimited File Failure"}},
        {{"set", box.Path("junk.ows"), "-o", box.Path("out.ows"), "--cell", "8,1=1"}, {}},
        {{"autoconfig", box.Path("junk.ows"), "-o", box.Path("out.ows")}, {}},
    };
    for (const Case& c : cases) {
        const auto r = box.Run(c.args);
        EXPECT_EQ(r.status, 3) << c.args[0] << " " << c.args[1] << r.err;
        if (!c.messages.empty())
            EXPECT_EQ(Lines(r.err), c.messages) << c.args[1];
        else
            EXPECT_FALSE(r.err.empty()) << c.args[1];
        EXPECT_FALSE(std::filesystem::exists(box.Path("out.ows"))) << c.args[1];
    }
    // The output cannot be written: the tool says so.
    const auto r = box.Run({"new", "-o", box.Path("no/such/folder/w.ows")});
    EXPECT_EQ(r.status, 3);
    EXPECT_FALSE(r.err.empty());
}

TEST(BatchTool, RefusedImportStillWritesTheWorksheet)
{
    BatchSandbox box;
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--row", "0"}, "Error: Grid Row Value Out of Range"},
        {{"--column", "70"}, "Error: Grid Column Value Out of Range"},
        {{"--row", "2", "--header"}, "Error: Comment Header Requires Grid Row/Column Values Equal 1"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"import", Sample("nile_full.csv"), "-o", box.Path("r.ows")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = box.Run(args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_TRUE(std::filesystem::exists(box.Path("r.ows"))) << c.message;
        std::filesystem::remove(box.Path("r.ows"));
    }
    std::ofstream(box.Path("prices.CSV")) << "1\n";
    const auto r = box.Run({"import", box.Path("prices.CSV"), "-o", box.Path("r.ows")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: Import File Type not Supported\n");
}

// A header value typed with --cell goes through the grid's end-of-edit handling: "7x"
// is read as 7 into Num Taps, which automatic configuration then keeps and rewrites.
TEST(BatchTool, SetCellOfAHeaderValueIsReadBack)
{
    BatchSandbox box;
    ASSERT_EQ(box.Run({"import", Sample("nile_full.csv"), "-o", box.Path("w.ows"), "--header"})
                  .status,
              0);
    const auto set = box.Run({"set", box.Path("w.ows"), "-o", box.Path("s.ows"), "--cell",
                              "5,2=7x", "--role", "2=Trg/In", "--cells", box.Path("s.cells")});
    ASSERT_EQ(set.status, 0) << set.err;
    const auto setCells = Lines(BatchSandbox::ReadFile(box.Path("s.cells")));
    EXPECT_TRUE(Contains(setCells, "5\t2\t7x"));
    EXPECT_TRUE(Contains(setCells, "6\t2\tTrg/In"));

    const auto config = box.Run({"autoconfig", box.Path("s.ows"), "-o", box.Path("a.ows"),
                                 "--mode", "evaluate", "--cells", box.Path("a.cells")});
    ASSERT_EQ(config.status, 0) << config.err;
    EXPECT_EQ(config.err, "Proceed With Automatic Configuration of Vector Sets?\n");
    const auto cells = Lines(BatchSandbox::ReadFile(box.Path("a.cells")));
    // 100 rows: 66 training, 16 testing, 18 evaluation; Num Taps stays 7.
    for (const char* line : {"2\t2\t66", "3\t2\t16", "4\t2\t18", "5\t2\t7", "1\t4\tInit"})
        EXPECT_TRUE(Contains(cells, line)) << line;

    // Without an input column there is nothing to measure: refused, still written.
    const auto none = box.Run({"autoconfig", box.Path("w.ows"), "-o", box.Path("n.ows")});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(Contains(Lines(none.err),
                         "orvalis-batch: no \"Input\" or \"Trg/In\" column: the sections are unchanged"))
        << none.err;
    EXPECT_TRUE(std::filesystem::exists(box.Path("n.ows")));

    // Label cells are read-only: refused, the rest still applied and saved, after the
    // save's question about the text in a column without a role (answered Yes).
    const auto refused = box.Run({"set", box.Path("w.ows"), "-o", box.Path("x.ows"), "--cell",
                                  "1,1=x", "--cell", "8,3=note"});
    EXPECT_EQ(refused.status, 1);
    const auto messages = Lines(refused.err);
    EXPECT_TRUE(Contains(messages, "orvalis-batch: cell 1,1 cannot be edited")) << refused.err;
    EXPECT_TRUE(Contains(messages, "Proceed With Save? Data From Column 3 On Will Not Be Saved"))
        << refused.err;
    EXPECT_TRUE(std::filesystem::exists(box.Path("x.ows")));
}

TEST(BatchTool, CellsListingEscapesControlBytes)
{
    BatchSandbox box;
    std::ofstream(box.Path("odd.csv"), std::ios::binary)
        << "back\\slash,tab\there,cr\rin,bell\x07,del\x7f,caf\xc3\xa9\n,x\n";
    const auto r = box.Run({"import", box.Path("odd.csv"), "-o", box.Path("o.ows"), "--row",
                            "3", "--column", "2", "--cells", box.Path("o.cells")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto cells = Lines(BatchSandbox::ReadFile(box.Path("o.cells")));
    // Data row 2 is grid row 10 (comment row on); the empty field writes no line.
    const std::vector<std::string> expected = {
        "10\t2\tback\\\\slash", "10\t3\ttab\\there", "10\t4\tcr\\rin",
        "10\t5\tbell\\x07",     "10\t6\tdel\\x7f",   "10\t7\tcaf\xc3\xa9",
        "11\t3\tx",
    };
    std::vector<std::string> data;
    for (const auto& line : cells)
        if (line.rfind("10\t", 0) == 0 || line.rfind("11\t", 0) == 0)
            data.push_back(line);
    EXPECT_EQ(data, expected);
    // Rows run in order, columns in order within a row.
    EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
        return std::make_pair(std::stoi(Field(a, 0, '\t')), std::stoi(Field(a, 1, '\t'))) <
               std::make_pair(std::stoi(Field(b, 0, '\t')), std::stoi(Field(b, 1, '\t')));
    }));
}

// The stored settings are the defaults of every option and are never written.
TEST(BatchTool, StoredSettingsAreDefaultsAndStayUntouched)
{
    BatchSandbox box;
    box.StoreSettings("[Strings]\nUseCommentLine=FALSE\n");
    const std::string conf =
        (box.ConfigDir() / "Brennix Devices" / "Brennix - Tavelle Orvalis.conf").string();
    const std::string before = BatchSandbox::ReadFile(conf);
    struct Case {
        std::vector<std::string> extra;
        const char* firstDataLine;
    };
    for (const Case& c : {Case{{}, "7\t1\t1871"}, Case{{"--comment-line", "on"}, "8\t1\t1871"}}) {
        std::vector<std::string> args = {"import", Sample("nile_full.csv"), "-o",
                                         box.Path("w.ows"), "--header", "--cells",
                                         box.Path("w.cells")};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto r = box.Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(Contains(Lines(BatchSandbox::ReadFile(box.Path("w.cells"))), c.firstDataLine))
            << c.firstDataLine;
    }
    EXPECT_EQ(BatchSandbox::ReadFile(conf), before);
}

// A file longer than the worksheet: the rows left out are told on stderr, the import
// still succeeds, and --last-rows keeps the series' recent end.
TEST(BatchTool, ImportOfALongFileTellsWhatWasLeftOut)
{
    BatchSandbox box;
    for (const bool lastRows : {false, true}) {
        std::vector<std::string> args = {"import", Sample("eustockmarkets_full.csv"), "-o",
                                         box.Path("w.ows"), "--header"};
        if (lastRows)
            args.push_back("--last-rows");
        const auto imported = box.Run(args);
        EXPECT_EQ(imported.status, 0) << imported.err;
        // First, before what the configuration of the full worksheet has to say.
        const auto told = Lines(imported.err);
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told[0], "Info: 867 rows and 0 columns of eustockmarkets_full.csv did not "
                           "fit the worksheet and were not imported");
        const auto shown = box.Run({"show", box.Path("w.ows")});
        ASSERT_EQ(shown.status, 0) << shown.err;
        const auto rows = Lines(shown.out);
        ASSERT_EQ(rows.size(), 1001u);
        EXPECT_EQ(Field(rows[8], 1), lastRows ? "868" : "1") << "--last-rows " << lastRows;
        EXPECT_EQ(Field(rows[1000], 1), lastRows ? "1860" : "993") << "--last-rows " << lastRows;
    }
}

// --season: auto, 0 (none) or a length of 2 and more rows; anything else is a usage error
// that names the option, and a command without it keeps the stored season.
TEST(BatchTool, SeasonOption)
{
    struct Case {
        const char* value;
        int season; // 99: refused
    };
    for (const Case& c : {Case{"auto", -1}, Case{"0", 0}, Case{"2", 2}, Case{"12", 12},
                          Case{"1000", 1000}, Case{"1", 99}, Case{"-1", 99}, Case{"1001", 99},
                          Case{"Auto", 99}, Case{"", 99}, Case{"12x", 99}}) {
        orvalis::BatchArguments arguments;
        ASSERT_EQ(orvalis::ParseBatchArguments({"--season", c.value}, orvalis::SettingOptions(), arguments), "");
        orvalis::AppSettings settings;
        settings.seasonLength = 7;
        const std::string problem = orvalis::ApplySettingOptions(arguments, settings);
        if (c.season == 99) {
            EXPECT_EQ(problem.rfind("--season takes", 0), 0u) << c.value;
            EXPECT_EQ(settings.seasonLength, 7) << c.value;
        } else {
            EXPECT_EQ(problem, "") << c.value;
            EXPECT_EQ(settings.seasonLength, c.season) << c.value;
        }
    }
    orvalis::AppSettings stored;
    stored.seasonLength = 4;
    EXPECT_EQ(orvalis::ApplySettingOptions({}, stored), "");
    EXPECT_EQ(stored.seasonLength, 4);

    BatchSandbox box;
    EXPECT_EQ(box.Run({"new", "-o", box.Path("a.ows"), "--season", "12"}).status, 0);
    const auto refused = box.Run({"new", "-o", box.Path("b.ows"), "--season", "1"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--season takes"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(box.Path("b.ows")));
}
