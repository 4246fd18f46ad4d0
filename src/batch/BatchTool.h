#pragma once

#include "worksheet/AppSettings.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvalis {

// Runs one batch command line (without the program name) with the user's stored
// settings; returns the exit status (BatchStatus).
int RunBatchTool(const std::vector<std::string>& args, const AppSettings& storedSettings,
                 std::ostream& out, std::ostream& err);

} // namespace orvalis
