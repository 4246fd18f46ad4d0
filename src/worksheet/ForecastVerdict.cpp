#include "worksheet/ForecastCheck.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace orvalis {

namespace {

// "18 % better" or "35 % worse" for a share 1 - mae / reference (positive: better).
std::string Comparison(double share)
{
    const long percent = std::lround(std::fabs(share) * 100.0);
    if (percent == 0)
        return "as good as";
    char text[48];
    std::snprintf(text, sizeof text, "%ld %% %s than", percent, share > 0 ? "better" : "worse");
    return text;
}

std::string MaseText(const ForecastErrors& errors)
{
    if (!errors.mase)
        return {};
    char text[40];
    std::snprintf(text, sizeof text, " (MASE %.2f)", *errors.mase);
    return text;
}

// The share by which a baseline's MAE beats the naive one, as "a linear model on the
// same window: 21 % better"; empty when either has no value.
std::string BaselineClause(const char* name, const ForecastErrors& baseline, const ForecastErrors& naive)
{
    if (!baseline.mae || !naive.mae || !(*naive.mae > 0.0))
        return {};
    std::string comparison = Comparison(1.0 - *baseline.mae / *naive.mae);
    if (comparison == "as good as")
        comparison = "as good";
    else
        comparison.resize(comparison.size() - 5); // " than"
    return std::string("; ") + name + ": " + comparison;
}

} // namespace

ForecastVerdict MakeForecastVerdict(const ForecastCheck& check)
{
    ForecastVerdict verdict;
    if (!check.available) {
        verdict.text = "Forecast check not available: " + check.reason + ".";
        return verdict;
    }
    if (!check.vsNaive) {
        // Repeating the last value made no error at all: the rows do not change.
        char text[120];
        std::snprintf(text, sizeof text,
                      "Forecast check: repeating the last value is exact on these rows; the "
                      "network's mean absolute error is %g.",
                      check.network.mae.value_or(0.0));
        verdict.text = text;
        verdict.good = check.network.mae.value_or(1.0) == 0.0;
        return verdict;
    }
    const double share = *check.vsNaive;
    verdict.good = share > 0.0;
    verdict.text = "Forecast check: " + Comparison(share) + " repeating the last value" +
                   MaseText(check.network);
    if (verdict.good) {
        verdict.text += BaselineClause("a linear model on the same window", check.linear, check.naive);
        // The value one season back is the yardstick of a seasonal series: say so when
        // it beats repeating the last value.
        if (check.seasonalNaive.mae && *check.seasonalNaive.mae < *check.naive.mae)
            verdict.text += BaselineClause("the value one season back", check.seasonalNaive, check.naive);
        verdict.text += ".";
    } else {
        // With leak-free evaluation the figures are formed from these very estimates, and
        // the warning about them would be false.
        verdict.text += check.figuresLeakFree ? "." : ". The figures above use the values they estimate.";
    }
    return verdict;
}

} // namespace orvalis
