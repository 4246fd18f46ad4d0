#pragma once

#include "network/BackpropNet.h"
#include "network/TrainingObserver.h"

namespace orvalis {

class Worksheet;

// What a training command shows while it runs: the progress dialog in the GUI, a
// progress line in the batch tool. Show comes once the run is certain to start;
// ShowConfidence after the results are written, with the slope and value figures of
// merit.
class TrainingProgress : public TrainingObserver {
public:
    virtual void Show() {}
    virtual void ShowConfidence(float slopeConfidence, float valueConfidence)
    {
        (void)slopeConfidence;
        (void)valueConfidence;
    }
};

// Train: scans the roles, extracts the training vectors, sizes the network
// automatically when its switch is on, refuses (message shown, abortRequested set,
// false returned) before the network, the parameters or the 2 Pass switch are touched
// when the shape or the sections do not fit, then trains the worksheet's network (from
// fresh weights in state Init, otherwise from the current ones), writes the results and
// marks the worksheet Trained. progress may be null; outcome, when given, receives the
// run's cycle count, updates and last ratios.
bool TrainWorksheet(Worksheet& ws, TrainingProgress* progress, TrainingOutcome* outcome = nullptr);

// The progress dialog's Continue on the worksheet that was trained: another run from
// the current weights on the vectors and ranges of the worksheet's last run, then the
// results. The state and the modified mark stay. False (nothing done) when this
// worksheet has had no training run since it was created or loaded.
bool ContinueTraining(Worksheet& ws, TrainingProgress* progress, TrainingOutcome* outcome = nullptr);

// Clear Training: asks "Proceed With Reset of Training State?"; on Yes marks the
// worksheet modified and resets it to Init. Returns whether it was reset.
bool ClearTraining(Worksheet& ws);

// Auto-Config Vectors: asks "Proceed With Automatic Configuration of Vector Sets?"; on
// Yes marks the worksheet modified, clears the result cells after the sections and
// configures the sections for the current results mode. Returns whether it ran.
bool AutoConfigVectors(Worksheet& ws);

} // namespace orvalis
