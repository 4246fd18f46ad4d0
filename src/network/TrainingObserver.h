#pragma once

namespace orvalis {

// What a training run tells its caller once per cycle. The GUI answers with the
// progress dialog and its event dispatching (so Abort can act during the run); the
// batch tool with a progress line; tests with a recorder.
class TrainingObserver {
public:
    virtual ~TrainingObserver() = default;

    // Called once per cycle after the best-weight bookkeeping and before the
    // cycle-limit and abort test: dispatch every pending event. A handler run from
    // here may set the engine's abortRequested; the same cycle then ends the run.
    virtual void DispatchPendingEvents() {}

    // One report per cycle, last thing in the cycle. cycle counts from 0; updates is the
    // number of cycles so far that improved the best test error; the ratios are the
    // errors over their reference errors (inf or nan when a reference error is 0).
    virtual void ReportCycle(int cycle, int updates, double trainRatio, double testRatio) = 0;

    // A training of several starts is about to run start `start` of `count` (1-based);
    // its cycles count from 0 again. Not called for a single training.
    virtual void BeginStart(int start, int count)
    {
        (void)start;
        (void)count;
    }
    // After the last start of several: the start whose network the training kept.
    virtual void KeptStart(int start, int count)
    {
        (void)start;
        (void)count;
    }
};

} // namespace orvalis
