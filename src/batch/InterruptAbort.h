#pragma once

namespace orvalis {

// Ctrl+C (SIGINT) while a training run is under way acts as the progress dialog's
// Abort: the run ends after its current cycle with its best weights, and the tool goes
// on to write its output as usual. A second Ctrl+C ends the tool at once, as Ctrl+C
// always does outside a run.
//
// One instance per run: it installs the handler when created and puts the previous one
// back when destroyed.
class InterruptAbort {
public:
    InterruptAbort();
    ~InterruptAbort();
    InterruptAbort(const InterruptAbort&) = delete;
    InterruptAbort& operator=(const InterruptAbort&) = delete;

    // Whether Ctrl+C was pressed since this instance was created.
    bool Requested() const;
};

} // namespace orvalis
