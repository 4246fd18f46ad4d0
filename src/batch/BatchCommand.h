#pragma once

#include "batch/BatchArguments.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvalis {

class BatchContext;

// One command of the batch tool. The dispatcher checks the command line against it
// (inputs, -o, options) before run is called, so a command only does its work and
// returns its BatchStatus. Every command also takes the setting options and --cells.
struct BatchCommand {
    const char* name;
    const char* synopsis;       // the usage line after "orvalis-batch "
    std::size_t inputs;         // positional arguments, exactly (at least, when moreInputs)
    bool writesOutput;          // takes -o OUT, which is then required
    std::vector<BatchOptionSpec> options;  // beyond the common ones
    int (*run)(BatchContext& context);
    bool moreInputs = false;    // further positional arguments follow the inputs
};

// Every command, in the order the usage lists them. New commands add their entry here.
const std::vector<BatchCommand>& BatchCommands();
// The options every command takes: the settings and --cells.
const std::vector<BatchOptionSpec>& SettingOptions();

// The worksheet commands (BatchWorksheetCommands.cpp).
int RunNewCommand(BatchContext& context);
int RunImportCommand(BatchContext& context);
int RunSetCommand(BatchContext& context);
int RunAutoconfigCommand(BatchContext& context);
int RunShowCommand(BatchContext& context);

// The commands that train and evaluate (RunCommands.cpp).
int RunTrainCommand(BatchContext& context);
int RunEvaluateCommand(BatchContext& context);
int RunRunCommand(BatchContext& context);
// Whether word is one of run's steps.
bool IsRunStep(const std::string& word);

// The header figures and the baseline figures per section (ReportCommand.cpp).
int RunReportCommand(BatchContext& context);

// The printed pages as a PDF (PrintCommand.cpp).
int RunPrintCommand(BatchContext& context);

// The worksheet's chart as a picture (ChartCommand.cpp).
int RunChartCommand(BatchContext& context);

} // namespace orvalis
