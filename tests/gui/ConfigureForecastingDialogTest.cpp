#include "ShellTestSupport.h"

#include "shell/CommandIds.h"
#include "shell/MainFrame.h"
#include "worksheet/AppSettings.h"
#include "worksheet/ForecastOptionFields.h"
#include "worksheet/ui/ConfigureForecastingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

struct ConfigureForecasting : ::testing::Test {
    ConfigureForecasting()
    {
        GuiApp();
        options.changeLag = 5;
        options.starts = 3;
        options.seed = 9;
    }

    static void Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
    {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
    }

    // The options as the fields show them, read back through the dialog's own widgets.
    static ForecastOptionFields Showing(CConfigureForecastingDialog& d)
    {
        ForecastOptionFields f;
        f.forecaster = d.ForecasterCheck().isChecked();
        f.changeLag = d.ChangeLagCombo().currentText().toStdString();
        f.tapsByRule = d.TapsByRuleCheck().isChecked();
        f.patientTraining = d.PatientCheck().isChecked();
        f.patience = d.PatienceEdit().text().toStdString();
        f.starts = d.StartsEdit().text().toStdString();
        f.seed = d.SeedEdit().text().toStdString();
        f.leakFreeEvaluation = d.LeakFreeCheck().isChecked();
        return f;
    }

    ForecastOptions options;
    ScriptedPrompts prompts;
};

