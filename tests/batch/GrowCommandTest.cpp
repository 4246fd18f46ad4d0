// The batch tool's import with --grow: a series longer than a new worksheet comes in
// whole, and training, evaluation and extrapolation run over all of it.
#include "BatchToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

std::string Sample(const std::string& name)
{
    return std::string(ORVALIS_SAMPLE_DATA_DIR) + "/" + name;
}

std::string Value(const std::vector<std::string>& lines, const std::string& name)
{
    for (const std::string& line : lines)
        if (line.rfind(name + ": ", 0) == 0)
            return line.substr(name.size() + 2);
    return "<none>";
}

} // namespace

TEST(GrowCommand, LongSeriesImportsWholeAndRunsToItsEnd)
{
    BatchSandbox box;
    const std::string ows = box.Path("eu.ows");
    const auto imported = box.Run({"import", Sample("eustockmarkets_full.csv"), "-o", ows,
                                   "--header", "--grow", "--mode", "extrapolate"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.err.find("did not fit"), std::string::npos) << imported.err;

    // Every line is there, and the worksheet opens again at its grown length.
    const auto shown = box.Run({"show", ows});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto rows = Lines(shown.out);
    ASSERT_GE(rows.size(), 8u + 1860u);
    EXPECT_EQ(rows.back().substr(0, 15), "Data 1860,1860,");

    ASSERT_EQ(box.Run({"set", ows, "-o", ows, "--role", "2=Trg/In", "--mode", "extrapolate"}).status, 0);
    // The sections follow the whole series: two thirds of 1,860 rows train.
    const auto trained = box.Run({"run", ows, "-o", ows, "--mode", "extrapolate",
                                  "--cells", box.Path("eu.cells"), "train", "evaluate"});
    ASSERT_EQ(trained.status, 0) << trained.err;
    const auto figures = Lines(trained.out);
    EXPECT_EQ(Value(figures, "state"), "Eval");
    const auto cells = Lines(BatchSandbox::ReadFile(box.Path("eu.cells")));
    EXPECT_NE(std::find(cells.begin(), cells.end(), "2\t2\t1240"), cells.end()) << "Num Training";
    // The extension's estimates ("Val:Est", created in column 6, the first free one) lie
    // past the 1,860 data rows: the worksheet grew for them.
    bool extended = false;
    for (const std::string& line : cells)
        extended = extended || (std::stoi(line.substr(0, line.find('\t'))) > 8 + 1859 &&
                                line.find("\t6\t") != std::string::npos);
    EXPECT_TRUE(extended) << "an estimate below data row 1860";
}
