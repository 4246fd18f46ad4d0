#include "batch/BatchCommand.h"

namespace orvalis {

const std::vector<BatchCommand>& BatchCommands()
{
    // One command per entry reads better than one field per line.
    // clang-format off
    static const std::vector<BatchCommand> commands = {
        {"new", "new -o OUT.ows", 0, true, {}, &RunNewCommand},
        {"import", "import IN.csv|IN.txt -o OUT.ows [--row R] [--column C] [--header] "
                   "[--last-rows] [--grow]",
         1, true, {{"--row", true, false}, {"--column", true, false}, {"--header", false, false},
                   {"--last-rows", false, false}, {"--grow", false, false}},
         &RunImportCommand},
        {"set", "set IN.ows -o OUT.ows [--role COL=ROLE]... [--cell ROW,COL=TEXT]...", 1, true,
         {{"--role", true, true}, {"--cell", true, true}}, &RunSetCommand},
        {"autoconfig", "autoconfig IN.ows -o OUT.ows", 1, true, {}, &RunAutoconfigCommand},
        {"train", "train IN.ows -o OUT.ows", 1, true, {}, &RunTrainCommand},
        {"evaluate", "evaluate IN.ows -o OUT.ows", 1, true, {}, &RunEvaluateCommand},
        {"run", "run IN.ows -o OUT.ows STEP... (train continue evaluate clear autoconfig "
                "mode=evaluate mode=extrapolate)",
         1, true, {}, &RunRunCommand, true},
        {"show", "show IN.ows [--tab]", 1, false, {{"--tab", false, false}}, &RunShowCommand},
        {"report", "report IN.ows [--json]", 1, false, {{"--json", false, false}}, &RunReportCommand},
        {"print", "print IN.ows -o OUT.pdf [--paper A4|Letter] [--landscape] [--chart]", 1, true,
         {{"--paper", true, false}, {"--landscape", false, false}, {"--chart", false, false}}, &RunPrintCommand},
        {"chart", "chart IN.ows -o OUT.png|OUT.svg|OUT.jpg [--size WxH]", 1, true,
         {{"--size", true, false}}, &RunChartCommand},
    };
    // clang-format on
    return commands;
}

} // namespace orvalis
