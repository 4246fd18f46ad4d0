#include "worksheet/ChangeLag.h"

#include "worksheet/AppSettings.h"
#include "worksheet/CheckSeries.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <cstdint>
#include <string>

namespace orvalis {

int ResolveChangeLag(const AppSettings& settings, const double* y, int fitted)
{
    const ForecastOptions options = EffectiveForecastOptions(settings.forecast);
    if (options.changeLag != ForecastOptions::ChangeLagSeason)
        return options.changeLag > 0 ? options.changeLag : 0;
    // The forecast check's season: the setting's, or the one the fitted rows suggest;
    // a season needs a whole season of fitted rows before it.
    const int season = settings.seasonLength >= 0 ? settings.seasonLength : DetectSeason(y, fitted);
    return season >= 2 && season < fitted ? season : 0;
}

int TrainedChangeLag(Worksheet& ws, const double* y, int fitted)
{
    const int trained = ws.Network().changeLag;
    return trained >= 0 ? trained : ResolveChangeLag(ws.Settings(), y, fitted);
}

int SettingsChangeLag(const Worksheet& ws)
{
    const ForecastOptions options = EffectiveForecastOptions(ws.Settings().forecast);
    if (options.changeLag != ForecastOptions::ChangeLagSeason)
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
    return ResolveChangeLag(ws.Settings(), series.target.data(), series.fitted);
}

} // namespace orvalis
