#pragma once

#include <string>
#include <vector>

namespace orvalis {

// One command over many worksheets: the same train, evaluate or run on each input, each
// saved under its own file name in one output folder. Each worksheet is a separate run
// of the tool (a worker), so the results are those of running the files one by one.
struct ManySeriesPlan {
    std::string command;                  // train, evaluate, run
    std::vector<std::string> inputs;      // worksheets, in the order given
    std::vector<std::string> steps;       // run's steps, the same for every input
    std::vector<std::string> passOn;      // setting options, given to every worker
    std::string outDir;                   // where each result goes, under its input's name
    int jobs = 1;                         // workers at a time, at least 1

    // The file an input is saved to: the output folder and the input's file name.
    std::string OutputOf(const std::string& input) const;
    // A worker's command line (without the program): one input, its -o, the steps and
    // the passed-on options.
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
