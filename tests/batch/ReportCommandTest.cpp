#include "BatchToolRunner.h"

#include "worksheet/AppSettings.h"
#include "worksheet/BaselineFigures.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

#include <set>
#include <string>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;
using namespace orvalis;

namespace {

void ExpectFigure(const QJsonValue& value, const std::optional<double>& figure, const char* what)
{
    if (!figure) {
        EXPECT_TRUE(value.isNull()) << what;
        return;
    }
    ASSERT_TRUE(value.isDouble()) << what;
    EXPECT_DOUBLE_EQ(value.toDouble(), *figure) << what;
}

} // namespace

// The Nile series trained: the JSON report parses, holds the six header figures as
// numbers and per section exactly the figures the worksheet gives (those the Results
// panel shows); the plain report lists the same in nine lines.
TEST(ReportCommand, JsonMatchesTheWorksheetFigures)
{
    BatchSandbox box;
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
    ASSERT_EQ(box.RunInProcess({"import", sample, "-o", box.Path("imported.ows"), "--header"}).status, 0);
    ASSERT_EQ(box.RunInProcess({"set", box.Path("imported.ows"), "-o", box.Path("nile.ows"), "--role",
                                "2=Trg/In"}).status, 0);
    ASSERT_EQ(box.RunInProcess({"train", box.Path("nile.ows"), "-o", box.Path("trained.ows")}).status, 0);

    const auto report = box.RunInProcess({"report", box.Path("trained.ows"), "--json"});
    ASSERT_EQ(report.status, 0) << report.err;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(report.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << report.out;
    const QJsonObject root = doc.object();
    const QJsonObject figures = root.value("figures").toObject();
    for (const char* key : {"slope_fm", "value_fm", "slope_err_avg", "slope_err_sd", "value_err_avg",
                            "value_err_sd"})
        EXPECT_TRUE(figures.value(key).isDouble()) << key;

    AppSettings settings;
    settings.UpdateExtrapolationRows();
    SilentMessages messages;
    Worksheet ws(settings, messages);
    ASSERT_TRUE(LoadWorksheetFile(ws, box.Path("trained.ows")));
    const BaselineFigures expected = ComputeBaselineFigures(
        ws.Store(), ReadResultLayout(ws.Store(), ws.firstDataRow, settings.extrapolationRows));
    EXPECT_GT(expected[0].n, 0);

    const QJsonArray sections = root.value("sections").toArray();
    ASSERT_EQ(sections.size(), 3);
    const char* names[] = {"training", "testing", "evaluate"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        const QJsonObject s = sections[i].toObject();
        const SectionFigures& e = expected[std::size_t(i)];
        EXPECT_EQ(s.value("section").toString(), QString::fromUtf8(names[i]));
        EXPECT_EQ(s.value("n").toInt(-1), e.n);
        EXPECT_EQ(s.value("mape_n").toInt(-1), e.mapeLeftOut);
        ExpectFigure(s.value("mae"), e.mae, "mae");
        ExpectFigure(s.value("rmse"), e.rmse, "rmse");
        ExpectFigure(s.value("mape"), e.mape, "mape");
        ExpectFigure(s.value("naive_rmse"), e.naiveRmse, "naive_rmse");
        ExpectFigure(s.value("theil_u"), e.theilU, "theil_u");
        ExpectFigure(s.value("direction_hits"), e.directionHits, "direction_hits");
    }
    // After training the Evaluate rows have no estimates yet.
    EXPECT_TRUE(sections[2].toObject().value("rmse").isNull());

    const auto plain = box.RunInProcess({"report", box.Path("trained.ows")});
    ASSERT_EQ(plain.status, 0);
    const auto lines = Lines(plain.out);
    ASSERT_EQ(lines.size(), 9u) << plain.out;
    EXPECT_EQ(lines[6].rfind("training: n " + std::to_string(expected[0].n) + ",", 0), 0u) << lines[6];
}

namespace {

// The Nile series trained and evaluated by the tool, saved as evaluated.ows in the box.
void EvaluateNile(const BatchSandbox& box)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
    ASSERT_EQ(box.RunInProcess({"import", sample, "-o", box.Path("nile.ows"), "--header"}).status, 0);
    ASSERT_EQ(box.RunInProcess({"set", box.Path("nile.ows"), "-o", box.Path("nile.ows"), "--role",
                                "2=Trg/In"})
                  .status,
              0);
    ASSERT_EQ(box.RunInProcess({"train", box.Path("nile.ows"), "-o", box.Path("trained.ows")}).status, 0);
    ASSERT_EQ(box.RunInProcess({"evaluate", box.Path("trained.ows"), "-o", box.Path("evaluated.ows")})
                  .status,
              0);
}

QJsonObject ParseReport(const BatchSandbox::Result& report)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(report.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << report.out;
    return doc.object();
}

// An object's keys as a set, readable in a failure message.
std::set<std::string> Keys(const QJsonObject& object)
{
    std::set<std::string> keys;
    for (const QString& key : object.keys())
        keys.insert(key.toStdString());
    return keys;
}

using KeySet = std::set<std::string>;

} // namespace

