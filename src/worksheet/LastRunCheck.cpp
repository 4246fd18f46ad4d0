#include "worksheet/LastRunCheck.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/Worksheet.h"

#include <string>

namespace orvalis {

ForecastCheck CheckLastEvaluation(Worksheet& ws)
{
    if (ws.state != WorksheetState::Eval) {
        ForecastCheck check;
        check.seasonAutomatic = ws.Settings().seasonLength < 0;
        check.reason = "the worksheet is not evaluated";
        return check;
    }
    if (ws.estimateBegin >= 0 && ReadResultLayout(ws).ForecastStart() != ws.estimateBegin) {
        ForecastCheck check;
        check.seasonAutomatic = ws.Settings().seasonLength < 0;
        check.reason = "the sections have moved since the last run, whose forecast started at "
                       "Data " +
                       std::to_string(ws.estimateBegin + 1);
        return check;
    }
    return ComputeForecastCheck(ws, ws.Settings().extrapolationLen);
}

} // namespace orvalis
