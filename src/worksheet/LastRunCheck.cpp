#include "worksheet/LastRunCheck.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/Worksheet.h"

#include <string>

namespace orvalis {

ForecastCheck CheckLastEvaluation(Worksheet& ws)
{
    return RunForecastCheck(ReadLastEvaluationCheck(ws, ws.Settings().extrapolationLen));
}

ForecastCheckInput ReadLastEvaluationCheck(Worksheet& ws, int horizon)
{
    if (ws.state != WorksheetState::Eval) {
        ForecastCheckInput input;
        ForecastCheck& check = input.early;
        check.seasonAutomatic = ws.Settings().seasonLength < 0;
        check.reason = "the worksheet is not evaluated";
        return input;
    }
    if (ws.estimateBegin >= 0 && ReadResultLayout(ws).ForecastStart() != ws.estimateBegin) {
        ForecastCheckInput input;
        ForecastCheck& check = input.early;
        check.seasonAutomatic = ws.Settings().seasonLength < 0;
        check.reason = "the sections have moved since the last run, whose forecast started at "
                       "Data " +
                       std::to_string(ws.estimateBegin + 1);
        return input;
    }
    return ReadForecastCheckInput(ws, horizon);
}

} // namespace orvalis
