#include "RunWorksheet.h"

#include "worksheet/BaselineFigures.h"
#include "worksheet/ChartData.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

enum Col { kActual = 1, kEstimate = 2 };

// A worksheet with a "Trg/In" column and a "Val:Est" column written as texts, in the
// state the last run left it in.
struct FigureSheet : RunWorksheet {
    FigureSheet(int training, int testing, int eval, int taps, WorksheetState state,
                const std::vector<std::string>& actual, const std::vector<std::string>& estimate)
    {
        Role(kActual, "Trg/In");
        Role(kEstimate, "Val:Est");
        Counts(training, testing, eval, taps);
        ws->SetStateAndText(state);
        for (std::size_t i = 0; i < actual.size(); ++i)
            Text(static_cast<int>(i), kActual, actual[i]);
        for (std::size_t i = 0; i < estimate.size(); ++i)
            Text(static_cast<int>(i), kEstimate, estimate[i]);
    }
    BaselineFigures Figures() const
    {
        const ResultLayout layout =
            ReadResultLayout(ws->Store(), ws->firstDataRow, settings.extrapolationRows);
        return ComputeBaselineFigures(ws->Store(), layout);
    }
};

void ExpectNoFigures(const SectionFigures& f)
{
    EXPECT_EQ(f.n, 0);
    EXPECT_FALSE(f.mae || f.rmse || f.mape || f.naiveRmse || f.theilU || f.directionHits);
}

} // namespace

// After training: Training rows from NumTaps on, Testing rows up to the one before the
// last (which the run leaves at "0.000"), nothing for Evaluate.
TEST(BaselineFigures, AfterTrainingByHand)
{
    FigureSheet sheet(4, 3, 2, 1, WorksheetState::Trained,
                      {"10", "12", "0", "3", "5", "4", "7", "8", "9"},
                      {"0.000", "11", "1", "4", "5", "6", "0.000", "0.000", "0.000"});
    const BaselineFigures f = sheet.Figures();

    const SectionFigures& training = f[0];
    EXPECT_EQ(training.section, ResultSection::Training);
    EXPECT_EQ(training.n, 3);
    EXPECT_DOUBLE_EQ(*training.mae, 1.0);
    EXPECT_DOUBLE_EQ(*training.rmse, 1.0);
    // The row with actual 0 is left out of MAPE only: (1/12 + 1/3) / 2.
    EXPECT_EQ(training.mapeLeftOut, 1);
    EXPECT_NEAR(*training.mape, (100.0 / 12 + 100.0 / 3) / 2, 1e-12);
    EXPECT_NEAR(*training.naiveRmse, std::sqrt((4.0 + 144.0 + 9.0) / 3), 1e-12);
    EXPECT_NEAR(*training.theilU, 1.0 / std::sqrt(157.0 / 3), 1e-12);
    EXPECT_DOUBLE_EQ(*training.directionHits, 100.0);

    const SectionFigures& testing = f[1];
    EXPECT_EQ(testing.n, 2);
    EXPECT_DOUBLE_EQ(*testing.mae, 1.0);
    EXPECT_NEAR(*testing.rmse, std::sqrt(2.0), 1e-12);
    EXPECT_EQ(testing.mapeLeftOut, 0);
    EXPECT_NEAR(*testing.mape, 25.0, 1e-12);
    EXPECT_NEAR(*testing.naiveRmse, std::sqrt(2.5), 1e-12);
    EXPECT_NEAR(*testing.theilU, std::sqrt(0.8), 1e-12);
    // Row 5 rose in the estimate (5 to 6) but fell in fact (5 to 4).
    EXPECT_DOUBLE_EQ(*testing.directionHits, 50.0);

    ExpectNoFigures(f[2]);
}

// After an evaluation only the Evaluate rows count, even though the training rows still
// hold estimate texts. A one-row section of a constant series: the naive forecast is
// exact, so Theil's U has no value; a step of 0 counts as up.
TEST(BaselineFigures, EvaluateOneRowOfConstantSeries)
{
    FigureSheet sheet(3, 2, 1, 1, WorksheetState::Eval, {"7", "7", "7", "7", "7", "7"},
                      {"0.000", "6", "8", "7", "7", "7.5"});
    const BaselineFigures f = sheet.Figures();
    ExpectNoFigures(f[0]);
    ExpectNoFigures(f[1]);
    const SectionFigures& eval = f[2];
    EXPECT_EQ(eval.n, 1);
    EXPECT_DOUBLE_EQ(*eval.mae, 0.5);
    EXPECT_DOUBLE_EQ(*eval.rmse, 0.5);
    EXPECT_NEAR(*eval.mape, 50.0 / 7, 1e-12);
    EXPECT_DOUBLE_EQ(*eval.naiveRmse, 0.0);
    EXPECT_FALSE(eval.theilU);
    EXPECT_DOUBLE_EQ(*eval.directionHits, 100.0);
}

