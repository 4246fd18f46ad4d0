#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace orvalis {

struct TrainingParameterFields;
class Worksheet;

// "Configure Training": the worksheet's training parameters, its automatic switch, and
// the application-wide automatic sizing and 1 Pass / 2 Pass settings. Defaults only
// fills the fields. OK stores each value as soon as it passes, in the dialog's order
// of checks; a refused field shows its message and keeps the dialog open with the
// user's texts, and what was stored before it stays stored. While "Auto Training
// Configure" is ticked the parameter fields and the Mode are shown disabled with a note
// that Train sets them: OK does not read them then.
class CConfigureTrainingDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CConfigureTrainingDialog(Worksheet& ws, QWidget* parent = nullptr);

    QLineEdit& IterationsEdit() { return *m_iterations; }
    QLineEdit& MaxCyclesEdit() { return *m_maxCycles; }
    QLineEdit& ErrorRatioEdit() { return *m_errorRatio; }
    QLineEdit& LearningRateEdit() { return *m_learningRate; }
    QLineEdit& GainEdit() { return *m_gain; }
    QLineEdit& MomentumEdit() { return *m_momentum; }
    QComboBox& ModeCombo() { return *m_mode; }
    QCheckBox& AutoTrainingCheck() { return *m_autoTraining; }
    QCheckBox& AutoSizingCheck() { return *m_autoSizing; }
    QLabel& AutoTrainingNote() { return *m_autoNote; }

public slots:
    void accept() override;
    void OnDefaults();

private:
    TrainingParameterFields Fields() const;
    void ShowFields(const TrainingParameterFields& fields);
    // Enables the fields OK reads, and shows the note while Train sets them instead.
    void ShowAutomaticState();

    Worksheet& m_ws;
    QLineEdit* m_iterations;
    QLineEdit* m_maxCycles;
    QLineEdit* m_errorRatio;
    QLineEdit* m_learningRate;
    QLineEdit* m_gain;
    QLineEdit* m_momentum;
    QComboBox* m_mode;
    QCheckBox* m_autoTraining;
    QCheckBox* m_autoSizing;
    QLabel* m_autoNote;
};

} // namespace orvalis
