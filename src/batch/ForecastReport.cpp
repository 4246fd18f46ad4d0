#include "batch/ForecastReport.h"

#include "worksheet/NumberText.h"

#include <cmath>

namespace orvalis {

namespace {

// The plain listing's number: shorter, "-" without a finite value.
std::string Plain(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? FormatNumber("%.6g", *value) : std::string("-");
}

std::string SeasonText(const ForecastCheck& check)
{
    const std::string season = check.season >= 2 ? std::to_string(check.season) : "none";
    return season + (check.seasonAutomatic ? " (found from the data)" : " (set)");
}

void PlainErrors(std::ostream& out, const char* name, const ForecastErrors& e)
{
    out << "forecast_check " << name << ": mae " << Plain(e.mae) << ", rmse " << Plain(e.rmse)
        << ", mase " << Plain(e.mase) << '\n';
}

void JsonErrors(std::ostream& out, const char* name, const ForecastErrors& e)
{
    out << "    \"" << name << "\": " << JsonNumber(e.mae) << ",\n";
}

} // namespace

std::string JsonNumber(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? FormatNumber("%.17g", *value) : std::string("null");
}

void WriteForecastCheckJson(std::ostream& out, const ForecastCheck* check)
{
    if (!check) {
        out << "null";
        return;
    }
    const ForecastCheck& c = *check;
    out << "{\n    \"n\": " << c.n << ",\n    \"season\": " << c.season << ",\n";
    out << "    \"mae\": " << JsonNumber(c.network.mae) << ",\n";
    out << "    \"rmse\": " << JsonNumber(c.network.rmse) << ",\n";
    out << "    \"mase\": " << JsonNumber(c.network.mase) << ",\n";
    JsonErrors(out, "naive_mae", c.naive);
    JsonErrors(out, "seasonal_naive_mae", c.seasonalNaive);
    JsonErrors(out, "linear_mae", c.linear);
    out << "    \"vs_naive\": " << JsonNumber(c.vsNaive) << ",\n";
    out << "    \"coverage80\": " << JsonNumber(c.coverage80) << ",\n";
    out << "    \"coverage95\": " << JsonNumber(c.coverage95) << ",\n";
    out << "    \"rows\": [";
    const char* separator = "\n";
    for (const ForecastCheckRow& r : c.rows) {
        out << separator << "      {\"row\": " << r.gridRow << ", \"actual\": " << JsonNumber(r.actual)
            << ", \"estimate\": " << JsonNumber(r.estimate) << ", \"lo80\": " << JsonNumber(r.lo80)
            << ", \"hi80\": " << JsonNumber(r.hi80) << ", \"lo95\": " << JsonNumber(r.lo95)
            << ", \"hi95\": " << JsonNumber(r.hi95) << "}";
        separator = ",\n";
    }
    out << (c.rows.empty() ? "" : "\n    ") << "],\n    \"intervals\": [";
    separator = "\n";
    for (const ForecastInterval& i : c.intervals) {
        out << separator << "      {\"h\": " << i.h << ", \"lo80\": " << JsonNumber(i.lo80)
            << ", \"hi80\": " << JsonNumber(i.hi80) << ", \"lo95\": " << JsonNumber(i.lo95)
            << ", \"hi95\": " << JsonNumber(i.hi95) << "}";
        separator = ",\n";
    }
    out << (c.intervals.empty() ? "" : "\n    ") << "]\n  }";
}

void WriteForecastCheckPlain(std::ostream& out, const ForecastCheck& c)
{
    // A check refused before it read the series has no season to name.
    if (c.available || !c.intervals.empty())
        out << "forecast_check: n " << c.n << ", season " << SeasonText(c) << '\n';
    if (c.available) {
        PlainErrors(out, "network", c.network);
        PlainErrors(out, "naive", c.naive);
        PlainErrors(out, "seasonal_naive", c.seasonalNaive);
        PlainErrors(out, "linear", c.linear);
        out << "forecast_check vs_naive: " << Plain(c.vsNaive) << ", coverage80 "
            << Plain(c.coverage80) << ", coverage95 " << Plain(c.coverage95) << '\n';
    }
    for (const ForecastInterval& i : c.intervals)
        out << "forecast_check interval h " << i.h << ": lo80 " << Plain(i.lo80) << ", hi80 "
            << Plain(i.hi80) << ", lo95 " << Plain(i.lo95) << ", hi95 " << Plain(i.hi95) << '\n';
    out << "verdict: " << MakeForecastVerdict(c).text << '\n';
}

} // namespace orvalis
