#pragma once

namespace orvalis {

// Makes the signals that end the tool (SIGINT, SIGTERM, SIGHUP, SIGQUIT) remove the
// temporary file of a save under way before the tool ends, and makes a file size limit
// fail the write (reported, exit status 3) instead of ending the tool. Signals the
// tool was started with ignored stay ignored. For main(): it changes the process's
// signal handling for good.
void InstallPartialOutputCleanup();

} // namespace orvalis
