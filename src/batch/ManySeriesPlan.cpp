#include "batch/ManySeriesPlan.h"

#include "batch/BatchArguments.h"
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace orvalis {

namespace {

bool TakesManySeries(const std::string& command)
{
    return command == "train" || command == "evaluate" || command == "run" ||
           command == "report";
}

} // namespace

bool IsManySeriesCommandLine(const std::vector<std::string>& args)
{
    if (args.empty() || !TakesManySeries(args[0]))
        return false;
    return std::any_of(args.begin() + 1, args.end(), [](const std::string& a) {
        return a == "--out-dir" || a.rfind("--out-dir=", 0) == 0;
    });
}

std::string ManySeriesPlan::OutputOf(const std::string& input) const
{
    std::filesystem::path name = std::filesystem::path(input).filename();
    if (ResultOnStdout())
        name.replace_extension(json ? ".json" : ".txt");
    return (std::filesystem::path(outDir) / name).string();
}

std::vector<std::string> ManySeriesPlan::WorkerArguments(const std::string& input) const
{
    std::vector<std::string> args{command, input};
    args.insert(args.end(), steps.begin(), steps.end());
    if (ResultOnStdout()) {
        if (json)
            args.push_back("--json");
    } else {
        args.push_back("-o");
        args.push_back(OutputOf(input));
    }
    args.insert(args.end(), passOn.begin(), passOn.end());
    return args;
}

std::string ParseManySeries(const std::vector<std::string>& args, int defaultJobs,
                            ManySeriesPlan& plan)
{
    if (args.empty() || !TakesManySeries(args[0]))
        return "several inputs are taken by train, evaluate, run and report only";
    plan = ManySeriesPlan{};
    plan.command = args[0];
    std::vector<BatchOptionSpec> accepted = SettingOptions();
    accepted.push_back({"--out-dir", true, false});
    accepted.push_back({"-j", true, false});
    if (plan.ResultOnStdout())
        accepted.push_back({"--json", false, false});
    BatchArguments parsed;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::string problem = ParseBatchArguments(rest, accepted, parsed); !problem.empty())
        return problem == "unknown option -o" ? "-o names one output: with --out-dir each "
                                                "result goes to DIR/NAME"
                                              : problem;
    for (const auto& [name, value] : parsed.options) {
        if (name == "--out-dir") {
            plan.outDir = value;
        } else if (name == "-j") {
            if (!ParseWholeNumber(value, plan.jobs) || plan.jobs < 1)
                return "-j needs a whole number of at least 1";
        } else if (name == "--json") {
            plan.json = true;
        } else if (name == "--cells") {
            // One listing file for many worksheets would keep only the last one.
            return "--cells names one file: list the cells of single runs";
        } else {
            plan.passOn.push_back(name + "=" + value);
        }
    }
    // A wrong setting is told once here, not once by every worker.
    AppSettings check;
    if (std::string problem = ApplySettingOptions(parsed, check); !problem.empty())
        return problem;
    if (!parsed.Has("-j"))
        plan.jobs = std::max(1, defaultJobs);
    if (plan.outDir.empty())
        return "--out-dir needs a folder";

    // run: the inputs come first, the first step word ends them.
    for (const std::string& p : parsed.positional) {
        if (plan.command == "run" && (!plan.steps.empty() || IsRunStep(p)))
            plan.steps.push_back(p);
        else
            plan.inputs.push_back(p);
    }
    if (plan.inputs.empty())
        return plan.command + " needs at least one input file";
    if (plan.command == "run" && plan.steps.empty())
        return "run needs at least one step";

    // Two inputs of one name would be saved over each other (reports: one name but for
    // the extension, as a.ows and a.bak).
    std::set<std::string> outputs;
    for (const std::string& input : plan.inputs) {
        const std::filesystem::path output = plan.OutputOf(input);
        if (!outputs.insert(output.string()).second)
            return "two inputs are named " +
                   (plan.ResultOnStdout() ? output.stem() : output.filename()).string() +
                   ": their results would overwrite each other in " + plan.outDir;
    }
    return {};
}

} // namespace orvalis
