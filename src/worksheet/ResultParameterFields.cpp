#include "worksheet/ResultParameterFields.h"

#include "worksheet/AppSettings.h"
#include "worksheet/IntegerText.h"
#include "worksheet/NumberText.h"
#include "worksheet/UserMessages.h"

namespace orvalis {

namespace {

constexpr int MinExtrapolationLen = 2, MaxExtrapolationLen = 20;
constexpr int DefaultExtrapolationLen = 5;
constexpr int UndeterminedPhase = 100;

void ShowWeights(ResultParameterFields& fields, const FigureOfMeritWeights& weights)
{
    fields.trainValueAvgWeight = FormatNumber("%f", weights.trainValueAvgWeight);
    fields.trainValueSdWeight = FormatNumber("%f", weights.trainValueSdWeight);
    fields.estimateValueAvgWeight = FormatNumber("%f", weights.estimateValueAvgWeight);
    fields.estimateValueSdWeight = FormatNumber("%f", weights.estimateValueSdWeight);
}

std::string PhaseText(int phaseOffset)
{
    return IntegerText(phaseOffset == UndeterminedPhase ? 0 : phaseOffset);
}

// Reads a weight field; false (nothing stored) when the value lies outside 0..hi or is
// not a number.
bool ReadWeight(const std::string& text, double hi, float& weight)
{
    const double value = ReadNumberText(text);
    if (!(value >= 0.0 && value <= hi))
        return false;
    weight = static_cast<float>(value);
    return true;
}

} // namespace

ResultParameterFields OpenResultParameterFields(const AppSettings& settings, int phaseOffset,
                                                const FigureOfMeritWeights& weights)
{
    ResultParameterFields fields;
    ShowWeights(fields, weights);
    fields.intervalLength = IntegerText(settings.extrapolationLen);
    fields.phaseOffset = PhaseText(phaseOffset);
    fields.commentHeaderRow = settings.useCommentLine;
    return fields;
}

void ApplyResultDefaults(ResultParameterFields& fields, AppSettings& settings, int phaseOffset,
                         FigureOfMeritWeights& weights)
{
    fields.phaseOffset = PhaseText(phaseOffset);
    settings.extrapolationLen = DefaultExtrapolationLen;
    settings.extrapolationRows = 0;
    fields.intervalLength = IntegerText(DefaultExtrapolationLen);
    weights = FigureOfMeritWeights{};
    ShowWeights(fields, weights);
}

bool AcceptResultParameterFields(const ResultParameterFields& fields, AppSettings& settings,
                                 FigureOfMeritWeights& weights, UserMessages& messages)
{
    // Open worksheets keep their layout; the comment row appears in worksheets built
    // after the change.
    if (fields.commentHeaderRow != settings.useCommentLine) {
        messages.Information("Info: Need to close documents to enable display changes");
        settings.useCommentLine = fields.commentHeaderRow;
    }

    const int length = ReadIntegerText(fields.intervalLength);
    if (length < MinExtrapolationLen || length > MaxExtrapolationLen) {
        messages.Error("Error: Maximum Extrapolation Length Exceeded");
        return false;
    }
    settings.extrapolationLen = length;

    if (!ReadWeight(fields.estimateValueAvgWeight, 1.0, weights.estimateValueAvgWeight)) {
        messages.Error("Error: Estimate Value Average Coefficent Out of Range");
        return false;
    }
    if (!ReadWeight(fields.estimateValueSdWeight, 1.0, weights.estimateValueSdWeight)) {
        messages.Error("Error: Estimate Std Dev Coefficent Out of Range");
        return false;
    }
    if (!ReadWeight(fields.trainValueAvgWeight, 1.0, weights.trainValueAvgWeight)) {
        messages.Error("Error: Training Value Average Coefficent Out of Range");
        return false;
    }
    if (!ReadWeight(fields.trainValueSdWeight, 10.0, weights.trainValueSdWeight)) {
        messages.Error("Error: Training Value Std Dev Coefficent Out of Range");
        return false;
    }
    return true;
}

} // namespace orvalis
