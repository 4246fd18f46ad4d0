// The README's recipes for many series, taken from the README itself and run as a user
// would run them in a shell, so that they stay true.
#include "BatchToolRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;

namespace {

// The README's command lines that begin with prefix (after the code block's indent),
// each with its continuation lines joined.
std::vector<std::string> ReadmeCommands(const std::string& prefix)
{
    std::vector<std::string> commands;
    const std::vector<std::string> lines = Lines(BatchSandbox::ReadFile(ORVALIS_README));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("    " + prefix, 0) != 0)
            continue;
        std::string command = lines[i].substr(4);
        while (!command.empty() && command.back() == '\\' && i + 1 < lines.size())
            command = command.substr(0, command.size() - 1) + lines[++i].substr(4);
        commands.push_back(command);
    }
    return commands;
}

// Replaces the first from in text with to; false when from is not there.
bool Replace(std::string& text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        return false;
    text.replace(at, from.size(), to);
    return true;
}

// Runs script with sh in the sandbox, the tool first on the PATH as orvalis-batch and the
// sandbox as home and settings folder; returns sh's exit status.
int RunScript(const BatchSandbox& box, const std::string& script)
{
    const std::string toolDir = std::filesystem::path(ORVALIS_BATCH_TOOL).parent_path().string();
    std::ofstream(box.Path("recipe.sh"))
        << "set -e\ncd '" << box.Path("") << "'\nexport HOME=\"$PWD\" XDG_CONFIG_HOME=\"$PWD/config\"\n"
        << "export PATH='" << toolDir << "':\"$PATH\"\n"
        << script << "\n";
    const int status = std::system(("sh '" + box.Path("recipe.sh") + "' > '" + box.Path("recipe.out") +
                                    "' 2> '" + box.Path("recipe.err") + "'")
                                       .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Two sample series with their target column set, in the sandbox's series folder.
std::vector<std::string> PrepareSeries(const BatchSandbox& box)
{
    std::filesystem::create_directories(box.Path("series"));
    std::vector<std::string> names;
    for (const auto& [csv, column, name] :
         {std::tuple{"nile_full.csv", "2", "nile.ows"}, std::tuple{"airpassengers_full.csv", "3", "air.ows"}}) {
        const std::string path = box.Path("series/" + std::string(name));
        EXPECT_EQ(box.Run({"import", std::string(ORVALIS_SAMPLE_DATA_DIR) + "/" + csv, "-o", path,
                           "--header"})
                      .status,
                  0);
        EXPECT_EQ(box.Run({"set", path, "-o", path, "--role", std::string(column) + "=Trg/In"}).status, 0);
        names.push_back(name);
    }
    return names;
}

} // namespace

// The many-series lines: the trained worksheets are reported on, and the run that
// extrapolates ends every series evaluated, with its forecast rows.
TEST(ReadmeRecipes, ManySeriesExampleDoesWhatItSays)
{
    const std::vector<std::string> commands = ReadmeCommands("build/orvalis-batch ");
    std::string script;
    for (std::string command : commands) {
        if (command.find("--out-dir") == std::string::npos)
            continue;
        Replace(command, "build/orvalis-batch", "orvalis-batch");
        script += command + "\n";
    }
    ASSERT_NE(script.find("mode=extrapolate"), std::string::npos) << script;
    BatchSandbox box;
    const std::vector<std::string> names = PrepareSeries(box);
    ASSERT_EQ(RunScript(box, script), 0) << BatchSandbox::ReadFile(box.Path("recipe.err"));
    const std::string out = BatchSandbox::ReadFile(box.Path("recipe.out"));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_NE(out.find("series/" + name + ": state: Eval\n"), std::string::npos) << out;
        const auto shown = box.Run({"show", box.Path("done/" + name), "--mode", "extrapolate"});
        ASSERT_EQ(shown.status, 0);
        const std::vector<std::string> rows = Lines(shown.out);
        ASSERT_FALSE(rows.empty());
        // The last row lies past the data: only the estimate and its direction are there.
        EXPECT_NE(rows.back().find(",,"), std::string::npos) << rows.back();
        const std::string stem = std::filesystem::path(name).stem().string();
        const std::string report = BatchSandbox::ReadFile(box.Path("reports/" + stem + ".json"));
        EXPECT_NE(report.find("{\"section\": \"training\", \"n\": "), std::string::npos) << report;
        EXPECT_EQ(report.find("{\"section\": \"training\", \"n\": 0,"), std::string::npos) << report;
    }
}

// The GNU parallel recipe on this machine (the local host ":", two jobs for it): every
// output equals its single run, the worksheet and the figures alike.
TEST(ReadmeRecipes, GnuParallelRecipeGivesTheSingleRuns)
{
    if (std::system("parallel --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU parallel is not installed (Debian package parallel; scripts/deps.sh "
                        "installs it): the README's parallel recipe is not checked";
    const std::vector<std::string> recipes = ReadmeCommands("ls series/*.ows | parallel ");
    ASSERT_EQ(recipes.size(), 1u) << "the README's recipe is one command";
    std::string recipe = recipes[0];
    const std::size_t hosts = recipe.find("-S ");
    ASSERT_NE(hosts, std::string::npos) << recipe;
    recipe.replace(hosts, recipe.find(' ', hosts + 3) - hosts, "-S 2/:");

    BatchSandbox box;
    const std::vector<std::string> names = PrepareSeries(box);
    ASSERT_EQ(ReadmeCommands("mkdir -p trained").size(), 1u) << "the recipe makes its folder";
    ASSERT_EQ(RunScript(box, "mkdir -p trained\n" + recipe), 0) << recipe << "\n"
                                                                << BatchSandbox::ReadFile(box.Path("recipe.err"));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto single = box.Run({"train", box.Path("series/" + name), "-o", box.Path("single.ows")});
        ASSERT_EQ(single.status, 0) << single.err;
        EXPECT_TRUE(BatchSandbox::ReadFile(box.Path("trained/" + name)) ==
                    BatchSandbox::ReadFile(box.Path("single.ows")))
            << "the worksheet of its single run";
        const std::string stem = std::filesystem::path(name).stem().string();
        EXPECT_EQ(BatchSandbox::ReadFile(box.Path("trained/" + stem + ".txt")), single.out);
    }
}
