#include "worksheet/ui/ConfigureTrainingDialog.h"

#include "worksheet/AppSettings.h"
#include "worksheet/TrainingParameterFields.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/DialogFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvalis {

CConfigureTrainingDialog::CConfigureTrainingDialog(Worksheet& ws, QWidget* parent)
    : QDialog(parent)
    , m_ws(ws)
{
    setWindowTitle(QStringLiteral("Configure Training"));
    auto* form = new QFormLayout;
    m_iterations = AddField(*form, "Iterations/Cycle:");
    m_maxCycles = AddField(*form, "Maximum Cycles:");
    m_errorRatio = AddField(*form, "Error Ratio Goal:");
    m_learningRate = AddField(*form, "Learning Rate:");
    m_gain = AddField(*form, "Unit Gain Term:");
    m_momentum = AddField(*form, "Unit Momentum Term:");

    // An editable drop-down: OK takes the text when it is one of the two entries.
    m_mode = new QComboBox;
    m_mode->setEditable(true);
    m_mode->setInsertPolicy(QComboBox::NoInsert);
    for (const char* entry : TrainingModeListEntries)
        m_mode->addItem(QString::fromLatin1(entry));
    m_mode->setAccessibleName(QStringLiteral("Mode:"));
    auto* modeLabel = new QLabel(QStringLiteral("Mode:"));
    modeLabel->setBuddy(m_mode);
    form->addRow(modeLabel, m_mode);

    m_autoTraining = new QCheckBox(QStringLiteral("Auto Training Configure"));
    m_autoSizing = new QCheckBox(QStringLiteral("Auto Vector Sizing"));
    m_autoNote = new QLabel(
        QStringLiteral("Train sets these values to their defaults while this box is ticked."));
    m_autoNote->setWordWrap(true);
    form->addRow(m_autoTraining);
    form->addRow(m_autoNote);
    form->addRow(m_autoSizing);
    connect(m_autoTraining, &QCheckBox::toggled, this, [this] { ShowAutomaticState(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* defaults = buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &CConfigureTrainingDialog::OnDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigureTrainingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigureTrainingDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    ShowFields(OpenTrainingParameterFields(ws.Network().net.parameters,
                                           ws.network.autoTrainingConfigure,
                                           ws.Settings().autoVectorSizing,
                                           ws.Settings().use2PassEstimate));
    ShowAutomaticState();
    m_iterations->setFocus();
}

void CConfigureTrainingDialog::ShowAutomaticState()
{
    const bool automatic = m_autoTraining->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{m_iterations, m_maxCycles, m_errorRatio,
                                                          m_learningRate, m_gain, m_momentum,
                                                          m_mode})
        field->setEnabled(!automatic);
    m_autoNote->setVisible(automatic);
}

TrainingParameterFields CConfigureTrainingDialog::Fields() const
{
    TrainingParameterFields fields;
    fields.iterationsPerCycle = ToLatin1(m_iterations->text());
    fields.maxCycles = ToLatin1(m_maxCycles->text());
    fields.errorRatioGoal = ToLatin1(m_errorRatio->text());
    fields.learningRate = ToLatin1(m_learningRate->text());
    fields.gain = ToLatin1(m_gain->text());
    fields.momentum = ToLatin1(m_momentum->text());
    fields.mode = ToLatin1(m_mode->currentText());
    fields.autoTrainingConfigure = m_autoTraining->isChecked();
    fields.autoVectorSizing = m_autoSizing->isChecked();
    return fields;
}

void CConfigureTrainingDialog::ShowFields(const TrainingParameterFields& fields)
{
    m_iterations->setText(FromLatin1(fields.iterationsPerCycle));
    m_maxCycles->setText(FromLatin1(fields.maxCycles));
    m_errorRatio->setText(FromLatin1(fields.errorRatioGoal));
    m_learningRate->setText(FromLatin1(fields.learningRate));
    m_gain->setText(FromLatin1(fields.gain));
    m_momentum->setText(FromLatin1(fields.momentum));
    m_mode->setEditText(FromLatin1(fields.mode));
    m_autoTraining->setChecked(fields.autoTrainingConfigure);
    m_autoSizing->setChecked(fields.autoVectorSizing);
}

void CConfigureTrainingDialog::OnDefaults()
{
    TrainingParameterFields fields = Fields();
    ApplyTrainingDefaultFields(fields);
    ShowFields(fields);
}

void CConfigureTrainingDialog::accept()
{
    TrainingParameterFields fields = Fields();
    TrainingParameters parameters = m_ws.Network().net.parameters;
    int autoTraining = m_ws.network.autoTrainingConfigure;
    AppSettings& settings = m_ws.Settings();
    const bool closes =
        AcceptTrainingParameterFields(fields, parameters, autoTraining, settings.autoVectorSizing,
                                      settings.use2PassEstimate, m_ws.Messages());
    // Values that passed before a refused field stay stored.
    m_ws.network.autoTrainingConfigure = autoTraining;
    SetTrainingParameters(m_ws, parameters);
    if (closes) {
        ShowFields(fields);
        QDialog::accept();
    }
}

} // namespace orvalis
