#include "worksheet/ResultParameterFields.h"

#include "worksheet/AppSettings.h"
#include "worksheet/FieldChecks.h"
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

} // namespace

std::string SeasonLengthText(int seasonLength)
{
    if (seasonLength < 0)
        return "Auto";
    return seasonLength == 0 ? "None" : IntegerText(seasonLength);
}

std::optional<int> ReadSeasonLengthText(const std::string& text)
{
    // A cleared field asks for no particular season: automatic.
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return -1;
    const auto last = text.find_last_not_of(" \t");
    std::string word = text.substr(first, last - first + 1);
    for (char& c : word)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (word == "auto")
        return -1;
    if (word == "none")
        return 0;
    if (word.size() > 4 || word.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(word);
    if (value == -1 || !IsSeasonLength(value))
        return std::nullopt;
    return value;
}

ResultParameterFields OpenResultParameterFields(const AppSettings& settings, int phaseOffset,
                                                const FigureOfMeritWeights& weights)
{
    ResultParameterFields fields;
    ShowWeights(fields, weights);
    fields.intervalLength = IntegerText(settings.extrapolationLen);
    fields.phaseOffset = PhaseText(phaseOffset);
    fields.commentHeaderRow = settings.useCommentLine;
    fields.seasonLength = SeasonLengthText(settings.seasonLength);
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
    settings.seasonLength = -1;
    fields.seasonLength = SeasonLengthText(settings.seasonLength);
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

    using Read = FieldCheck::Read;
    FigureOfMeritWeights& w = weights;
    const bool checked = RunFieldChecks(
        {
            {fields.intervalLength, Read::Integer, MinExtrapolationLen, MaxExtrapolationLen,
             "Error: Maximum Extrapolation Length Exceeded",
             [&settings](double v) { settings.extrapolationLen = static_cast<int>(v); }},
            {fields.estimateValueAvgWeight, Read::Number, 0.0, 1.0,
             "Error: Estimate Value Average Coefficent Out of Range",
             [&w](double v) { w.estimateValueAvgWeight = static_cast<float>(v); }},
            {fields.estimateValueSdWeight, Read::Number, 0.0, 1.0,
             "Error: Estimate Std Dev Coefficent Out of Range",
             [&w](double v) { w.estimateValueSdWeight = static_cast<float>(v); }},
            {fields.trainValueAvgWeight, Read::Number, 0.0, 1.0,
             "Error: Training Value Average Coefficent Out of Range",
             [&w](double v) { w.trainValueAvgWeight = static_cast<float>(v); }},
            {fields.trainValueSdWeight, Read::Number, 0.0, 10.0,
             "Error: Training Value Std Dev Coefficent Out of Range",
             [&w](double v) { w.trainValueSdWeight = static_cast<float>(v); }},
        },
        messages);
    if (!checked)
        return false;
    const std::optional<int> season = ReadSeasonLengthText(fields.seasonLength);
    if (!season) {
        messages.Error("Error: Season Length Must Be Auto, None or 2 to " +
                       std::to_string(kMaxSeasonLength));
        return false;
    }
    settings.seasonLength = *season;
    return true;
}

} // namespace orvalis
