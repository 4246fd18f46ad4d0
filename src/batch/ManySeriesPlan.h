#pragma once

#include <string>
#include <vector>

namespace orvalis {

// One command over many worksheets: the same train, evaluate or run on each input, each
// saved under its own file name in one output folder, or the same report on each, written
// beside the others as NAME.txt (NAME.json with --json). Each worksheet is a separate run
// of the tool (a worker), so the results are those of running the files one by one.
struct ManySeriesPlan {
    std::string command;                  // train, evaluate, run, report
    std::vector<std::string> inputs;      // worksheets, in the order given
    std::vector<std::string> steps;       // run's steps, the same for every input
    std::vector<std::string> passOn;      // setting options, given to every worker
    std::string outDir;                   // where each result goes, under its input's name
    int jobs = 1;                         // workers at a time, at least 1
    bool json = false;                    // report: the figures as JSON

    // Whether a worker's stdout is its result (a report), to be written to OutputOf
    // rather than shown; the other commands save their worksheet themselves.
    bool ResultOnStdout() const { return command == "report"; }
    // The file an input's result goes to: the output folder and the input's file name,
    // for a report with the extension of its format in place of the input's.
    std::string OutputOf(const std::string& input) const;
    // A worker's command line (without the program): one input, its -o (not for a
    // report), the steps and the passed-on options.
    std::vector<std::string> WorkerArguments(const std::string& input) const;
};

// Whether a command line asks for many-series mode: a command that works on one
// worksheet at a time, given --out-dir.
bool IsManySeriesCommandLine(const std::vector<std::string>& args);

// Reads a many-series command line into plan. Returns "" on success, else what is wrong
// with it (a usage error). defaultJobs is taken when -j is not given.
std::string ParseManySeries(const std::vector<std::string>& args, int defaultJobs,
                            ManySeriesPlan& plan);

} // namespace orvalis
