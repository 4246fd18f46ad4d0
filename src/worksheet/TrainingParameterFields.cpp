#include "worksheet/TrainingParameterFields.h"

#include "worksheet/FieldChecks.h"
#include "worksheet/IntegerText.h"
#include "worksheet/NumberText.h"
#include "worksheet/UserMessages.h"

namespace orvalis {

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

    using Read = FieldCheck::Read;
    TrainingParameters& p = parameters;
    const bool passed = RunFieldChecks(
        {
            {fields.errorRatioGoal, Read::Number, 1.1, 2.0, "Error: Training Error Ratio Illegal Value",
             [&p](double v) { p.errorRatioGoal = v; }},
            {fields.gain, Read::Single, 0.5, 2.0, "Error: Network Gain Term Illegal Value",
             [&p](double v) { p.gain = v; }},
            {fields.momentum, Read::Single, 0.1, 0.9, "Error: Network Momentum Term Illegal Value",
             [&p](double v) { p.momentum = v; }},
            {fields.iterationsPerCycle, Read::Integer, TrainingParameters::MinIterations,
             TrainingParameters::MaxIterations, "Error: Training Iterations Illegal Value",
             [&p](double v) { p.iterationsPerCycle = static_cast<int>(v); }},
            {fields.maxCycles, Read::Integer, TrainingParameters::MinCycles,
             TrainingParameters::MaxCycles, "Error: Maximum Training Cycles Illegal Value",
             [&p](double v) { p.maxCycles = static_cast<int>(v); }},
            {fields.learningRate, Read::Single, 0.01, 0.1, "Error: Learning Rate Illegal Value",
             [&p](double v) { p.learningRate = v; }},
        },
        messages);
    if (!passed)
        return false;
    // A text that is neither entry would be a guess at what the user meant.
    if (fields.mode != "1 Pass" && fields.mode != "2 Pass") {
        messages.Error(TrainingModeRefused);
        return false;
    }
    use2PassEstimate = fields.mode == "2 Pass";
    return true;
}

} // namespace orvalis