// An evaluated worksheet's report carries the forecast check: in the JSON exactly the
// listed keys with the figures the check of the saved worksheet gives, one row object
// per Evaluate row and one interval per h up to the extrapolation length; in the plain
// report the same figures in lines of their own and the verdict. A worksheet that is
// only trained has no check: null.
TEST(ReportCommand, ForecastCheckOfAnEvaluatedWorksheet)
{
    BatchSandbox box;
    EvaluateNile(box);
    AppSettings settings;
    settings.UpdateExtrapolationRows();
    SilentMessages messages;
    Worksheet ws(settings, messages);
    ASSERT_TRUE(LoadWorksheetFile(ws, box.Path("evaluated.ows")));
    const ForecastCheck expected = CheckLastEvaluation(ws);
    ASSERT_TRUE(expected.available) << expected.reason;

    const QJsonObject root = ParseReport(box.RunInProcess({"report", box.Path("evaluated.ows"), "--json"}));
    const QJsonObject check = root.value("forecast_check").toObject();
    EXPECT_EQ(Keys(check),
              KeySet({"coverage80", "coverage95", "intervals", "linear_mae", "mae", "mase", "n",
                      "naive_mae", "rows", "rmse", "season", "seasonal_naive_mae", "vs_naive"}));
    EXPECT_EQ(check.value("n").toInt(-1), expected.n);
    EXPECT_EQ(check.value("season").toInt(-1), expected.season);
    ExpectFigure(check.value("mae"), expected.network.mae, "mae");
    ExpectFigure(check.value("rmse"), expected.network.rmse, "rmse");
    ExpectFigure(check.value("mase"), expected.network.mase, "mase");
    ExpectFigure(check.value("naive_mae"), expected.naive.mae, "naive_mae");
    ExpectFigure(check.value("seasonal_naive_mae"), expected.seasonalNaive.mae, "seasonal_naive_mae");
    ExpectFigure(check.value("linear_mae"), expected.linear.mae, "linear_mae");
    ExpectFigure(check.value("vs_naive"), expected.vsNaive, "vs_naive");
    ExpectFigure(check.value("coverage80"), expected.coverage80, "coverage80");
    ExpectFigure(check.value("coverage95"), expected.coverage95, "coverage95");

    const QJsonArray rows = check.value("rows").toArray();
    ASSERT_EQ(rows.size(), expected.n);
    const int firstRow = ws.firstDataRow + ws.counts.numTraining + ws.counts.numTesting;
    for (int i = 0; i < rows.size(); ++i) {
        const QJsonObject row = rows[i].toObject();
        const ForecastCheckRow& e = expected.rows[std::size_t(i)];
        EXPECT_EQ(Keys(row), KeySet({"actual", "estimate", "hi80", "hi95", "lo80", "lo95", "row"}));
        EXPECT_EQ(row.value("row").toInt(-1), firstRow + i);
        ExpectFigure(row.value("actual"), e.actual, "actual");
        ExpectFigure(row.value("estimate"), e.estimate, "estimate");
        ExpectFigure(row.value("lo80"), e.lo80, "lo80");
        ExpectFigure(row.value("hi95"), e.hi95, "hi95");
    }
    const QJsonArray intervals = check.value("intervals").toArray();
    ASSERT_EQ(intervals.size(), settings.extrapolationLen);
    for (int i = 0; i < intervals.size(); ++i) {
        const QJsonObject interval = intervals[i].toObject();
        EXPECT_EQ(Keys(interval), KeySet({"h", "hi80", "hi95", "lo80", "lo95"}));
        EXPECT_EQ(interval.value("h").toInt(-1), i + 1);
        ExpectFigure(interval.value("lo80"), expected.intervals[std::size_t(i)].lo80, "lo80");
        ExpectFigure(interval.value("hi95"), expected.intervals[std::size_t(i)].hi95, "hi95");
    }

    const auto plain = box.RunInProcess({"report", box.Path("evaluated.ows")});
    const auto lines = Lines(plain.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "verdict: " + MakeForecastVerdict(expected).text);
    EXPECT_NE(plain.out.find("\nforecast_check: n " + std::to_string(expected.n) + ", season "),
              std::string::npos)
        << plain.out;
    for (const char* name : {"network", "naive", "seasonal_naive", "linear"})
        EXPECT_NE(plain.out.find("\nforecast_check " + std::string(name) + ": mae "), std::string::npos) << name;
    EXPECT_NE(plain.out.find("\nforecast_check interval h 5: lo80 "), std::string::npos);

    const QJsonObject trained = ParseReport(box.RunInProcess({"report", box.Path("trained.ows"), "--json"}));
    EXPECT_TRUE(trained.contains("forecast_check"));
    EXPECT_TRUE(trained.value("forecast_check").isNull());
}

