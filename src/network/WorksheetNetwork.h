#pragma once

#include "network/BackpropNet.h"
#include "network/VectorView.h"
#include "worksheet/NetworkAttachment.h"

namespace orvalis {

class Worksheet;

// A worksheet's own network: the engine with its shape and training parameters, and
// what Continue needs to know about the worksheet's last training run. Owned by the
// worksheet (Worksheet::networkAttachment).
class WorksheetNetwork final : public NetworkAttachment {
public:
    CBackpropNet net;
    // A training run of this worksheet defined the ranges and extracted the vectors
    // that Continue trains on again.
    bool trained = false;
    // The vectors as the last run of this network (training or evaluation) read them:
    // Continue trains on these, whatever the header shows now.
    VectorView lastView;
};

// The network of ws, created on first use from the worksheet's stored record (shape,
// parameters, and in state Trained or Eval the stored weights, so a worksheet loaded
// trained evaluates at once). Creating it also connects the worksheet's file hooks: a
// save exports the built network's shape and weights, a load rebuilds the network.
WorksheetNetwork& NetworkOf(Worksheet& ws);

// Writes the network's shape (the built one when the worksheet is trained), parameters
// and weights into the worksheet's stored record, as a save needs them.
void ExportNetworkRecord(Worksheet& ws);

// Sets the shape or the training parameters of the worksheet's network and its stored
// record together, so that a save in any state writes what is in force.
void SetNetworkShape(Worksheet& ws, const NetworkShape& shape);
void SetTrainingParameters(Worksheet& ws, const TrainingParameters& parameters);

// The worksheet's vector sets as the engine reads them: every input set, target set 0,
// the full capacity of the arrays readable, and the worksheet's window length.
VectorView VectorViewOf(Worksheet& ws);

} // namespace orvalis
