#pragma once

#include "network/TrainingParameters.h"

#include <string>

namespace orvalis {

class UserMessages;

// The texts and switches of the "Configure Training" dialog.
struct TrainingParameterFields {
    std::string iterationsPerCycle; // "Iterations/Cycle:"
    std::string maxCycles;          // "Maximum Cycles:"
    std::string errorRatioGoal;     // "Error Ratio Goal:"
    std::string learningRate;       // "Learning Rate:"
    std::string gain;               // "Unit Gain Term:"
    std::string momentum;           // "Unit Momentum Term:"
    std::string mode;               // "Mode:" (editable drop-down): "2 Pass" or "1 Pass"
    bool autoTrainingConfigure = true; // "Auto Training Configure"
    bool autoVectorSizing = true;      // "Auto Vector Sizing"
};

// The two entries of the Mode drop-down's list, and the only texts OK takes there.
inline constexpr const char* TrainingModeListEntries[] = {"1 Pass", "2 Pass"};

// The message for a Mode text other than the two entries.
inline constexpr const char* TrainingModeRefused = "Error: Training Mode Must Be 1 Pass or 2 Pass";

// The fields on opening: integers "%d", reals "%.2f".
TrainingParameterFields OpenTrainingParameterFields(const TrainingParameters& parameters,
                                                    int autoTrainingConfigure,
                                                    bool autoVectorSizing,
                                                    bool use2PassEstimate);

// The Defaults button: fills the fields (both boxes checked, "2 Pass", the default
// texts); nothing is stored.
void ApplyTrainingDefaultFields(TrainingParameterFields& fields);

// OK pressed: stores the switches, then reads and checks the fields in order, storing
// each value as soon as it passes (nothing is rolled back after a later failure).
// With the automatic box checked the defaults are put into the fields and the dialog
// closes without reading them. Gain, momentum and learning rate are held at single
// precision. The Mode comes last: "1 Pass" or "2 Pass", exactly as the list writes them.
// Returns true when the dialog closes; on a failed check shows its message and returns
// false.
bool AcceptTrainingParameterFields(TrainingParameterFields& fields,
                                   TrainingParameters& parameters, int& autoTrainingConfigure,
                                   bool& autoVectorSizing, bool& use2PassEstimate,
                                   UserMessages& messages);

} // namespace orvalis
