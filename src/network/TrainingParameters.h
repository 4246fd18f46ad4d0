#pragma once

#include <string>

namespace orvalis {

class UserMessages;

// What steers a training run. The engine reads learningRate, gain, momentum,
// errorRatioGoal and maxCycles where it uses them, so a change made while a run
// dispatches events acts at once; iterationsPerCycle is read once per run.
struct TrainingParameters {
    static constexpr int MinIterations = 1, MaxIterations = 1000;
    static constexpr int MinCycles = 1, MaxCycles = 100000;

    int iterationsPerCycle = 10;  // patterns per cycle = iterationsPerCycle x total rows
    int maxCycles = 2000;         // cycle limit (a run performs at most maxCycles + 2)
    double errorRatioGoal = 1.2;  // stop when test error > ratio x best test error
    double learningRate = 0.05;   // step size of the weight change
    double gain = 1.0;            // steepness of the sigmoid
    double momentum = 0.5;        // share of the previous weight change added

    bool operator==(const TrainingParameters&) const = default;
};

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

// The two entries of the Mode drop-down's list. Only the text "1 Pass" selects 1 Pass;
// these, like any other text, select 2 Pass.
inline constexpr const char* TrainingModeListEntries[] = {"FIX WIN", "WIN/MA"};

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
// precision. Returns true when the dialog closes; on a failed check shows its message
// and returns false.
bool AcceptTrainingParameterFields(TrainingParameterFields& fields,
                                   TrainingParameters& parameters, int& autoTrainingConfigure,
                                   bool& autoVectorSizing, bool& use2PassEstimate,
                                   UserMessages& messages);

} // namespace orvalis
