#pragma once

#include "network/ResultParameters.h"

#include <optional>
#include <string>

namespace orvalis {

struct AppSettings;
class UserMessages;

// The texts of the "Configure Results" dialog. Only the interval length and the comment
// box are editable; OK still reads and checks every field.
struct ResultParameterFields {
    std::string trainValueAvgWeight;    // "Val Avg Weight:" (Training Figure Of Merit)
    std::string trainValueSdWeight;     // "Val Std Dev Weight:" (Training Figure Of Merit)
    std::string estimateValueAvgWeight; // "Val Avg Weight:" (Estimate Figure Of Merit)
    std::string estimateValueSdWeight;  // "Val Std Dev Weight:" (Estimate Figure Of Merit)
    std::string intervalLength;         // "Interval Length:" (Extrapolation Parameters)
    std::string phaseOffset;            // "Phase Offset:" (Extrapolation Parameters)
    bool commentHeaderRow = true;       // "Comment Header Row" (Display)
    std::string seasonLength;           // "Season Length:" (Forecast Check): "Auto",
                                        // "None" or the rows of a season
};

// The season length as its field shows it: "Auto" (-1), "None" (0) or "%d".
std::string SeasonLengthText(int seasonLength);
// The season length a field's text gives: "Auto" (or nothing) or "None" in any case, 0,
// or a whole number from 2 to kMaxSeasonLength, blanks around it allowed; nothing
// otherwise.
std::optional<int> ReadSeasonLengthText(const std::string& text);

// The fields on opening: weights "%f", the interval length "%d", the phase offset
// "%d" with the undetermined 100 shown as "0".
ResultParameterFields OpenResultParameterFields(const AppSettings& settings, int phaseOffset,
                                                const FigureOfMeritWeights& weights);

// The Defaults button, which stores at once: ExtrapolationLen 5, ExtrapolationRows 0,
// the four weights reset, the season length automatic; the fields show the new values and the phase offset again.
void ApplyResultDefaults(ResultParameterFields& fields, AppSettings& settings, int phaseOffset,
                         FigureOfMeritWeights& weights);

// OK pressed: the comment-row switch (with its information message when it changes),
// then the interval length, the four weights and the season length in order, each
// stored as soon as it passes. ExtrapolationRows is left alone: a new length acts from the next results-mode
// switch or start. Returns true when the dialog closes; on a failed check shows its
// message and returns false.
bool AcceptResultParameterFields(const ResultParameterFields& fields, AppSettings& settings,
                                 FigureOfMeritWeights& weights, UserMessages& messages);

} // namespace orvalis
