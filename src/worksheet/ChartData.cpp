#include "worksheet/ChartData.h"

#include "grid/core/CellStore.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/WorksheetLayout.h"

#include <algorithm>

namespace orvalis {

namespace {

// The column's name for a legend or an axis: its comment-row text when the worksheet
// has one, otherwise the column title.
std::string ColumnName(const CellStore& store, const ResultLayout& layout, int col)
{
    if (layout.firstDataRow > kCommentRow) {
        const std::string& comment = store.CellTextRef(kCommentRow, col);
        if (comment.find_first_not_of(" \t") != std::string::npos)
            return comment;
    }
    return "Column " + std::to_string(col);
}

ChartSeriesData ReadSeries(const CellStore& store, const ResultLayout& layout, int col,
                           int begin, int end)
{
    ChartSeriesData series;
    series.column = col;
    series.name = ColumnName(store, layout, col);
    for (int row = begin; row < end; ++row) {
        if (const auto value = ReadDataValue(store, layout, row, col))
            series.points.push_back({row + 1.0, *value});
    }
    return series;
}

Colour SectionColour(const AppSettings& settings, ResultSection section)
{
    switch (section) {
    case ResultSection::Training: return settings.trainColor;
    case ResultSection::Testing: return settings.testColor;
    case ResultSection::Evaluate: return settings.evalColor;
    case ResultSection::Extrapolate: return settings.extrpColor;
    }
    return 0;
}

// The bands around the extrapolated rows whose estimates the last run computed: row
// h of the extension (h from 1) takes the check's h-step offsets.
std::vector<ChartIntervalPoint> ReadIntervals(const CellStore& store, const ResultLayout& layout,
                                              const ForecastCheck& check)
{
    std::vector<ChartIntervalPoint> points;
    if (layout.lastRun != LastRun::Evaluation || layout.valEstColumn <= 0)
        return points;
    const int begin = layout.SectionBegin(ResultSection::Extrapolate);
    const int end = std::min(layout.SectionEnd(ResultSection::Extrapolate), layout.estimateEnd);
    for (int row = std::max(begin, layout.estimateBegin); row < end; ++row) {
        const std::size_t h = static_cast<std::size_t>(row - begin + 1);
        if (h > check.intervals.size())
            break;
        const ForecastInterval& offsets = check.intervals[h - 1];
        const auto estimate = ReadDataValue(store, layout, row, layout.valEstColumn);
        if (!estimate || !offsets.lo80 || !offsets.hi80 || !offsets.lo95 || !offsets.hi95)
            break;
        points.push_back({row + 1.0, *estimate + *offsets.lo80, *estimate + *offsets.hi80,
                          *estimate + *offsets.lo95, *estimate + *offsets.hi95});
    }
    return points;
}

// The dating of the rows by the comment columns left of the first target column, read
// over the data rows up to the last target value before the extrapolated rows (those
// rows' comment cells are not filled in, and the labels continue over them).
std::optional<RowLabels> ReadChartRowLabels(const CellStore& store, const ResultLayout& layout,
                                            const std::vector<ChartSeriesData>& targets)
{
    if (layout.targetColumns.empty())
        return std::nullopt;
    const int extrapolated = layout.SectionBegin(ResultSection::Extrapolate);
    int rows = 0;
    for (const ChartSeriesData& series : targets) {
        for (const ChartPoint& p : series.points) {
            if (extrapolated <= 0 || p.x <= extrapolated)
                rows = std::max(rows, static_cast<int>(p.x));
        }
    }
    std::vector<std::vector<std::string>> columns;
    for (int col = 1; col < layout.targetColumns.front(); ++col) {
        if (RoleFromText(store.CellTextRef(kRoleRow, col)) != ColumnRole::Comment)
            continue;
        std::vector<std::string>& texts = columns.emplace_back();
        for (int row = 0; row < rows; ++row)
            texts.push_back(store.CellTextRef(layout.GridRow(row), col));
    }
    return ReadRowLabels(columns);
}

} // namespace

bool ChartData::HasSeries() const
{
    for (const ChartSeriesData& series : targets) {
        if (!series.points.empty())
            return true;
    }
    return estimates && !estimates->points.empty();
}

const char* SectionName(ResultSection section)
{
    switch (section) {
    case ResultSection::Training: return "Training";
    case ResultSection::Testing: return "Testing";
    case ResultSection::Evaluate: return "Evaluate";
    case ResultSection::Extrapolate: return "Extrapolate";
    }
    return "";
}

ChartData BuildChartData(const CellStore& store, const ResultLayout& layout,
                         const AppSettings& settings, const ForecastCheck* check)
{
    ChartData chart;
    chart.xTitle = "Data row";
    for (int col : layout.targetColumns)
        chart.targets.push_back(ReadSeries(store, layout, col, 0, layout.dataRowCapacity));
    if (!layout.targetColumns.empty())
        chart.yTitle = ColumnName(store, layout, layout.targetColumns.front());
    if (layout.valEstColumn > 0 && layout.estimateEnd > layout.estimateBegin) {
        chart.estimates = ReadSeries(store, layout, layout.valEstColumn, layout.estimateBegin,
                                     layout.estimateEnd);
        chart.estimates->name = "Val:Est";
    }
    chart.rowLabels = ReadChartRowLabels(store, layout, chart.targets);
    if (chart.rowLabels)
        chart.xTitle = chart.rowLabels->Title();
    if (check)
        chart.intervals = ReadIntervals(store, layout, *check);

    // The worksheet colours its rows only while both Training and Testing have rows;
    // the chart shows the sections under the same condition.
    if (layout.numTraining > 0 && layout.numTesting > 0) {
        for (int s = 0; s < kResultSectionCount; ++s) {
            const auto section = static_cast<ResultSection>(s);
            const int begin = layout.SectionBegin(section);
            const int end = layout.SectionEnd(section);
            if (end > begin)
                chart.bands.push_back({section, begin + 0.5, end + 0.5, SectionColour(settings, section)});
        }
        chart.forecastStart = layout.ForecastStart() + 0.5;
    }
    return chart;
}

} // namespace orvalis
