#pragma once

#include "worksheet/ForecastOptionFields.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;

namespace orvalis {

struct ForecastOptions;
class UserMessages;

// "Configure Forecasting": the application-wide forecasting options. With "Forecaster's
// settings" ticked, the options that set decides show its values and are disabled;
// unticking brings back the user's own values. OK checks every field and stores them all
// only when all pass (a refused value shows its message and keeps the dialog open with
// nothing stored); Cancel changes nothing.
class CConfigureForecastingDialog final : public QDialog {
    Q_OBJECT
public:
    CConfigureForecastingDialog(ForecastOptions& options, UserMessages& messages,
                                QWidget* parent = nullptr);

    QCheckBox& ForecasterCheck() { return *m_forecaster; }
    QComboBox& ChangeLagCombo() { return *m_changeLag; }
    QCheckBox& TapsByRuleCheck() { return *m_tapsByRule; }
    QCheckBox& PatientCheck() { return *m_patient; }
    QLineEdit& StartsEdit() { return *m_starts; }
    QLineEdit& SeedEdit() { return *m_seed; }
    QCheckBox& LeakFreeCheck() { return *m_leakFree; }

public slots:
    void accept() override;

private:
    ForecastOptionFields Shown() const;
    // Fills every field but the forecaster's switch.
    void ShowFields(const ForecastOptionFields& fields);
    void OnForecasterToggled(bool on);
    // Enables every field the forecaster's settings do not decide while its switch is on.
    void EnableFields();

    ForecastOptions& m_options;
    UserMessages& m_messages;
    // The user's own values of the fields the forecaster's settings decide, kept while
    // its switch is on.
    ForecastOptionFields m_own;
    QCheckBox* m_forecaster;
    QComboBox* m_changeLag;
    QCheckBox* m_tapsByRule;
    QCheckBox* m_patient;
    QLineEdit* m_starts;
    QLineEdit* m_seed;
    QCheckBox* m_leakFree;
};

} // namespace orvalis
