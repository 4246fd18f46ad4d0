#include "ShellTestSupport.h"

#include "network/ResultParameters.h"
#include "support/ShapeOf.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingParameterFields.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/ConfigureForecastingDialog.h"
#include "worksheet/ui/ConfigureNetworkDialog.h"
#include "worksheet/ui/ConfigureResultsDialog.h"
#include "worksheet/ui/ConfigureTrainingDialog.h"
#include "worksheet/ui/EstimateResultDialog.h"
#include "worksheet/ui/TrainingProgressDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

using testsupport::ShapeOf;

// A worksheet of its own for each dialog test, with recorded messages.
struct DialogFixture : ::testing::Test {
    DialogFixture() { GuiApp(); }

    static void Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
    {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
    }
    static void PressNamed(QDialog& dialog, const QString& text)
    {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& entry : prompts.log)
            texts.push_back(entry.kind + " " + entry.text);
        return texts;
    }

    AppSettings settings;
    ScriptedPrompts prompts;
    Worksheet ws{settings, prompts};
    FigureOfMeritWeights weights;
};

using ConfigureNetwork = DialogFixture;
using ConfigureTraining = DialogFixture;
using ConfigureResults = DialogFixture;


TEST_F(ConfigureNetwork, OpensWithTheShapeOrNotDefinedBelowThreeLayers)
{
    SetNetworkShape(ws, ShapeOf({12, 6, 1}));
    ws.network.autoNetworkConfigure = 0;
    {
        CConfigureNetworkDialog dialog(ws);
        EXPECT_EQ(dialog.ElementsEdit().text(), "12 6 1 ");
        EXPECT_EQ(dialog.InputNodesEdit().text(), "12");
        EXPECT_EQ(dialog.OutputNodesEdit().text(), "1");
        EXPECT_EQ(dialog.LayersEdit().text(), "3");
        EXPECT_FALSE(dialog.AutoCheck().isChecked());
        EXPECT_EQ(dialog.ElementsEdit().accessibleName(), "Elements/Layer:");
    }
    SetNetworkShape(ws, ShapeOf({5, 1}));
    CConfigureNetworkDialog dialog(ws);
    EXPECT_EQ(dialog.ElementsEdit().text(), "Not Defined");
    EXPECT_EQ(dialog.InputNodesEdit().text(), "0");
    EXPECT_EQ(dialog.OutputNodesEdit().text(), "0");
}

TEST_F(ConfigureNetwork, OkStoresEachValueBeforeTheFieldThatFails)
{
    struct Case {
        const char* name;
        const char* layers;
        const char* elements;
        const char* inputs;
        const char* outputs;
        const char* message;  // nullptr: accepted
        NetworkShape expected;
    };
    const NetworkShape before = ShapeOf({4, 2, 1});
    NetworkShape partial = ShapeOf({20, 10, 1});
    partial.unitsPerLayer[2] = 1;  // the third count is not reached: the old one stays
    const Case cases[] = {
        {"accepted", "3", "20 10 1", "20", "1", nullptr, ShapeOf({20, 10, 1})},
        {"too many layers", "9", "20 10 1", "20", "1", "Plain Error: Maximum Number of Layers Exceeded", before},
        {"missing third count", "3", "20 10", "20", "1",
         "Error Error: Maximum Number of Units Per Layer Exceeded", ShapeOf({20, 10, 1})},
        {"count above 200", "3", "20 201 1", "20", "1",
         "Error Error: Maximum Number of Units Per Layer Exceeded", ShapeOf({20, 2, 1})},
        {"inputs differ", "3", "20 10 1", "21", "1",
         "Error Error: Number of Inputs Must Equal First Layer Units", ShapeOf({20, 10, 1})},
        {"seventeen outputs", "3", "20 10 17", "20", "17",
         "Error Error: Maximum Number of Outputs Exceeded", ShapeOf({20, 10, 17})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetNetworkShape(ws, before);
        ws.network.autoNetworkConfigure = 0;
        prompts.log.clear();
        CConfigureNetworkDialog dialog(ws);
        dialog.LayersEdit().setText(QString::fromLatin1(c.layers));
        dialog.ElementsEdit().setText(QString::fromLatin1(c.elements));
        dialog.InputNodesEdit().setText(QString::fromLatin1(c.inputs));
        dialog.OutputNodesEdit().setText(QString::fromLatin1(c.outputs));
        Press(dialog, QDialogButtonBox::Ok);
        if (c.message) {
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
        EXPECT_EQ(ws.Network().net.shape, c.expected);
        EXPECT_EQ(ws.network.layerCount, c.expected.layerCount);
    }
}

TEST_F(ConfigureNetwork, CheckedAutomaticBoxClosesWithoutReadingTheFields)
{
    SetNetworkShape(ws, ShapeOf({4, 2, 1}));
    ws.network.autoNetworkConfigure = 0;
    CConfigureNetworkDialog dialog(ws);
    dialog.LayersEdit().setText(QStringLiteral("99"));
    dialog.AutoCheck().setChecked(true);
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ws.network.autoNetworkConfigure, 1);
    EXPECT_EQ(ws.Network().net.shape, ShapeOf({4, 2, 1}));
}

TEST_F(ConfigureTraining, LearningRateRefusedAfterTheFieldsBeforeItWereStored)
{
    ws.network.autoTrainingConfigure = 0;
    CConfigureTrainingDialog dialog(ws);
    EXPECT_EQ(dialog.LearningRateEdit().accessibleName(), "Learning Rate:");
    dialog.AutoTrainingCheck().setChecked(false);
    dialog.AutoSizingCheck().setChecked(false);
    dialog.GainEdit().setText(QStringLiteral("1.5"));
    dialog.MomentumEdit().setText(QStringLiteral("0.9"));
    dialog.IterationsEdit().setText(QStringLiteral("20"));
    dialog.MaxCyclesEdit().setText(QStringLiteral("100000"));
    dialog.LearningRateEdit().setText(QStringLiteral("0.2"));
    dialog.ModeCombo().setEditText(QStringLiteral("1 Pass"));
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error Error: Learning Rate Illegal Value"});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.LearningRateEdit().text(), "0.2");  // the user's text stays
    const TrainingParameters& p = ws.Network().net.parameters;
    EXPECT_EQ(p.gain, 1.5);
    EXPECT_EQ(p.momentum, static_cast<double>(0.9f));
    EXPECT_EQ(p.iterationsPerCycle, 20);
    EXPECT_EQ(p.maxCycles, 100000);
    EXPECT_EQ(p.learningRate, 0.05);
    EXPECT_EQ(ws.network.iterationsPerCycle, 20);  // the file writes what is in force
    EXPECT_FALSE(settings.autoVectorSizing);
    EXPECT_TRUE(settings.use2PassEstimate);  // the mode comes after the learning rate

    prompts.log.clear();
    dialog.LearningRateEdit().setText(QStringLiteral("0.09"));
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ws.Network().net.parameters.learningRate, static_cast<double>(0.09f));
    EXPECT_FALSE(settings.use2PassEstimate);
}

