// Files made to break the tool, as an attacker or a careless script would hand them over:
// each gives its message and exit status, and nothing is written that should not be.
#include "BatchToolRunner.h"
#include "worksheet/WorksheetFileBuilder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::WorksheetFileBuilder;

namespace {

// A worksheet file with one "Trg/In" column in column 1.
struct Crafted {
    std::vector<int> units = {4, 2, 1};
    std::vector<std::string> header = {"0", "40", "10", "10", "4", "Trained"};
    int phase = 100;
    int rows = 60;                        // data rows with a value, from data row 0
    std::map<int, std::string> cells;     // other texts by data row
    WorksheetFileBuilder parameters;      // the training parameters to write

    void Write(const std::string& path) const
    {
        WorksheetFileBuilder b = parameters;
        std::size_t weights = 0;
        for (std::size_t l = 1; l < units.size(); ++l)
            weights += static_cast<std::size_t>(units[l]) * static_cast<std::size_t>(units[l - 1] + 1);
        b.Network(units, std::vector<float>(weights, 0.125f), 10, 2000, phase);
        b.Header(header);
        b.I32(69);
        b.I32(1001);
        b.Str("Trg/In");
        for (int j = 2; j <= 68; ++j)
            b.Str("No Data");
        b.Str("series");
        for (int r = 0; r < 993; ++r) {
            const auto text = cells.find(r);
            if (text != cells.end())
                b.Str(text->second);
            else
                b.Str(r < rows ? std::to_string(100.0 + 10.0 * std::sin(0.4 * r) + 0.3 * r) : "");
        }
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.bytes.data()), static_cast<std::streamsize>(b.bytes.size()));
    }
};

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

} // namespace

TEST(CraftedFiles, EachGivesItsMessageAndExitStatus)
{
    struct Case {
        const char* name;
        std::function<void(Crafted&)> craft;
        std::vector<std::string> args;  // after the input file
        int status;
        std::string message;  // the first line on stderr
    };
    const Case cases[] = {
        {"counts whose int sum wraps",
         [](Crafted& c) { c.header = {"0", "2147483647", "10", "2147483647", "4", "Trained"}; },
         {"evaluate", "--auto-sizing", "off", "--mode", "evaluate"}, 1,
         "Error: Sections Run Past the Last Worksheet Row"},
        {"the same counts trained",
         [](Crafted& c) { c.header = {"0", "2147483647", "10", "2147483647", "4", "Init"}; },
         {"train", "--auto-sizing", "off", "--mode", "evaluate"}, 1,
         "Error: Sections Run Past the Last Worksheet Row"},
        {"a window as long as the sections at phase -1",
         [](Crafted& c) {
             c.units = {100, 50, 1};
             c.header = {"0", "66", "34", "0", "100", "Trained"};
             c.phase = -1;
             c.rows = 100;
         },
         {"evaluate", "--auto-sizing", "on", "--mode", "extrapolate"}, 1,
         "Error: Num Taps Exceeds Num Training + Num Testing"},
        {"an infinite learning rate",
         [](Crafted& c) { c.parameters.learningRate = HUGE_VAL; }, {"train"}, 3,
         "Error: Invalid Worksheet File (open failed)"},
        {"a nan error ratio goal",
         [](Crafted& c) { c.parameters.errorRatioGoal = std::nan(""); }, {"evaluate"}, 3,
         "Error: Invalid Worksheet File (open failed)"},
        {"a missing value written NaN",
         [](Crafted& c) { c.header[5] = "Init"; c.cells[12] = "NaN"; },
         {"train", "--auto-sizing", "off", "--mode", "evaluate"}, 1,
         "Error: Non-Numeric Input Cell Encountered at Row: 13\\nExpecting 60 Data Rows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchSandbox box;
        Crafted file;
        c.craft(file);
        file.Write(box.Path("in.ows"));
        std::vector<std::string> args = {c.args[0], box.Path("in.ows"), "-o", box.Path("out.ows")};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        const auto result = box.Run(args);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(FirstLine(result.err), c.message);
        // A refused operation still writes its output; an unreadable input writes none.
        EXPECT_EQ(std::filesystem::exists(box.Path("out.ows")), c.status == 1);
    }
    // A folder given as the worksheet file.
    BatchSandbox box;
    std::filesystem::create_directory(box.Path("folder.ows"));
    const auto result = box.Run({"evaluate", box.Path("folder.ows"), "-o", box.Path("out.ows")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "Error: Cannot open file folder.ows\n");
}

// The refusal needs a user that permissions bind: root may write anything. As root the
// tool runs as nobody through setpriv, in a folder open to everyone.
TEST(CraftedFiles, FilesWithoutWritePermissionAreNotReplaced)
{
    BatchSandbox box;
    std::vector<std::string> prefix;
    if (geteuid() == 0) {
        if (system("setpriv --reuid=65534 --regid=65534 --clear-groups true") != 0)
            GTEST_SKIP() << "running as root without a working setpriv: no user to test with";
        prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        chmod(box.Path("").c_str(), 0777);
    }
    for (const char* name : {"locked.ows", "locked.cells"}) {
        std::ofstream(box.Path(name)) << "keep";
        chmod(box.Path(name).c_str(), 0444);
    }
    // The folder itself is writable: the files are refused for their own permissions.
    const auto fresh = box.Run({"new", "-o", box.Path("fresh.ows")}, prefix);
    ASSERT_EQ(fresh.status, 0) << fresh.err;
    const auto saved = box.Run({"new", "-o", box.Path("locked.ows")}, prefix);
    EXPECT_EQ(saved.status, 3);
    EXPECT_EQ(saved.err, "Error: Cannot write file locked.ows\n");
    const auto listed = box.Run({"new", "-o", box.Path("fresh.ows"), "--cells", box.Path("locked.cells")}, prefix);
    EXPECT_EQ(listed.status, 3);
    EXPECT_NE(listed.err.find("cannot write " + box.Path("locked.cells")), std::string::npos) << listed.err;
    for (const char* name : {"locked.ows", "locked.cells"})
        EXPECT_TRUE(BatchSandbox::ReadFile(box.Path(name)) == "keep") << name;
}

// --cells through /dev/stdout still reaches the pipe it names, and a listing that
// replaces an earlier one is written whole.
TEST(CraftedFiles, CellListingsGoThroughLinksAndReplaceWhole)
{
    BatchSandbox box;
    std::ofstream(box.Path("w.cells")) << std::string(100000, 'x');
    const auto result = box.Run({"new", "-o", box.Path("w.ows"), "--cells", box.Path("w.cells")});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string listing = BatchSandbox::ReadFile(box.Path("w.cells"));
    EXPECT_EQ(listing.rfind("1\t1\t", 0), 0u);
    EXPECT_EQ(listing.find('x' + std::string(20, 'x')), std::string::npos);

    const auto piped = box.Run({"new", "-o", box.Path("w.ows"), "--cells", "/dev/stdout"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, listing);
    EXPECT_FALSE(std::filesystem::is_symlink(box.Path(".stdout")));
}
