#include "batch/BatchTool.h"

#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "batch/ManySeriesPlan.h"
#include "batch/ManySeriesRunner.h"

#include "OrvalisVersion.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <thread>

namespace orvalis {

const std::vector<BatchOptionSpec>& SettingOptions()
{
    static const std::vector<BatchOptionSpec> options = {
        {"--comment-line", true, false},
        {"--two-pass", true, false},
        {"--auto-sizing", true, false},
        {"--mode", true, false},
        {"--extrapolation-len", true, false},
        {"--season", true, false},
        {"--change-lag", true, false},
        {"--taps-rule", true, false},
        {"--leak-free", true, false},
        {"--patient", true, false},
        {"--starts", true, false},
        {"--seed", true, false},
        {"--forecaster", true, false},
        {"--auto-training", true, false},
        {"--auto-network", true, false},
        {"--cells", true, false},
    };
    return options;
}

namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage:\n  orvalis-batch --help | --version\n";
    for (const BatchCommand& command : BatchCommands())
        out << "  orvalis-batch " << command.synopsis << "\n";
    out << "options of every command, each defaulting to the stored setting:\n"
           "  --comment-line on|off  --two-pass on|off  --auto-sizing on|off\n"
           "  --mode evaluate|extrapolate  --extrapolation-len N (2..20)\n"
           "  --season auto|N  season of the forecast check's baselines: N rows (2..1000),\n"
           "    0 for none; auto finds it from the Training and Testing rows\n"
           "  --change-lag 0|1|season|N  learn the change over N rows (0 off; season: the\n"
           "    forecast check's season, off without one); estimates are turned back\n"
           "  --taps-rule spec|auto  auto: Num Taps is season + 1, or the order (2 to a tenth\n"
           "    of the rows, at most 24) of least BIC of the differences\n"
           "  --leak-free on|off  Evaluate writes the forecast check's estimates\n"
           "  --patient on|off  train to Maximum Cycles and keep the weights of the lowest\n"
           "    Testing error, instead of stopping when the error ratio rises past its goal\n"
           "  --starts K (1..100)  --seed N  an untrained worksheet trains K times from\n"
           "    fresh random weights, start k from seed N + k - 1 (default 4711), and keeps\n"
           "    the network of the lowest Testing error (stdout then says which: start: k)\n"
           "  --forecaster on|off  the forecaster's settings: the window by rule, patient\n"
           "    training and leak-free evaluation, learning the levels (change lag off)\n"
           "  --auto-training on|off  --auto-network on|off  the worksheet's automatic\n"
           "    training parameters and network shape, saved with it; automatic training\n"
           "    parameters switch 2 Pass on at every train, for the steps after it\n"
           "  --cells FILE  list every non-empty cell as row<TAB>column<TAB>text\n"
           "several worksheets at once: train|evaluate IN.ows... --out-dir DIR [-j N],\n"
           "  run IN.ows... --out-dir DIR [-j N] STEP...; each result is saved as DIR/NAME,\n"
           "  report IN.ows... --out-dir DIR [-j N] [--json]; each report is written to\n"
           "  DIR/NAME.txt (DIR/NAME.json), NAME the input's name without its extension;\n"
           "  N runs at a time (default: the number of processors), the worst status returned\n"
           "Ctrl+C, SIGTERM or SIGHUP during training aborts it as Abort in the window\n"
           "  does: the output is written with the best weights, the steps after it are\n"
           "  left undone; several worksheets: the running ones abort, no more start\n"
           "exit status: 0 done, 1 refused, 2 usage, 3 a file could not be read or written,\n"
           "  4 aborted by a signal\n";
}

// What a command's -o names, as its usage line writes it ("OUT.pdf", "OUT.png|OUT.svg|OUT.jpg").
std::string OutputWord(const BatchCommand& command)
{
    const std::string synopsis = command.synopsis;
    const std::size_t at = synopsis.find("-o ");
    if (at == std::string::npos)
        return "OUT";
    const std::size_t from = at + 3;
    return synopsis.substr(from, synopsis.find(' ', from) - from);
}

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "orvalis-batch: " << problem << "\n";
    PrintUsage(err);
    return BatchUsage;
}

// Several worksheets, each through its own worker process.
int RunManySeriesCommand(const std::vector<std::string>& args, const std::string& workerProgram,
                         std::ostream& out, std::ostream& err)
{
    ManySeriesPlan plan;
    const int cores = int(std::thread::hardware_concurrency());
    if (std::string problem = ParseManySeries(args, cores, plan); !problem.empty())
        return UsageError(err, problem);
    std::error_code ec;
    std::filesystem::create_directories(plan.outDir, ec);
    if (ec) {
        err << "orvalis-batch: cannot make " << plan.outDir << ": " << ec.message() << "\n";
        return BatchFileError;
    }
    return RunManySeries(plan, workerProgram, out, err, isatty(STDERR_FILENO) == 1);
}

} // namespace

int RunBatchTool(const std::vector<std::string>& args, const AppSettings& storedSettings,
                 std::ostream& out, std::ostream& err, const std::string& workerProgram)
{
    if (args.empty())
        return UsageError(err, "no command");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return BatchDone;
    }
    if (args[0] == "--version") {
        out << "orvalis-batch " << kProgramVersion << "\n";
        return BatchDone;
    }
    if (IsManySeriesCommandLine(args))
        return RunManySeriesCommand(args, workerProgram, out, err);
    const auto& commands = BatchCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const BatchCommand& c) { return args[0] == c.name; });
    if (command == commands.end())
        return UsageError(err, "unknown command " + args[0]);

    std::vector<BatchOptionSpec> accepted = SettingOptions();
    if (command->writesOutput)
        accepted.push_back({"-o", true, false});
    accepted.insert(accepted.end(), command->options.begin(), command->options.end());
    BatchArguments arguments;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::string problem = ParseBatchArguments(rest, accepted, arguments); !problem.empty())
        return UsageError(err, problem);
    if (command->moreInputs ? arguments.positional.size() < command->inputs
                            : arguments.positional.size() != command->inputs)
        return UsageError(err, std::string(command->name) + " takes " +
                                   std::to_string(command->inputs) + " file argument" +
                                   (command->inputs == 1 ? "" : "s"));
    if (command->writesOutput && arguments.Value("-o").empty())
        return UsageError(err, std::string(command->name) + " needs -o " + OutputWord(*command));
    AppSettings settings = storedSettings;
    if (std::string problem = ApplySettingOptions(arguments, settings); !problem.empty())
        return UsageError(err, problem);

    BatchContext context(std::move(arguments), settings, out, err);
    return command->run(context);
}

} // namespace orvalis
