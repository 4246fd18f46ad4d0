#pragma once

namespace orvalis {

class CGridDoc;
class CTrainingController;

// While a training run dispatches events, the commands that could start a second run,
// replace or close the worksheet being trained, or change its sections or cells are
// refused: Train, Evaluate, Clear Training, Auto-Config Vectors, the Configure dialogs of
// the network, training, results and forecasting, Import, Open and the recent files; and,
// on the worksheet being trained, Close, Save, Save As, New Window, Cut and Paste. False
// when no run is going.
bool RefusedDuringRun(const CTrainingController& training, int id, const CGridDoc* active);

} // namespace orvalis
