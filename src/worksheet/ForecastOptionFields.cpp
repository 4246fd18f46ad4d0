#include "worksheet/ForecastOptionFields.h"

#include "worksheet/AppSettings.h"
#include "worksheet/IntegerText.h"
#include "worksheet/UserMessages.h"

#include <cstdint>
#include <limits>

namespace orvalis {

namespace {

constexpr std::uint64_t MaxSeed = std::numeric_limits<std::uint32_t>::max();

// The text without the blanks around it.
std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Lower(std::string word)
{
    for (char& c : word)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return word;
}

// A whole number from lo to hi written in digits only (blanks around it allowed), or
// nothing. Unlike the older dialogs' fields, "12ab" or "-3" is not read as some number:
// a typing slip is refused rather than stored as another value.
std::optional<std::uint64_t> ReadWholeNumber(const std::string& text, std::uint64_t lo,
                                             std::uint64_t hi)
{
    const std::string word = Trimmed(text);
    // Twenty digits could overflow; every range here is far below ten digits' worth.
    if (word.empty() || word.size() > 10 || word.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const std::uint64_t value = std::stoull(word);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::string SeedText(std::uint32_t seed)
{
    return std::to_string(seed);
}

// fields with every field the forecaster's settings decide taken from source.
ForecastOptionFields WithGovernedFrom(ForecastOptionFields fields,
                                      const ForecastOptionFields& source)
{
    const ForecasterGoverned governed = GovernedByForecaster();
    if (governed.changeLag)
        fields.changeLag = source.changeLag;
    if (governed.tapsByRule)
        fields.tapsByRule = source.tapsByRule;
    if (governed.patientTraining)
        fields.patientTraining = source.patientTraining;
    if (governed.starts)
        fields.starts = source.starts;
    if (governed.seed)
        fields.seed = source.seed;
    if (governed.leakFreeEvaluation)
        fields.leakFreeEvaluation = source.leakFreeEvaluation;
    return fields;
}

} // namespace

ForecasterGoverned GovernedByForecaster()
{
    // Two choices that differ in every option: what the forecaster's set gives the same
    // for both, it decides itself.
    ForecastOptions a;
    a.forecaster = true;
    ForecastOptions b = a;
    b.changeLag = a.changeLag + 2;
    b.tapsByRule = !a.tapsByRule;
    b.patientTraining = !a.patientTraining;
    b.starts = a.starts + 1;
    b.seed = a.seed + 1;
    b.leakFreeEvaluation = !a.leakFreeEvaluation;
    const ForecastOptions ea = EffectiveForecastOptions(a);
    const ForecastOptions eb = EffectiveForecastOptions(b);
    ForecasterGoverned governed;
    governed.changeLag = ea.changeLag == eb.changeLag;
    governed.tapsByRule = ea.tapsByRule == eb.tapsByRule;
    governed.patientTraining = ea.patientTraining == eb.patientTraining;
    governed.starts = ea.starts == eb.starts;
    governed.seed = ea.seed == eb.seed;
    governed.leakFreeEvaluation = ea.leakFreeEvaluation == eb.leakFreeEvaluation;
    return governed;
}

std::string ChangeLagText(int changeLag)
{
    if (changeLag == ForecastOptions::ChangeLagSeason)
        return "Season";
    return changeLag == 0 ? "Off" : IntegerText(changeLag);
}

std::optional<int> ReadChangeLagText(const std::string& text)
{
    const std::string word = Lower(Trimmed(text));
    if (word.empty() || word == "off" || word == "0")
        return 0;
    if (word == "season")
        return ForecastOptions::ChangeLagSeason;
    const auto lag = ReadWholeNumber(word, 1, ForecastOptions::MaxChangeLag);
    if (!lag)
        return std::nullopt;
    return static_cast<int>(*lag);
}

ForecastOptionFields OpenForecastOptionFields(const ForecastOptions& options)
{
    ForecastOptionFields fields;
    fields.forecaster = options.forecaster;
    fields.changeLag = ChangeLagText(options.changeLag);
    fields.tapsByRule = options.tapsByRule;
    fields.patientTraining = options.patientTraining;
    fields.starts = IntegerText(options.starts);
    fields.seed = SeedText(options.seed);
    fields.leakFreeEvaluation = options.leakFreeEvaluation;
    return fields;
}

ForecastOptionFields ForecasterShownFields(const ForecastOptionFields& own)
{
    ForecastOptions on;
    on.forecaster = true;
    ForecastOptionFields shown = WithGovernedFrom(own, OpenForecastOptionFields(EffectiveForecastOptions(on)));
    shown.forecaster = true;
    return shown;
}

ForecastOptionFields FieldsToStore(const ForecastOptionFields& shown,
                                   const ForecastOptionFields& own)
{
    if (!shown.forecaster)
        return shown;
    return WithGovernedFrom(shown, own);
}

bool AcceptForecastOptionFields(const ForecastOptionFields& fields, ForecastOptions& options,
                                UserMessages& messages)
{
    const std::optional<int> lag = ReadChangeLagText(fields.changeLag);
    if (!lag) {
        messages.Error("Error: Learn the Change Must Be Off, Season or 1 to " +
                       std::to_string(ForecastOptions::MaxChangeLag));
        return false;
    }
    const auto starts = ReadWholeNumber(fields.starts, 1, ForecastOptions::MaxStarts);
    if (!starts) {
        messages.Error("Error: Starts Must Be 1 to " + std::to_string(ForecastOptions::MaxStarts));
        return false;
    }
    const auto seed = ReadWholeNumber(fields.seed, 0, MaxSeed);
    if (!seed) {
        messages.Error("Error: Seed Must Be 0 to " + std::to_string(MaxSeed));
        return false;
    }
    options.forecaster = fields.forecaster;
    options.changeLag = *lag;
    options.tapsByRule = fields.tapsByRule;
    options.patientTraining = fields.patientTraining;
    options.starts = static_cast<int>(*starts);
    options.seed = static_cast<std::uint32_t>(*seed);
    options.leakFreeEvaluation = fields.leakFreeEvaluation;
    return true;
}

} // namespace orvalis
