#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// What the row axis of a chart shows instead of row numbers when the comment columns
// date the rows: a date, a month or a year for every row label number x (the first
// data row is 1), continued with the rows' step beyond the dated rows, so the
// extrapolated rows get the dates they forecast. The chart's x values stay row
// numbers; only the labels change.
struct RowLabels {
    enum class Kind {
        Day,      // "YYYY-MM-DD", a fixed number of days per row
        MonthDay, // "YYYY-MM-DD" on the same day of the month, whole months per row
        Month,    // "YYYY-MM", whole months per row
        Year,     // "YYYY", one year per row
    };
    Kind kind = Kind::Year;
    // The first row's position in the kind's unit: days since 1970-01-01 for Day,
    // months since January of year 0 for MonthDay and Month, the year for Year.
    long long first = 0;
    long long step = 1; // units per row
    int day = 1;        // the day of the month of MonthDay

    // The axis title: "Date", "Month" or "Year".
    std::string Title() const;
    // The label of row label number x; empty when x is not a whole row or its date is
    // out of the years 1..9999.
    std::string Label(double x) const;
    bool operator==(const RowLabels&) const = default;
};

// Reads the dating of the rows from the texts of the comment columns left of the first
// target column (each column's data rows, in row order, all columns as long): the first
// column that, for every row, holds
// - an ISO date (YYYY-MM-DD or YYYY-MM) stepping by a fixed number of days or months,
// - a four-digit year with the next column's month 1..12 beside it, one month a row, or
// - a four-digit year stepping by one a row.
// None when no column does, or there are fewer than two rows.
std::optional<RowLabels> ReadRowLabels(const std::vector<std::vector<std::string>>& columns);

// The row label numbers within low..high that the axis labels: whole rows at least minRows
// apart on round steps of the labels' unit (years on multiples of 1, 2, 5, 10...; months
// on 1, 2, 3, 6 months or whole years from January; days on 1, 2, 5, 10... rows), at most
// maxTicks of them; none for a range beyond the dated years.
std::vector<double> RowLabelTicks(const RowLabels& labels, double low, double high, double minRows, int maxTicks);

} // namespace orvalis