TEST_F(ConfigureTraining, StoredRateShownRoundedIsThenRefused)
{
    TrainingParameters p;
    p.learningRate = 0.096;
    SetTrainingParameters(ws, p);
    ws.network.autoTrainingConfigure = 0;
    CConfigureTrainingDialog dialog(ws);
    EXPECT_EQ(dialog.LearningRateEdit().text(), "0.10");
    EXPECT_EQ(dialog.ErrorRatioEdit().text(), "1.20");
    EXPECT_EQ(dialog.ModeCombo().currentText(), "2 Pass");
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error Error: Learning Rate Illegal Value"});
    EXPECT_EQ(ws.Network().net.parameters.learningRate, 0.096);
}

TEST_F(ConfigureTraining, ModeTakesOnlyTheTwoEntriesOfItsList)
{
    ws.network.autoTrainingConfigure = 0;
    struct Case {
        const char* text;
        bool accepted;
        bool twoPass;
    } cases[] = {
        {"1 Pass", true, false},
        {"2 Pass", true, true},
        {"banana", false, false},
        {"1 pass", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompts.log.clear();
        settings.use2PassEstimate = false;
        CConfigureTrainingDialog dialog(ws);
        ASSERT_EQ(dialog.ModeCombo().count(), 2);
        EXPECT_EQ(dialog.ModeCombo().itemText(0), "1 Pass");
        EXPECT_EQ(dialog.ModeCombo().itemText(1), "2 Pass");
        dialog.ModeCombo().setEditText(QString::fromLatin1(c.text));
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(settings.use2PassEstimate, c.twoPass);
        if (c.accepted)
            EXPECT_TRUE(prompts.log.empty());
        else
            EXPECT_EQ(Messages(), std::vector<std::string>{std::string("Error ") + TrainingModeRefused});
    }
}

TEST_F(ConfigureTraining, FieldsAreDisabledWithANoteWhileTrainSetsThem)
{
    ws.network.autoTrainingConfigure = 1;
    CConfigureTrainingDialog dialog(ws);
    dialog.show();
    std::vector<QWidget*> fields = {&dialog.IterationsEdit(), &dialog.MaxCyclesEdit(),
                                    &dialog.ErrorRatioEdit(), &dialog.LearningRateEdit(),
                                    &dialog.GainEdit(), &dialog.MomentumEdit(),
                                    &dialog.ModeCombo()};
    for (QWidget* field : fields)
        EXPECT_FALSE(field->isEnabled()) << field->accessibleName().toStdString();
    EXPECT_TRUE(dialog.AutoTrainingNote().isVisible());
    EXPECT_TRUE(dialog.AutoTrainingNote().text().contains(QStringLiteral("Train sets")));
    dialog.grab().save(QStringLiteral("configure_training_automatic.png"));

    dialog.AutoTrainingCheck().setChecked(false);
    for (QWidget* field : fields)
        EXPECT_TRUE(field->isEnabled()) << field->accessibleName().toStdString();
    EXPECT_FALSE(dialog.AutoTrainingNote().isVisible());
    dialog.grab().save(QStringLiteral("configure_training_manual.png"));
}

TEST_F(ConfigureTraining, DefaultsThenOkClosesWithoutStoringTheTexts)
{
    TrainingParameters p;
    p.learningRate = 0.03;
    p.maxCycles = 7;
    SetTrainingParameters(ws, p);
    ws.network.autoTrainingConfigure = 0;
    settings.autoVectorSizing = false;
    settings.use2PassEstimate = false;
    CConfigureTrainingDialog dialog(ws);
    PressNamed(dialog, QStringLiteral("Defaults"));
    EXPECT_EQ(dialog.LearningRateEdit().text(), "0.05");
    EXPECT_EQ(dialog.MaxCyclesEdit().text(), "2000");
    EXPECT_EQ(dialog.ModeCombo().currentText(), "2 Pass");
    EXPECT_TRUE(dialog.AutoTrainingCheck().isChecked());
    EXPECT_EQ(ws.Network().net.parameters.maxCycles, 7);  // Defaults stores nothing
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ws.network.autoTrainingConfigure, 1);
    EXPECT_TRUE(settings.autoVectorSizing);
    EXPECT_FALSE(settings.use2PassEstimate);  // reaches the run with the next Train
    EXPECT_EQ(ws.Network().net.parameters.maxCycles, 7);
    EXPECT_EQ(ws.Network().net.parameters.learningRate, 0.03);
}

