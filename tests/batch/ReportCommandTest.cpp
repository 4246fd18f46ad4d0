#include "BatchToolRunner.h"

#include "worksheet/AppSettings.h"
#include "worksheet/BaselineFigures.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

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
