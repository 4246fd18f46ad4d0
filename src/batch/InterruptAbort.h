#pragma once

namespace orvalis {

// A request to stop while a training run is under way (Ctrl+C's SIGINT, SIGTERM from a
// job controller or a shutdown, SIGHUP when the terminal goes away) acts as the
// progress dialog's Abort: the run ends after its current cycle with its best weights,
// and the tool goes on to write its output. A second such signal ends the tool at once,
// as the signal always does outside a run. A signal the tool was started ignoring (the
// background of a script, nohup) stays ignored.
//
// One instance per run: it installs the handlers when created and puts the previous
// ones back when destroyed.
class InterruptAbort {
public:
    InterruptAbort();
    ~InterruptAbort();
    InterruptAbort(const InterruptAbort&) = delete;
    InterruptAbort& operator=(const InterruptAbort&) = delete;

    // Whether a stop was asked for since this instance was created.
    bool Requested() const;
    // The signal that asked for it, 0 when none did.
    int Signal() const;
};

// "SIGINT", "SIGTERM" or "SIGHUP"; "a signal" for any other.
const char* StopSignalName(int signal);

} // namespace orvalis
