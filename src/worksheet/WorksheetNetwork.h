#pragma once

#include "network/BackpropNet.h"
#include "network/VectorView.h"

#include <memory>
#include <vector>

namespace orvalis {

class Worksheet;

// A worksheet's own network: the engine with its shape and training parameters, and
// what Continue needs to know about the worksheet's last training run. Owned by the
// worksheet (Worksheet::Network).
struct WorksheetNetwork {
    CBackpropNet net;
    // A training run of this worksheet defined the ranges and extracted the vectors
    // that Continue trains on again.
    bool trained = false;
    // The vectors as the last run of this network (training or evaluation) read them:
    // Continue trains on these, whatever the header shows now.
    VectorView lastView;
    // The change lag this network was trained with in this session; -1 for a network
    // read from a file (which does not record it) or not trained yet.
    int changeLag = -1;
};

// A network as the worksheet's stored record describes it: shape and parameters, built
// with the stored weights when the worksheet is Trained or Eval and they are complete.
std::unique_ptr<WorksheetNetwork> BuildNetworkFromRecord(const Worksheet& ws);

// Writes the network's shape (the built one when the worksheet is trained), parameters
// and weights into the worksheet's stored record, as a save needs them. Creates the
// network when the worksheet has none yet.
void ExportNetworkRecord(Worksheet& ws);

// Sets the shape or the training parameters of the worksheet's network and its stored
// record together, so that a save in any state writes what is in force.
void SetNetworkShape(Worksheet& ws, const NetworkShape& shape);
void SetTrainingParameters(Worksheet& ws, const TrainingParameters& parameters);

// The start that training and evaluation share: clears the network's abort request,
// scans the roles and extracts the vectors (training's extraction or evaluation's).
// False, after the failed step's message, with the run marked aborted.
bool BeginRun(Worksheet& ws, bool forTraining);
// Marks the worksheet's run aborted (a refusal before the engine ran) and returns false.
bool RefuseRun(Worksheet& ws);
// Sets the engine's row ranges for the worksheet's sections over its current vectors;
// returns the view the run reads.
VectorView DefineRunRanges(Worksheet& ws);

// The worksheet's vector sets as the engine reads them: every input set, target set 0,
// the full capacity of the arrays readable, and the worksheet's window length. When the
// latest extraction learned the change at lag L, the view starts at data row L (the
// first row with a change), so engine row r is data row r + L.
VectorView VectorViewOf(Worksheet& ws);

// Copies the engine's predictions of data rows 0 .. rows-1 into out (indexed by data
// row), moving them back by the change lag of the view they were listed from. out grows
// to hold them and keeps what earlier runs left past them.
void CopyPredictions(const Worksheet& ws, const CBackpropNet& net, int rows, std::vector<float>& out);

} // namespace orvalis
