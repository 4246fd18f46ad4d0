#pragma once

#include "worksheet/AppSettings.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvalis {

// Runs one batch command line (without the program name) with the user's stored
// settings; returns the exit status (BatchStatus). A command over several worksheets
// (--out-dir) runs each in a worker process, workerProgram with one worksheet's command
// line; its status is the worst of theirs.
int RunBatchTool(const std::vector<std::string>& args, const AppSettings& storedSettings,
                 std::ostream& out, std::ostream& err,
                 const std::string& workerProgram = "/proc/self/exe");

} // namespace orvalis