// Values too large to square (1e300 and -1e300 in two Evaluate rows): the JSON still
// parses, and every figure is a finite number or, without a finite value, null.
TEST(ReportCommand, JsonStaysJsonWhenTheFiguresOverflow)
{
    BatchSandbox box;
    EvaluateNile(box);
    SilentMessages messages;
    AppSettings settings;
    Worksheet ws(settings, messages);
    ASSERT_TRUE(LoadWorksheetFile(ws, box.Path("evaluated.ows")));
    const int row = ws.firstDataRow + ws.counts.numTraining + ws.counts.numTesting + 2;
    const std::string hugeUp = std::to_string(row) + ",2=1e300";
    const std::string hugeDown = std::to_string(row + 1) + ",2=-1e300";
    ASSERT_EQ(box.RunInProcess({"set", box.Path("evaluated.ows"), "-o", box.Path("huge.ows"), "--cell",
                                hugeUp, "--cell", hugeDown})
                  .status,
              0);

    const auto report = box.RunInProcess({"report", box.Path("huge.ows"), "--json"});
    EXPECT_EQ(report.out.find("inf"), std::string::npos) << report.out;
    EXPECT_EQ(report.out.find("nan"), std::string::npos) << report.out;
    const QJsonObject root = ParseReport(report);
    const QJsonObject evaluate = root.value("sections").toArray()[2].toObject();
    const auto finiteOrNull = [](const QJsonValue& v) {
        return v.isNull() || (v.isDouble() && std::isfinite(v.toDouble()));
    };
    for (const char* key : {"mae", "rmse", "naive_rmse", "theil_u"})
        EXPECT_TRUE(finiteOrNull(evaluate.value(key))) << key;
    const QJsonObject check = root.value("forecast_check").toObject();
    EXPECT_TRUE(check.value("rmse").isNull());
    EXPECT_TRUE(check.value("naive_mae").isNull());
    const QJsonArray rows = check.value("rows").toArray();
    ASSERT_GT(rows.size(), 3);
    EXPECT_DOUBLE_EQ(rows[2].toObject().value("actual").toDouble(), 1e300);
}
