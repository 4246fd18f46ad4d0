#include "ShellTestSupport.h"

#include "worksheet/ui/TrainingCurve.h"
#include "worksheet/ui/TrainingProgressDialog.h"

#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvalis::test {
namespace {

QXYSeries* SeriesNamed(CTrainingCurve& curve, const QString& name)
{
    for (QAbstractSeries* s : curve.chart()->series())
        if (s->name() == name)
            return static_cast<QXYSeries*>(s);
    return nullptr;
}

// A burst of cycles is drawn once at its start and once shortly after, never per
// cycle; every cycle ends up in the curve; the best cycle is the lowest testing ratio,
// a NaN never; a run starting again at cycle 0 starts a new curve, whose first cycle
// stays the best when later ones are worse.
TEST(TrainingCurve, ThrottledDrawingKeepsEveryCycleAndMarksTheBest)
{
    GuiApp();
    CTrainingProgressDialog dialog;
    CTrainingCurve& curve = dialog.Curve();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int cycle = 1; cycle <= 500; ++cycle) {
        const double test = cycle == 400 ? nan : 1.0 / cycle + (cycle > 300 ? 0.01 * (cycle - 300) : 0.0);
        curve.AddCycle(cycle, 2.0 / cycle, test);
    }
    EXPECT_LE(curve.DrawCount(), 2);
    QTest::qWait(CTrainingCurve::kMinimumRedrawMs * 3);
    EXPECT_EQ(curve.StoredCycles(), 500);
    EXPECT_EQ(SeriesNamed(curve, "Train ratio")->count(), 500);
    EXPECT_EQ(SeriesNamed(curve, "Test ratio")->count(), 499);  // the NaN is not drawn
    // 1/c falls until 300, after which the added 0.01 per cycle outgrows it.
    EXPECT_EQ(curve.BestCycle(), 300);
    QXYSeries* best = SeriesNamed(curve, "Best cycle");
    ASSERT_EQ(best->count(), 1);
    EXPECT_EQ(best->at(0).x(), 300.0);

    curve.AddCycle(0, 0.5, 0.25);
    curve.AddCycle(1, 0.4, 0.3);
    curve.Flush();
    EXPECT_EQ(curve.StoredCycles(), 2);
    EXPECT_EQ(curve.BestCycle(), 0);
    EXPECT_EQ(SeriesNamed(curve, "Train ratio")->count(), 2);
    ASSERT_EQ(best->count(), 1);
    EXPECT_EQ(best->at(0).x(), 0.0);
}

// The window asks only for its fields' height (so that it fits a small screen at a
// large scale) and, once shown on a screen with room to spare, shows the curve under
// them without growing past the screen.
TEST(TrainingCurve, ShownWindowGivesTheCurveRoomWithinTheScreen)
{
    GuiApp();
    CTrainingProgressDialog dialog;
    const int fieldsHeight = dialog.sizeHint().height();
    dialog.show();
    QCoreApplication::processEvents();
    const int screenHeight = dialog.screen()->availableGeometry().height();
    ASSERT_GE(screenHeight, fieldsHeight + 48 + CTrainingCurve::kPreferredHeight);
    EXPECT_TRUE(dialog.Curve().isVisible());
    EXPECT_GE(dialog.Curve().height(), CTrainingCurve::kPreferredHeight);
    EXPECT_LE(dialog.height(), screenHeight - 48);
    EXPECT_LE(dialog.height(), fieldsHeight + CTrainingCurve::kPreferredHeight + 12);
}

// The ratios of a good fit fall to a millionth and below: the ratio axis still carries
// at least two numbers, and no label is cut to "...".
TEST(TrainingCurve, RatioAxisKeepsTwoReadableLabelsFromTinyToHugeRatios)
{
    GuiApp();
    for (const double scale : {1.0, 1e-3, 1e-6, 3e-7, 1e-12, 1e12}) {
        SCOPED_TRACE(scale);
        CTrainingProgressDialog dialog;
        dialog.show();
        CTrainingCurve& curve = dialog.Curve();
        for (int cycle = 1; cycle <= 50; ++cycle)
            curve.AddCycle(cycle, scale * (1.0 + 1.0 / cycle), scale * (1.2 + 1.0 / cycle));
        curve.Flush();
        QCoreApplication::processEvents();
        curve.grab();
        // The ratio labels are the texts left of the plot area.
        const qreal plotLeft = curve.chart()->plotArea().left();
        QStringList ratioLabels;
        for (QGraphicsItem* item : curve.scene()->items()) {
            auto* text = dynamic_cast<QGraphicsTextItem*>(item);
            if (!text || !text->isVisible())
                continue;
            EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("..."))) << text->toPlainText().toStdString();
            bool isNumber = false;
            text->toPlainText().toDouble(&isNumber);
            if (isNumber && text->sceneBoundingRect().right() <= plotLeft)
                ratioLabels.append(text->toPlainText());
        }
        EXPECT_GE(ratioLabels.size(), 2) << ratioLabels.join(QLatin1Char('|')).toStdString();
    }
}

} // namespace
} // namespace orvalis::test
