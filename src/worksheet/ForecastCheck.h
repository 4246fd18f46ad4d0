#pragma once

#include "network/BackpropNet.h"
#include "worksheet/CheckSeries.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvalis {

class Worksheet;

// The errors of one forecasting method over the rows of a forecast check, in target
// units; MASE scales the MAE by the in-sample error of the naive forecast (or of the
// seasonal naive one when the worksheet has a season) over the Training and Testing rows.
// A figure without a value (no rows, a zero in-sample scale) is empty.
struct ForecastErrors {
    std::optional<double> mae;
    std::optional<double> rmse;
    std::optional<double> mase;
};

// One Evaluate row of the check: the network's estimate from the values before the row
// only, with the one-step 80 % and 95 % interval around it.
struct ForecastCheckRow {
    int gridRow = 0;     // the worksheet row the estimate is for
    double actual = 0.0; // the row's target value
    double estimate = 0.0;
    std::optional<double> lo80, hi80, lo95, hi95;
};

// The offsets an h-step estimate is widened by for its 80 % and 95 % intervals: the
// empirical 10/90 % and 2.5/97.5 % quantiles of the network's own h-step errors from the
// origins in the Testing rows. Empty when fewer than 5 errors were seen for this h.
struct ForecastInterval {
    int h = 1;
    std::optional<double> lo80, hi80, lo95, hi95;
};

// An honest check of a trained worksheet's forecasts: every Evaluate row estimated from
// the values before it alone (no moving average that holds the row, no window that ends
// on it, scaling by the Training and Testing rows only), beside the forecasts a
// forecaster compares with (repeating the last value, the value one season back, and a
// linear autoregression on the same window fitted on the Training and Testing rows).
// Computed from the worksheet's cells and network; never written into a cell or a file.
struct ForecastCheck {
    bool available = false; // false: no check possible; `reason` says why
    std::string reason;
    int n = 0;                   // Evaluate rows checked
    int season = 0;              // season used, 0 for none
    bool seasonAutomatic = true; // the season was found from the data
    // Evaluate forms Val:Est and the figures from the check's estimates (leak-free
    // evaluation), so they hold no value they estimate.
    bool figuresLeakFree = false;
    ForecastErrors network;           // the network's one-step estimates
    ForecastErrors naive;             // y[r-1]
    ForecastErrors seasonalNaive;     // y[r-season]; empty without a season
    ForecastErrors linear;            // least squares on the same window
    std::optional<double> vsNaive;    // 1 - network MAE / naive MAE
    std::optional<double> coverage80; // share of Evaluate rows inside their interval, 0..1
    std::optional<double> coverage95;
    std::vector<ForecastCheckRow> rows;
    std::vector<ForecastInterval> intervals; // h = 1 .. the extrapolation length
};

// Computes the check of a Trained or Eval worksheet over its current cells and network.
// `horizon` is the longest h the intervals are computed for (the extrapolation length;
// at least 1 is computed, for the coverage, and at most 100). A worksheet in state Init,
// without Evaluate rows, or whose cells do not read as numbers gives a check that is not
// available, with a reason a user can read (lower case, no full stop: "the network is
// not trained"). Without Evaluate rows (Data Extrapolate) the intervals are still filled
// when the rest allows, for the bands around the extrapolated rows.
// Reads the columns of the worksheet's last role scan (or, on a worksheet opened without
// one, the role row read the way the scan reads it); changes nothing in the worksheet
// (it may build the worksheet's network from its stored record, as Evaluate would).
ForecastCheck ComputeForecastCheck(Worksheet& ws, int horizon);

// What a check reads from a worksheet, taken at one moment. The rest of the check is a
// pure function of it, so a window can read on its own thread (cells and network are
// its) and compute on another while the user goes on.
struct ForecastCheckInput {
    ForecastCheck early;   // the check as it stands when it stops before any arithmetic
    bool readable = false; // the series and the network were read: RunForecastCheck computes
    CheckSeries series;
    int seasonSetting = -1; // the SeasonLength setting
    int firstOrigin = 0;    // the first Testing row, the first origin of the intervals
    int firstDataRow = 0;
    int horizon = 1;
    // The worksheet's network, or a copy of it owned here (Detach) for a check that
    // outlives the moment it was read.
    const CBackpropNet* net = nullptr;
    std::shared_ptr<const CBackpropNet> ownNet;

    // Takes a copy of the network, so the input no longer refers to the worksheet.
    void Detach();
};
ForecastCheckInput ReadForecastCheckInput(Worksheet& ws, int horizon);
ForecastCheck RunForecastCheck(const ForecastCheckInput& input);

// The verdict in one sentence, for the Results panel, the Estimate Operation window and
// the report. `good` tells whether the network beat repeating the last value.
struct ForecastVerdict {
    std::string text;
    bool good = false;
};
ForecastVerdict MakeForecastVerdict(const ForecastCheck& check);

// The season length the data suggests: the lag from 2 to a third of `count` with the
// highest autocorrelation of the first differences of y[0..count-1], when that
// autocorrelation is clearly positive (above 0.3 and above 3.5 / sqrt(count - 1)); a
// divisor of that lag whose autocorrelation is at least 0.9 of it is taken instead (a
// season's multiples correlate nearly as well as the season). Failing that, the lag up to
// 24 where the autocorrelation of the levels about their straight line peaks again above
// the same bar (a season whose peak moves from year to year). 0 otherwise.
int DetectSeason(const double* y, int count);

} // namespace orvalis
