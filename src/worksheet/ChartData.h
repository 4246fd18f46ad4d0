#pragma once

#include "worksheet/AppSettings.h"
#include "worksheet/ChartRowLabels.h"
#include "worksheet/ResultLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// A point of a worksheet chart: x is the row's label number ("Data 1" is 1), y the
// value the cell holds.
struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const ChartPoint&) const = default;
};

struct ChartSeriesData {
    std::string name;
    int column = 0;  // grid column the values come from
    std::vector<ChartPoint> points;
    bool operator==(const ChartSeriesData&) const = default;
};

// A section's background band, in the same x units as the points: a row's band runs
// half a row either side of its label number.
struct ChartBand {
    ResultSection section = ResultSection::Training;
    double from = 0.0;
    double to = 0.0;
    Colour colour = 0;  // red in bits 0-7, green 8-15, blue 16-23
    bool operator==(const ChartBand&) const = default;
};

// The prediction intervals of one extrapolated row: its estimate widened by the h-step
// offsets of the forecast check, h counted from the first extrapolated row.
struct ChartIntervalPoint {
    double x = 0.0;
    double lo80 = 0.0;
    double hi80 = 0.0;
    double lo95 = 0.0;
    double hi95 = 0.0;
    bool operator==(const ChartIntervalPoint&) const = default;
};

// Everything a chart of one worksheet shows, read from its cells: one series per target
// column over the data rows that hold numbers, the "Val:Est" estimates over the rows the
// last run computed, the section bands in the worksheet's colours and the row where the
// forecast starts. Plain values, so the window and the batch tool draw the same chart
// and a redraw can be skipped when nothing it shows has changed.
struct ChartData {
    std::vector<ChartSeriesData> targets;
    std::optional<ChartSeriesData> estimates;
    std::vector<ChartBand> bands;
    std::optional<double> forecastStart;  // x of the marker
    // The 80 % and 95 % intervals around the extrapolated estimates, in row order; empty
    // unless the last run extrapolated and the check has offsets for its first rows.
    std::vector<ChartIntervalPoint> intervals;
    // The dates, months or years the row axis shows for its rows when the comment
    // columns date them; none for row numbers.
    std::optional<RowLabels> rowLabels;
    std::string xTitle;
    std::string yTitle;

    bool HasSeries() const;
    bool operator==(const ChartData&) const = default;
};

// Section names as the chart's legend and the results show them.
const char* SectionName(ResultSection section);

struct ForecastCheck;

// Reads the chart of the worksheet whose cells the layout describes; the band colours
// are the settings' section colours. With the worksheet's forecast check, the
// extrapolated rows of the last run get their interval bands (up to the first h the
// check has no offsets for).
ChartData BuildChartData(const CellStore& store, const ResultLayout& layout,
                         const AppSettings& settings, const ForecastCheck* check = nullptr);

} // namespace orvalis
