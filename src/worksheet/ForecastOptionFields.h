#pragma once

#include <optional>
#include <string>

namespace orvalis {

struct ForecastOptions;
class UserMessages;

// The texts and switches of the "Forecasting Options" dialog, top to bottom.
struct ForecastOptionFields {
    bool forecaster = false;         // "Forecaster's settings"
    std::string changeLag;           // "Learn the change:" "Off", "Season" or rows back
    bool tapsByRule = false;         // "Window by rule"
    bool patientTraining = false;    // "Patient training"
    std::string starts;              // "Starts:" trainings from different random starts
    std::string seed;                // "Seed:" random start of the first training
    bool leakFreeEvaluation = false; // "Leak-free evaluation"

    bool operator==(const ForecastOptionFields&) const = default;
};

// Which fields the forecaster's settings decide: while its switch is on these show the
// forecaster's values and cannot be edited; the others stay the user's.
struct ForecasterGoverned {
    bool changeLag = false;
    bool tapsByRule = false;
    bool patientTraining = false;
    bool starts = false;
    bool seed = false;
    bool leakFreeEvaluation = false;
};

// Worked out from EffectiveForecastOptions, so the dialog follows the measured set as it
// changes: an option is governed when the set gives it the same value whatever the user
// chose.
ForecasterGoverned GovernedByForecaster();

// The lag as its field shows it: "Off" (0), "Season" (the worksheet's season) or "%d".
std::string ChangeLagText(int changeLag);
// The lag a field's text gives: "Off", "0" or nothing is off, "Season" in any case the
// season, else a whole number from 1 to ForecastOptions::MaxChangeLag; blanks around it
// allowed. Nothing for any other text.
std::optional<int> ReadChangeLagText(const std::string& text);

// The fields showing the user's own options (the forecaster's switch as stored).
ForecastOptionFields OpenForecastOptionFields(const ForecastOptions& options);

// The fields as the dialog shows them with the forecaster's switch on: own with every
// governed field replaced by the forecaster's value.
ForecastOptionFields ForecasterShownFields(const ForecastOptionFields& own);

// The fields to store: shown, except that while the switch is on the governed fields
// take the user's own texts (kept when the switch went on), so turning the switch off
// later brings back what the user had.
ForecastOptionFields FieldsToStore(const ForecastOptionFields& shown,
                                   const ForecastOptionFields& own);

// OK pressed: checks every field, and only when all pass stores them into options and
// returns true. At the first value out of range shows its message (naming the range) and
// returns false with options unchanged.
bool AcceptForecastOptionFields(const ForecastOptionFields& fields, ForecastOptions& options,
                                UserMessages& messages);

} // namespace orvalis
