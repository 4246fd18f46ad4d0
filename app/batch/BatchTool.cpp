#include "BatchTool.h"

#include "BatchCommand.h"
#include "BatchContext.h"

#include "OrvalisVersion.h"

#include <algorithm>
#include <ostream>

namespace orvalis {

namespace {

const std::vector<BatchOptionSpec> kSettingOptions = {
    {"--comment-line", true, false}, {"--two-pass", true, false},
    {"--auto-sizing", true, false},  {"--mode", true, false},
    {"--extrapolation-len", true, false}, {"--cells", true, false},
};

void PrintUsage(std::ostream& out)
{
    out << "usage:\n  orvalis-batch --help | --version\n";
    for (const BatchCommand& command : BatchCommands())
        out << "  orvalis-batch " << command.synopsis << "\n";
    out << "options of every command, each defaulting to the stored setting:\n"
           "  --comment-line on|off  --two-pass on|off  --auto-sizing on|off\n"
           "  --mode evaluate|extrapolate  --extrapolation-len N (2..20)\n"
           "  --cells FILE  list every non-empty cell as row<TAB>column<TAB>text\n"
           "exit status: 0 done, 1 refused, 2 usage, 3 a file could not be read or written\n";
}

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "orvalis-batch: " << problem << "\n";
    PrintUsage(err);
    return BatchUsage;
}

} // namespace

int RunBatchTool(const std::vector<std::string>& args, const AppSettings& storedSettings,
                 std::ostream& out, std::ostream& err)
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
    const auto& commands = BatchCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const BatchCommand& c) { return args[0] == c.name; });
    if (command == commands.end())
        return UsageError(err, "unknown command " + args[0]);

    std::vector<BatchOptionSpec> accepted = kSettingOptions;
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
        return UsageError(err, std::string(command->name) + " needs -o OUT.ows");
    AppSettings settings = storedSettings;
    if (std::string problem = ApplySettingOptions(arguments, settings); !problem.empty())
        return UsageError(err, problem);

    BatchContext context(std::move(arguments), settings, out, err);
    return command->run(context);
}

} // namespace orvalis
