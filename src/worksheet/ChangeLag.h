#pragma once

namespace orvalis {

struct AppSettings;
class Worksheet;

// "Learn the change": the network learns v[j] - v[j-L] of the target and of every input
// instead of the values, and every estimate is turned back by adding the value L rows
// before. These answer which L a run uses; 0 means the values themselves, as usual.

// The lag the settings ask for on a series whose fitted rows (Training and Testing) are
// y[0 .. fitted-1]: the forecasting options' lag, or for "season" the season the
// forecast check uses (the setting's, or the one found in the fitted rows), 0 when there
// is none.
int ResolveChangeLag(const AppSettings& settings, const double* y, int fitted);

// The lag a run on a trained worksheet uses: the one its network was trained with in
// this session, whatever the settings say now (its weights mean nothing with another).
// A worksheet file does not record the lag, so a network read from a file is taken to
// have been trained with the lag the settings give (ResolveChangeLag).
int TrainedChangeLag(Worksheet& ws, const double* y, int fitted);

// The lag the settings give for the worksheet's target as its cells stand (0 when the
// cells or sections cannot say): what a network read from a file is taken to have been
// trained with.
int SettingsChangeLag(const Worksheet& ws);

} // namespace orvalis
