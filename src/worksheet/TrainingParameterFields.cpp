#include "worksheet/TrainingParameterFields.h"

#include "worksheet/IntegerText.h"
#include "worksheet/NumberText.h"
#include "worksheet/UserMessages.h"

#include <cfloat>
#include <cmath>

namespace orvalis {

namespace {

// The value held at the precision of a 32-bit float and widened back. Values beyond
// the float range (and NaN) are returned as they are: they fail every upper bound.
double RoundToSingle(double value)
{
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX)))
        return value;
    return static_cast<double>(static_cast<float>(value));
}

// Lower bound on the typed value, upper bound on its single-precision value, so a rate
// typed as 0.1 (0.10000000149011612 in single precision) is refused. A text that reads
// as NaN fails both.
bool SingleInRange(double typed, double lo, double hi, double& stored)
{
    if (!(typed >= lo))
        return false;
    stored = RoundToSingle(typed);
    return stored <= hi;
}

} // namespace

TrainingParameterFields OpenTrainingParameterFields(const TrainingParameters& parameters,
                                                    int autoTrainingConfigure,
                                                    bool autoVectorSizing,
                                                    bool use2PassEstimate)
{
    TrainingParameterFields fields;
    fields.iterationsPerCycle = IntegerText(parameters.iterationsPerCycle);
    fields.maxCycles = IntegerText(parameters.maxCycles);
    fields.errorRatioGoal = FormatNumber("%.2f", parameters.errorRatioGoal);
    fields.learningRate = FormatNumber("%.2f", parameters.learningRate);
    fields.gain = FormatNumber("%.2f", parameters.gain);
    fields.momentum = FormatNumber("%.2f", parameters.momentum);
    fields.mode = use2PassEstimate ? "2 Pass" : "1 Pass";
    fields.autoTrainingConfigure = autoTrainingConfigure != 0;
    fields.autoVectorSizing = autoVectorSizing;
    return fields;
}

void ApplyTrainingDefaultFields(TrainingParameterFields& fields)
{
    fields.autoTrainingConfigure = true;
    fields.autoVectorSizing = true;
    fields.mode = "2 Pass";
    fields.errorRatioGoal = "1.20";
    fields.gain = "1.00";
    fields.momentum = "0.50";
    fields.iterationsPerCycle = "10";
    fields.maxCycles = "2000";
    fields.learningRate = "0.05";
}

bool AcceptTrainingParameterFields(TrainingParameterFields& fields,
                                   TrainingParameters& parameters, int& autoTrainingConfigure,
                                   bool& autoVectorSizing, bool& use2PassEstimate,
                                   UserMessages& messages)
{
    autoVectorSizing = fields.autoVectorSizing;
    autoTrainingConfigure = fields.autoTrainingConfigure ? 1 : 0;
    if (autoTrainingConfigure == 1) {
        // The defaults reach the parameters at the next Train.
        ApplyTrainingDefaultFields(fields);
        return true;
    }

    const double ratio = ReadNumberText(fields.errorRatioGoal);
    if (!(ratio >= 1.1 && ratio <= 2.0)) {
        messages.Error("Error: Training Error Ratio Illegal Value");
        return false;
    }
    parameters.errorRatioGoal = ratio;

    double stored = 0.0;
    if (!SingleInRange(ReadNumberText(fields.gain), 0.5, 2.0, stored)) {
        messages.Error("Error: Network Gain Term Illegal Value");
        return false;
    }
    parameters.gain = stored;

    if (!SingleInRange(ReadNumberText(fields.momentum), 0.1, 0.9, stored)) {
        messages.Error("Error: Network Momentum Term Illegal Value");
        return false;
    }
    parameters.momentum = stored;

    const int iterations = ReadIntegerText(fields.iterationsPerCycle);
    if (iterations < TrainingParameters::MinIterations ||
        iterations > TrainingParameters::MaxIterations) {
        messages.Error("Error: Training Iterations Illegal Value");
        return false;
    }
    parameters.iterationsPerCycle = iterations;

    const int cycles = ReadIntegerText(fields.maxCycles);
    if (cycles < TrainingParameters::MinCycles || cycles > TrainingParameters::MaxCycles) {
        messages.Error("Error: Maximum Training Cycles Illegal Value");
        return false;
    }
    parameters.maxCycles = cycles;

    if (!SingleInRange(ReadNumberText(fields.learningRate), 0.01, 0.1, stored)) {
        messages.Error("Error: Learning Rate Illegal Value");
        return false;
    }
    parameters.learningRate = stored;

    use2PassEstimate = fields.mode != "1 Pass";
    return true;
}

} // namespace orvalis
