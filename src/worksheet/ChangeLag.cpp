#include "worksheet/ChangeLag.h"

#include "worksheet/AppSettings.h"
#include "worksheet/CheckSeries.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/LinearBaseline.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

bool SeasonalChangeFits(const double* y, int fitted, int training, int season)
{
    // Both fits need rows beyond their window, and the comparison needs Testing rows.
    const int taps = season + 1;
    if (season < 2 || training >= fitted || training - season <= 2 * taps)
        return false;
    std::vector<double> change(static_cast<std::size_t>(fitted), 0.0);
    for (int j = season; j < fitted; ++j)
        change[static_cast<std::size_t>(j)] = y[j] - y[j - season];
    const double* d = change.data() + season; // d[i] is the change into row i + season

    long double sum = 0.0L;
    for (int i = 0; i < training - season; ++i)
        sum += d[i];
    const double mean = static_cast<double>(sum / (training - season));
    long double squares = 0.0L;
    for (int i = 0; i < training - season; ++i)
        squares += (d[i] - mean) * (d[i] - mean);
    const double spread = std::sqrt(static_cast<double>(squares / (training - season)));
    if (!(std::fabs(mean) > 0.5 * spread))
        return false;

    LinearBaseline levels;
    LinearBaseline changes;
    if (!levels.Fit(y, training, taps) || !changes.Fit(d, training - season, taps))
        return false;
    double levelError = 0.0;
    double changeError = 0.0;
    for (int row = training; row < fitted; ++row) {
        levelError += std::fabs(*levels.Forecast(y, row) - y[row]);
        changeError += std::fabs(*changes.Forecast(d, row - season) + y[row - season] - y[row]);
    }
    return changeError < levelError;
}

int ResolveChangeLag(const AppSettings& settings, const double* y, int fitted, int training)
{
    const ForecastOptions options = EffectiveForecastOptions(settings.forecast);
    if (options.changeLag != ForecastOptions::ChangeLagSeason &&
        options.changeLag != ForecastOptions::ChangeLagAuto)
        return options.changeLag > 0 ? options.changeLag : 0;
    // The forecast check's season: the setting's, or the one the fitted rows suggest;
    // a season needs a whole season of fitted rows before it.
    const int found = settings.seasonLength >= 0 ? settings.seasonLength : DetectSeason(y, fitted);
    const int season = found >= 2 && found < fitted ? found : 0;
    if (options.changeLag == ForecastOptions::ChangeLagAuto)
        return season > 0 && SeasonalChangeFits(y, fitted, training, season) ? season : 0;
    return season;
}

int TrainedChangeLag(Worksheet& ws, const double* y, int fitted)
{
    const int trained = ws.Network().changeLag;
    return trained >= 0 ? trained : ResolveChangeLag(ws.Settings(), y, fitted, ws.counts.numTraining);
}

int SettingsChangeLag(const Worksheet& ws)
{
    const ForecastOptions options = EffectiveForecastOptions(ws.Settings().forecast);
    if (options.changeLag != ForecastOptions::ChangeLagSeason &&
        options.changeLag != ForecastOptions::ChangeLagAuto)
        return options.changeLag > 0 ? options.changeLag : 0;
    const SectionCounts& c = ws.counts;
    const std::int64_t fitted = static_cast<std::int64_t>(c.numTraining) + c.numTesting;
    if (c.numTraining <= 0 || c.numTesting <= 0 || fitted > ws.Store().GetRowCount() - ws.firstDataRow)
        return 0;
    CheckSeries series;
    series.taps = 1;
    series.fitted = static_cast<int>(fitted);
    std::string reason;
    const CheckColumns columns = CheckColumnsOf(ws);
    if (columns.target == 0 || !ReadCheckSeries(ws, columns, series.fitted, series, reason))
        return 0;
    return ResolveChangeLag(ws.Settings(), series.target.data(), series.fitted, c.numTraining);
}

} // namespace orvalis
