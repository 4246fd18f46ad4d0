#pragma once

#include <iosfwd>
#include <string>

namespace orvalis {

struct ManySeriesPlan;

// Runs plan's workers, program with each input's worker arguments, at most plan.jobs at
// a time, in the order given; a worker's stdout and stderr are kept apart from the
// others'. With progress, a line on err tells how many files are done and the time
// left. A report worker's stdout is written to its output file (only when it is done).
// At the end, out carries every other worker's stdout lines, each prefixed with its
// input and ": ", in input order, and err a summary: one line per input with its exit
// status and its last message. A signal to stop (Ctrl+C, SIGTERM, SIGHUP) is passed on
// to the running workers (a training aborts its run and saves as usual, anything else
// ends) and starts no further ones; a second one ends the workers at once. Either way
// the tool waits for its workers and reports: a worker never outlives the tool, and an
// input not started has status Aborted. Returns the worst exit status.
int RunManySeries(const ManySeriesPlan& plan, const std::string& program, std::ostream& out,
                  std::ostream& err, bool progress);

} // namespace orvalis