// A row counts only when its actual value, its estimate and the previous actual value
// all read as numbers; all figures use the same rows. A worksheet in state Init has no
// estimates at all, and counts beyond the grid read no row past its end.
TEST(BaselineFigures, RowsThatDoNotReadAsNumbers)
{
    FigureSheet sheet(3, 3, 0, 1, WorksheetState::Trained, {"1", "2", "x", "4", "5", "6"},
                      {"0.000", "2", "2", "5", "", "0.000"});
    BaselineFigures f = sheet.Figures();
    EXPECT_EQ(f[0].n, 1);  // row 2's actual is "x"
    EXPECT_DOUBLE_EQ(*f[0].mae, 0.0);
    EXPECT_DOUBLE_EQ(*f[0].theilU, 0.0);
    ExpectNoFigures(f[1]);  // row 3 follows "x", row 4 has no estimate

    sheet.ws->SetStateAndText(WorksheetState::Init);
    f = sheet.Figures();
    for (const SectionFigures& s : f)
        ExpectNoFigures(s);

    sheet.ws->SetStateAndText(WorksheetState::Trained);
    sheet.ws->Store().SetCellText(kNumTrainingRow, kValueColumn, std::to_string(INT_MAX));
    sheet.ws->Store().SetCellText(kNumTestingRow, kValueColumn, std::to_string(INT_MAX));
    f = sheet.Figures();
    EXPECT_EQ(f[0].n, 2);  // rows 1 and 5: every row down to the grid's last one
    ExpectNoFigures(f[1]);
}

// Values whose errors or squares pass the largest double, or fall below the smallest:
// each figure is the finite value it stands for, and one that no double can hold has
// none (shown as missing, never as inf or nan).
TEST(BaselineFigures, ExtremeValuesGiveFiniteFiguresOrNone)
{
    struct Case {
        const char* name;
        std::vector<std::string> actual, estimate;
        std::optional<double> mae, rmse, naiveRmse, theilU;
        double relative; // tolerance of the figures, relative to their value
    };
    const std::vector<Case> cases = {
        {"squares overflow, figures do not",
         {"0", "8e307", "-8e307", "8e307", "-8e307"},
         {"", "", "8e307", "-8e307", "8e307"},
         1.6e308,
         1.6e308,
         1.6e308,
         1.0,
         1e-15},
        {"errors beyond the largest double",
         {"0", "-1e308", "1e308", "-1e308", "1e308"},
         {"", "", "-1e308", "1e308", "-1e308"},
         std::nullopt,
         std::nullopt,
         std::nullopt,
         1.0,
         1e-15},
        {"squares of subnormals underflow, figures do not",
         {"0", "1e-310", "3e-310", "2e-310", "4e-310"},
         {"", "", "2e-310", "3e-310", "3e-310"},
         1e-310,
         1e-310,
         std::sqrt(3.0) * 1e-310,
         1.0 / std::sqrt(3.0),
         1e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureSheet sheet(1, 1, 3, 1, WorksheetState::Eval, c.actual, c.estimate);
        const SectionFigures eval = sheet.Figures()[2];
        ASSERT_EQ(eval.n, 3);
        const auto expect = [&c](const char* figure, const std::optional<double>& got,
                                 const std::optional<double>& want) {
            ASSERT_EQ(got.has_value(), want.has_value()) << figure << " " << got.value_or(0.0);
            if (want) {
                EXPECT_NEAR(*got, *want, *want * c.relative) << figure;
            }
        };
        expect("MAE", eval.mae, c.mae);
        expect("RMSE", eval.rmse, c.rmse);
        expect("naive RMSE", eval.naiveRmse, c.naiveRmse);
        expect("Theil's U", eval.theilU, c.theilU);
        ASSERT_TRUE(eval.mape);
        EXPECT_TRUE(std::isfinite(*eval.mape));
        ASSERT_TRUE(eval.directionHits);
    }
}

// An evaluation in Data Extrapolate mode writes "0.000" into every row before the
// extension. Opened in Model Evaluate mode with automatic sizing, the file's worksheet
// keeps its state while its sections move, and the rows that become Evaluate rows hold
// those placeholders: no figure and no chart point may come from them, and the
// extension keeps its estimates.
TEST(BaselineFigures, PlaceholdersOfAnExtrapolationNeverCount)
{
    RunWorksheet sheet(true, ResultsModeExtrapolate);
    sheet.Role(1, "Trg/In");
    sheet.Column(1, TestSeries(60));
    sheet.Counts(40, 20, 0, 4);
    sheet.ws->network.autoTrainingConfigure = 0;
    sheet.ws->network.maxCycles = 4;
    sheet.ws->network.iterationsPerCycle = 2;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    const int valEst = ReadResultLayout(*sheet.ws).valEstColumn;
    ASSERT_GT(valEst, 0);
    ASSERT_EQ(sheet.Cell(50, valEst), "0.000");
    ExportNetworkRecord(*sheet.ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(*sheet.ws);

    RunWorksheet reopened;
    reopened.settings.autoVectorSizing = true;
    ASSERT_TRUE(LoadWorksheetBytes(*reopened.ws, bytes.data(), bytes.size()));
    const Worksheet& ws = *reopened.ws;
    ASSERT_EQ(ws.state, WorksheetState::Eval);
    const ResultLayout layout = ReadResultLayout(ws);
    ASSERT_GT(layout.numEval, 0); // the sections did move
    for (const SectionFigures& s : ComputeBaselineFigures(ws.Store(), layout))
        ExpectNoFigures(s);

    const ChartData chart = BuildChartData(ws.Store(), layout, reopened.settings);
    ASSERT_TRUE(chart.estimates);
    std::vector<double> rows;
    for (const ChartPoint& p : chart.estimates->points)
        rows.push_back(p.x);
    EXPECT_EQ(rows, (std::vector<double>{61, 62, 63, 64, 65}));
}