TEST_F(ConfigureResults, IntervalRefusedAfterTheCommentRowSwitchWasApplied)
{
    ws.phaseOffset = 100;
    CConfigureResultsDialog dialog(ws, weights);
    EXPECT_EQ(dialog.PhaseOffsetEdit().text(), "0");
    EXPECT_EQ(dialog.TrainSdEdit().text(), "1.000000");
    EXPECT_EQ(dialog.TrainAvgEdit().accessibleName(), "Training Figure Of Merit Val Avg Weight:");
    EXPECT_EQ(dialog.EstimateAvgEdit().accessibleName(), "Estimate Figure Of Merit Val Avg Weight:");
    EXPECT_TRUE(dialog.TrainSdEdit().isReadOnly());
    dialog.CommentRowCheck().setChecked(false);
    for (const char* refused : {"1", "21"}) {
        prompts.log.clear();
        dialog.IntervalEdit().setText(QString::fromLatin1(refused));
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(settings.useCommentLine);
        EXPECT_EQ(settings.extrapolationLen, 5);
        EXPECT_EQ(Messages().back(), "Error Error: Maximum Extrapolation Length Exceeded");
    }
    EXPECT_EQ(Messages().size(), 1u);  // the comment row changed on the first OK only
    dialog.IntervalEdit().setText(QStringLiteral("20"));
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.extrapolationLen, 20);
    EXPECT_EQ(settings.extrapolationRows, 0);  // in force from the next mode switch
}

TEST_F(ConfigureResults, DefaultsStoresAtOnceEvenWhenCancelled)
{
    settings.resultsMode = ResultsModeExtrapolate;
    settings.extrapolationLen = 12;
    settings.UpdateExtrapolationRows();
    weights.trainValueSdWeight = 3.0f;
    ws.phaseOffset = -1;
    CConfigureResultsDialog dialog(ws, weights);
    EXPECT_EQ(dialog.IntervalEdit().text(), "12");
    EXPECT_EQ(dialog.PhaseOffsetEdit().text(), "-1");
    PressNamed(dialog, QStringLiteral("Defaults"));
    EXPECT_EQ(dialog.IntervalEdit().text(), "5");
    EXPECT_EQ(dialog.TrainSdEdit().text(), "1.000000");
    Press(dialog, QDialogButtonBox::Cancel);
    EXPECT_EQ(settings.extrapolationLen, 5);
    EXPECT_EQ(settings.extrapolationRows, 0);
    EXPECT_EQ(weights.trainValueSdWeight, 1.0f);
}

// At 200 % scaling a dialog takes twice its size in device pixels: each must stay within
// half of a 1366-pixel-wide screen, and its height within a 1080-line one.
TEST_F(ConfigureNetwork, EveryDialogFitsASmallScreenAtTwiceTheScale)
{
    CConfigureNetworkDialog network(ws);
    CConfigureTrainingDialog training(ws);
    CConfigureResultsDialog results(ws, weights);
    CConfigureForecastingDialog forecasting(settings.forecast, prompts);
    CTrainingProgressDialog progress;
    CEstimateResultDialog estimate(EstimateFigures{});
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{&network, &training, &results, &forecasting, &progress, &estimate}) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        const QSize size = dialog->sizeHint();
        EXPECT_LE(size.width(), 1366 / 2);
        EXPECT_LE(size.height(), 768 / 2 + 100);  // 968 px at 200 %: fits a 1080-line screen
        EXPECT_FALSE(dialog->windowTitle().isEmpty());
    }
}

} // namespace
} // namespace orvalis::test