TEST_F(ConfigureForecasting, FieldsAreNamedByTheirLabelsAndTabbedTopToBottom)
{
    CConfigureForecastingDialog dialog(options, prompts);
    const std::vector<std::pair<QWidget*, QString>> fields = {
        {&dialog.ForecasterCheck(), "Forecaster's settings"},
        {&dialog.ChangeLagCombo(), "Learn the change:"},
        {&dialog.TapsByRuleCheck(), "Window by rule"},
        {&dialog.PatientCheck(), "Patient training"},
        {&dialog.PatienceEdit(), "Patience:"},
        {&dialog.StartsEdit(), "Starts:"},
        {&dialog.SeedEdit(), "Seed:"},
        {&dialog.LeakFreeCheck(), "Leak-free evaluation"},
    };
    EXPECT_EQ(dialog.ChangeLagCombo().lineEdit()->accessibleName(), "Learn the change:");
    for (const auto& [field, name] : fields) {
        EXPECT_EQ(field->accessibleName(), name);
        EXPECT_FALSE(field->accessibleDescription().isEmpty()) << name.toStdString();
    }
    // Tab walks the fields in their order on screen: follow the focus chain once round and
    // note which field each stop belongs to (an editable combo's line edit stands for it).
    std::vector<int> stops;
    QWidget* w = &dialog.ForecasterCheck();
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            for (int i = 0; i < static_cast<int>(fields.size()); ++i)
                if ((w == fields[i].first || fields[i].first->isAncestorOf(w)) && (stops.empty() || stops.back() != i))
                    stops.push_back(i);
        }
        w = w->nextInFocusChain();
    } while (w != &dialog.ForecasterCheck());
    EXPECT_EQ(stops, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(ConfigureForecasting, ForecasterSwitchShowsItsSetDisabledAndGivesBackTheUsersOwn)
{
    CConfigureForecastingDialog dialog(options, prompts);
    const ForecastOptionFields own = OpenForecastOptionFields(options);
    EXPECT_EQ(Showing(dialog), own);
    for (QWidget* field : dialog.findChildren<QWidget*>())
        EXPECT_TRUE(field->isEnabled()) << field->accessibleName().toStdString();

    dialog.ForecasterCheck().setChecked(true);
    ForecastOptions on = options;
    on.forecaster = true;
    EXPECT_EQ(Showing(dialog), OpenForecastOptionFields(EffectiveForecastOptions(on)));
    const ForecasterGoverned governed = GovernedByForecaster();
    EXPECT_EQ(dialog.ChangeLagCombo().isEnabled(), !governed.changeLag);
    EXPECT_EQ(dialog.TapsByRuleCheck().isEnabled(), !governed.tapsByRule);
    EXPECT_EQ(dialog.PatientCheck().isEnabled(), !governed.patientTraining);
    EXPECT_EQ(dialog.StartsEdit().isEnabled(), !governed.starts);
    EXPECT_EQ(dialog.SeedEdit().isEnabled(), !governed.seed);
    EXPECT_EQ(dialog.LeakFreeCheck().isEnabled(), !governed.leakFreeEvaluation);
    EXPECT_FALSE(dialog.ChangeLagCombo().isEnabled()); // the set decides at least this

    dialog.ForecasterCheck().setChecked(false);
    EXPECT_EQ(Showing(dialog), own);
    EXPECT_TRUE(dialog.ChangeLagCombo().isEnabled());
    EXPECT_TRUE(dialog.LeakFreeCheck().isEnabled());
}

TEST_F(ConfigureForecasting, OkStoresWithTheSwitchOnAndReopensShowingTheSet)
{
    {
        CConfigureForecastingDialog dialog(options, prompts);
        dialog.ForecasterCheck().setChecked(true);
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    ForecastOptions expected;
    expected.changeLag = 5;
    expected.starts = 3;
    expected.seed = 9;
    expected.forecaster = true;
    EXPECT_EQ(options, expected); // the user's own values stay underneath the switch
    EXPECT_TRUE(prompts.log.empty());

    CConfigureForecastingDialog dialog(options, prompts);
    EXPECT_TRUE(dialog.ForecasterCheck().isChecked());
    EXPECT_EQ(Showing(dialog), OpenForecastOptionFields(EffectiveForecastOptions(options)));
    EXPECT_FALSE(dialog.ChangeLagCombo().isEnabled());
    dialog.ForecasterCheck().setChecked(false);
    EXPECT_EQ(dialog.ChangeLagCombo().currentText(), QStringLiteral("5"));
    dialog.ChangeLagCombo().setEditText(QStringLiteral("Season"));
    dialog.TapsByRuleCheck().setChecked(true);
    dialog.StartsEdit().setText(QStringLiteral("100"));
    dialog.SeedEdit().setText(QStringLiteral("0"));
    Press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    expected = ForecastOptions{};
    expected.changeLag = ForecastOptions::ChangeLagSeason;
    expected.tapsByRule = true;
    expected.starts = 100;
    expected.seed = 0;
    EXPECT_EQ(options, expected);
}

TEST_F(ConfigureForecasting, RefusalKeepsTheDialogOpenAndCancelChangesNothing)
{
    const ForecastOptions before = options;
    CConfigureForecastingDialog dialog(options, prompts);
    dialog.PatientCheck().setChecked(true);
    struct Case {
        const char* lag;
        const char* starts;
        const char* message;
    };
    for (const Case& c : {Case{"1001", "1", "Error: Learn the Change Must Be Off, Season, Auto or 1 to 1000"},
                          Case{"Season", "101", "Error: Starts Must Be 1 to 100"}}) {
        prompts.log.clear();
        dialog.ChangeLagCombo().setEditText(QString::fromLatin1(c.lag));
        dialog.StartsEdit().setText(QString::fromLatin1(c.starts));
        Press(dialog, QDialogButtonBox::Ok);
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.message;
        ASSERT_EQ(prompts.log.size(), 1u);
        EXPECT_EQ(prompts.log[0].kind, "Error");
        EXPECT_EQ(prompts.log[0].text, c.message);
        EXPECT_EQ(options, before) << c.message; // not even the switch that passed
    }
    Press(dialog, QDialogButtonBox::Cancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(options, before);
}

// Through the menu the dialog acts on the program's settings, which are written out with
// the others when the program ends.
TEST(ConfigureForecastingCommand, StoresIntoTheSettingsWrittenAtExit)
{
    ShellFixture shell;
    bool shown = false;
    shell.prompts.dialogScript = [&](QDialog& dialog) {
        shown = true;
        auto& forecasting = dynamic_cast<CConfigureForecastingDialog&>(dialog);
        forecasting.PatientCheck().setChecked(true);
        forecasting.SeedEdit().setText(QStringLiteral("4242"));
        forecasting.accept();
        return dialog.result() == QDialog::Accepted;
    };
    EXPECT_TRUE(shell.App().MainFrame()->RouteCommand(CmdForecastingOptions));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(shell.App().Settings().forecast.patientTraining);
    EXPECT_EQ(shell.App().Settings().forecast.seed, 4242u);
    shell.App().ShutDown();
    EXPECT_EQ(shell.store.strings["Strings/PatientTraining"], "TRUE");
    EXPECT_EQ(shell.store.integers["Constants/TrainingSeed"], 4242);
}

} // namespace
} // namespace orvalis::test
