#pragma once

#include "worksheet/ForecastCheck.h"

namespace orvalis {

// The forecast check of a worksheet's last evaluation, as every view shows it (the
// Results panel, the Estimate Operation window, the chart's interval bands and the batch
// report): computed over the worksheet's sections with its network, the intervals up to
// the extrapolation length. Not available, with a reason, when the worksheet is not
// evaluated, or when its sections no longer start the Evaluate rows where the run
// started them (a file opened with automatic sizing in the other results mode): the
// network was trained on those rows, and a check over them would flatter it.
ForecastCheck CheckLastEvaluation(Worksheet& ws);

// The same check read from the worksheet with intervals up to `horizon`, to be computed
// with RunForecastCheck (at once, or elsewhere after ForecastCheckInput::Detach).
ForecastCheckInput ReadLastEvaluationCheck(Worksheet& ws, int horizon);

} // namespace orvalis
