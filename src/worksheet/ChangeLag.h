#pragma once

namespace orvalis {

struct AppSettings;
class Worksheet;

// "Learn the change": the network learns v[j] - v[j-L] of the target and of every input
// instead of the values, and every estimate is turned back by adding the value L rows
// before. These answer which L a run uses; 0 means the values themselves, as usual.

// The lag the settings ask for on a series whose fitted rows (Training and Testing) are
// y[0 .. fitted-1], the first `training` of them Training rows: the forecasting options'
// lag, or for "season" the season the forecast check uses (the setting's, or the one
// found in the fitted rows), 0 when there is none; for "auto" that season when
// SeasonalChangeFits, else 0.
int ResolveChangeLag(const AppSettings& settings, const double* y, int fitted, int training);

// Whether learning the change over `season` rows suits y[0 .. fitted-1]: the series trends
// through its seasons (the mean of y[j] - y[j-season] over the Training rows is more than
// half their standard deviation), and a linear autoregression on a window of season + 1
// rows, fitted on the Training rows, forecasts the Testing rows one step ahead with a
// lower absolute error on those changes than on the values. A level series with a season
// (temperatures, counts) keeps its values, which the network bounds well; a growing one
// (sales, passengers) has levels that leave the Training range, which the changes do not.
bool SeasonalChangeFits(const double* y, int fitted, int training, int season);

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
