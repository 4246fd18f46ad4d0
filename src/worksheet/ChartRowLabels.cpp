#include "worksheet/ChartRowLabels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvalis {

namespace {

// Rows further than this from the first are past any date the labels show, and their
// products with a step stay far inside long long.
constexpr double kFarthestRow = 1e9;

struct Date {
    long long year = 0;
    int month = 1;
    int day = 1;
};

long long FloorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

long long FloorMod(long long a, long long b)
{
    return a - FloorDiv(a, b) * b;
}

bool IsLeap(long long y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(long long year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
long long DaysFromDate(const Date& date)
{
    const long long y = date.year - (date.month <= 2 ? 1 : 0);
    const long long era = FloorDiv(y, 400);
    const long long yoe = y - era * 400;
    const long long mp = date.month > 2 ? date.month - 3 : date.month + 9;
    const long long doy = (153 * mp + 2) / 5 + date.day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date DateFromDays(long long days)
{
    days += 719468;
    const long long era = FloorDiv(days, 146097);
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    Date date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = yoe + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The number written by exactly `digits` decimal digits (1 or 2 for a month: -1 for
// "either"), or -1.
long long Digits(const std::string& text, std::size_t digits)
{
    if (text.empty() || text.size() > 4 || (digits > 0 && text.size() != digits))
        return -1;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<long long> Year(const std::string& text)
{
    const long long year = Digits(Trimmed(text), 4);
    if (year < 1)
        return std::nullopt;
    return year;
}

std::optional<int> Month(const std::string& text)
{
    const std::string trimmed = Trimmed(text);
    if (trimmed.size() > 2)
        return std::nullopt;
    const long long month = Digits(trimmed, 0);
    if (month < 1 || month > 12)
        return std::nullopt;
    return static_cast<int>(month);
}

// "YYYY-MM-DD" or, with withDay false, "YYYY-MM".
std::optional<Date> IsoDate(const std::string& text, bool withDay)
{
    const std::string t = Trimmed(text);
    if (t.size() != (withDay ? 10u : 7u) || t[4] != '-' || (withDay && t[7] != '-'))
        return std::nullopt;
    const auto year = Year(t.substr(0, 4));
    const long long month = Digits(t.substr(5, 2), 2);
    if (!year || month < 1 || month > 12)
        return std::nullopt;
    Date date{*year, static_cast<int>(month), 1};
    if (withDay) {
        const long long day = Digits(t.substr(8, 2), 2);
        if (day < 1 || day > DaysInMonth(date.year, date.month))
            return std::nullopt;
        date.day = static_cast<int>(day);
    }
    return date;
}

// The step between consecutive positions when it is the same positive one throughout.
std::optional<long long> RegularStep(const std::vector<long long>& positions)
{
    if (positions.size() < 2)
        return std::nullopt;
    const long long step = positions[1] - positions[0];
    if (step <= 0)
        return std::nullopt;
    for (std::size_t i = 2; i < positions.size(); ++i) {
        if (positions[i] - positions[i - 1] != step)
            return std::nullopt;
    }
    return step;
}

long long MonthIndex(const Date& date)
{
    return date.year * 12 + date.month - 1;
}

std::optional<RowLabels> IsoLabels(const std::vector<std::string>& column)
{
    for (bool withDay : {true, false}) {
        std::vector<Date> dates;
        for (const std::string& text : column) {
            const auto date = IsoDate(text, withDay);
            if (!date)
                break;
            dates.push_back(*date);
        }
        if (dates.size() != column.size())
            continue;
        std::vector<long long> days, months;
        bool sameDay = true;
        for (const Date& date : dates) {
            days.push_back(DaysFromDate(date));
            months.push_back(MonthIndex(date));
            sameDay = sameDay && date.day == dates.front().day;
        }
        if (withDay) {
            if (const auto step = RegularStep(days))
                return RowLabels{RowLabels::Kind::Day, days.front(), *step, 1};
        }
        if (sameDay) {
            if (const auto step = RegularStep(months))
                return RowLabels{withDay ? RowLabels::Kind::MonthDay : RowLabels::Kind::Month,
                                 months.front(), *step, dates.front().day};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<RowLabels> YearMonthLabels(const std::vector<std::string>& years,
                                         const std::vector<std::string>& months)
{
    std::vector<long long> positions;
    for (std::size_t i = 0; i < years.size(); ++i) {
        const auto year = Year(years[i]);
        const auto month = Month(months[i]);
        if (!year || !month)
            return std::nullopt;
        positions.push_back(MonthIndex({*year, *month, 1}));
    }
    const auto step = RegularStep(positions);
    if (!step || *step != 1)
        return std::nullopt;
    return RowLabels{RowLabels::Kind::Month, positions.front(), 1, 1};
}

std::optional<RowLabels> YearLabels(const std::vector<std::string>& column)
{
    std::vector<long long> years;
    for (const std::string& text : column) {
        const auto year = Year(text);
        if (!year)
            return std::nullopt;
        years.push_back(*year);
    }
    const auto step = RegularStep(years);
    if (!step || *step != 1)
        return std::nullopt;
    return RowLabels{RowLabels::Kind::Year, years.front(), 1, 1};
}

// The least of the unit's round steps that is at least `least` and a whole number of rows.
long long RoundUnitStep(const RowLabels& labels, double least)
{
    if (labels.kind == RowLabels::Kind::Day) {
        // Days step by rows: 1, 2, 5, 10... rows.
        for (long long rows = 1; rows < 1'000'000'000'000LL; rows *= 10) {
            for (long long m : {1, 2, 5}) {
                if (static_cast<double>(m * rows * labels.step) >= least)
                    return m * rows * labels.step;
            }
        }
        return 0;
    }
    std::vector<long long> candidates;
    if (labels.kind != RowLabels::Kind::Year)
        candidates = {1, 2, 3, 6};
    const long long unit = labels.kind == RowLabels::Kind::Year ? 1 : 12;
    for (long long power = 1; power < 1'000'000'000'000LL; power *= 10) {
        for (long long m : {1, 2, 5})
            candidates.push_back(m * power * unit);
    }
    for (long long c : candidates) {
        if (static_cast<double>(c) >= least && c % labels.step == 0)
            return c;
    }
    return 0;
}

} // namespace

std::string RowLabels::Title() const
{
    switch (kind) {
    case Kind::Day:
    case Kind::MonthDay: return "Date";
    case Kind::Month: return "Month";
    case Kind::Year: return "Year";
    }
    return "Row";
}

std::string RowLabels::Label(double x) const
{
    if (!std::isfinite(x) || std::fabs(x) > kFarthestRow || x != std::floor(x))
        return std::string();
    const long long position = first + (static_cast<long long>(x) - 1) * step;
    Date date;
    switch (kind) {
    case Kind::Day: date = DateFromDays(position); break;
    case Kind::MonthDay:
    case Kind::Month:
        date.year = FloorDiv(position, 12);
        date.month = static_cast<int>(FloorMod(position, 12)) + 1;
        break;
    case Kind::Year: date.year = position; break;
    }
    if (date.year < 1 || date.year > 9999)
        return std::string();
    char text[40];
    const int y = static_cast<int>(date.year);
    switch (kind) {
    case Kind::Day: std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, date.month, date.day); break;
    case Kind::MonthDay:
        // The 31st of a shorter month reads as its last day.
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, date.month,
                      std::min(day, DaysInMonth(date.year, date.month)));
        break;
    case Kind::Month: std::snprintf(text, sizeof text, "%04d-%02d", y, date.month); break;
    case Kind::Year: std::snprintf(text, sizeof text, "%04d", y); break;
    }
    return text;
}

std::optional<RowLabels> ReadRowLabels(const std::vector<std::vector<std::string>>& columns)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].size() < 2)
            return std::nullopt;
        if (auto labels = IsoLabels(columns[i]))
            return labels;
        if (i + 1 < columns.size()) {
            if (auto labels = YearMonthLabels(columns[i], columns[i + 1]))
                return labels;
        }
        if (auto labels = YearLabels(columns[i]))
            return labels;
    }
    return std::nullopt;
}

std::vector<double> RowLabelTicks(const RowLabels& labels, double low, double high, double minRows, int maxTicks)
{
    std::vector<double> ticks;
    if (!(low >= -kFarthestRow) || !(high <= kFarthestRow) || labels.step <= 0)
        return ticks;
    const long long unitStep = RoundUnitStep(labels, std::max(minRows, 1.0) * static_cast<double>(labels.step));
    if (unitStep <= 0)
        return ticks;
    const long long rowsPerTick = unitStep / labels.step;
    // Only the rows of the years 1..9999 have labels: the loop below then meets no row
    // without one.
    long long lowUnit = 1, highUnit = 9999;
    if (labels.kind == RowLabels::Kind::Day) {
        lowUnit = DaysFromDate({1, 1, 1});
        highUnit = DaysFromDate({9999, 12, 31});
    } else if (labels.kind != RowLabels::Kind::Year) {
        lowUnit = MonthIndex({1, 1, 1});
        highUnit = MonthIndex({9999, 12, 1});
    }
    const double step = static_cast<double>(labels.step);
    low = std::max(low, 1.0 + std::ceil(static_cast<double>(lowUnit - labels.first) / step));
    high = std::min(high, 1.0 + std::floor(static_cast<double>(highUnit - labels.first) / step));
    // Ticks where the position is a multiple of the step (years ending in 0, January),
    // when some row falls there; otherwise from the first row.
    const long long rest = FloorMod(-labels.first, unitStep);
    const long long anchor = labels.kind != RowLabels::Kind::Day && rest % labels.step == 0 ? rest / labels.step : 0;
    const double k = std::ceil((low - 1.0 - static_cast<double>(anchor)) / static_cast<double>(rowsPerTick));
    for (double x = 1.0 + static_cast<double>(anchor) + k * static_cast<double>(rowsPerTick);
         x <= high && static_cast<int>(ticks.size()) < maxTicks; x += static_cast<double>(rowsPerTick)) {
        if (!labels.Label(x).empty())
            ticks.push_back(x);
    }
    return ticks;
}

} // namespace orvalis
