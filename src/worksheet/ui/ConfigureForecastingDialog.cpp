#include "worksheet/ui/ConfigureForecastingDialog.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ui/DialogFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvalis {

namespace {

// The choices offered for "Learn the change"; any number of rows back can be typed.
constexpr const char* kChangeLagEntries[] = {"Off", "1", "Season"};

// The line under an option saying what it does. A screen reader gets it as the field's
// description.
void AddNote(QFormLayout& form, QWidget& field, const char* text)
{
    auto* note = new QLabel(QString::fromLatin1(text));
    note->setContentsMargins(20, 0, 0, 6);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    field.setAccessibleDescription(note->text());
    form.addRow(note);
}

QCheckBox* AddSwitch(QFormLayout& form, const char* label, const char* note)
{
    auto* check = new QCheckBox(QString::fromLatin1(label));
    check->setAccessibleName(check->text());
    form.addRow(check);
    AddNote(form, *check, note);
    return check;
}

} // namespace

CConfigureForecastingDialog::CConfigureForecastingDialog(ForecastOptions& options,
                                                         UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_options(options), m_messages(messages)
{
    setWindowTitle(QStringLiteral("Configure Forecasting"));
    auto* form = new QFormLayout;
    m_forecaster = AddSwitch(*form, "Forecaster's settings",
                             "Turns on the options that forecast best on public series (greyed below).");
    // The switch stands over the options it sets: a line keeps it apart from them.
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    form->addRow(line);

    // An editable drop-down: the three usual choices, or any number of rows back typed in.
    m_changeLag = new QComboBox;
    m_changeLag->setEditable(true);
    m_changeLag->setInsertPolicy(QComboBox::NoInsert);
    for (const char* entry : kChangeLagEntries)
        m_changeLag->addItem(QString::fromLatin1(entry));
    m_changeLag->setAccessibleName(QStringLiteral("Learn the change:"));
    // Where the platform names a combo box by its text, the typing field inside still
    // carries the label.
    m_changeLag->lineEdit()->setAccessibleName(m_changeLag->accessibleName());
    auto* lagLabel = new QLabel(QStringLiteral("Learn the change:"));
    lagLabel->setBuddy(m_changeLag);
    form->addRow(lagLabel, m_changeLag);
    AddNote(*form, *m_changeLag,
            "Learn the change over that many rows (or a season), so trends carry on.");

    m_tapsByRule = AddSwitch(*form, "Window by rule",
                             "Num Taps from the series: one season and one row, or the best order.");
    m_patient = AddSwitch(*form, "Patient training",
                          "Train to Maximum Cycles and keep the weights best on the Testing rows.");
    m_starts = AddField(*form, "Starts:");
    AddNote(*form, *m_starts, "Train from this many random starts and keep the best network.");
    m_seed = AddField(*form, "Seed:");
    AddNote(*form, *m_seed, "The random start of the first training: another seed, another start.");
    m_leakFree = AddSwitch(*form, "Leak-free evaluation",
                           "Evaluate estimates each row from the rows before it only.");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigureForecastingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigureForecastingDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    m_own = OpenForecastOptionFields(options);
    m_forecaster->setChecked(m_own.forecaster);
    ShowFields(m_own.forecaster ? ForecasterShownFields(m_own) : m_own);
    EnableFields();
    connect(m_forecaster, &QCheckBox::toggled, this, &CConfigureForecastingDialog::OnForecasterToggled);
    m_forecaster->setFocus();
}

ForecastOptionFields CConfigureForecastingDialog::Shown() const
{
    ForecastOptionFields fields;
    fields.forecaster = m_forecaster->isChecked();
    fields.changeLag = ToLatin1(m_changeLag->currentText());
    fields.tapsByRule = m_tapsByRule->isChecked();
    fields.patientTraining = m_patient->isChecked();
    fields.starts = ToLatin1(m_starts->text());
    fields.seed = ToLatin1(m_seed->text());
    fields.leakFreeEvaluation = m_leakFree->isChecked();
    return fields;
}

void CConfigureForecastingDialog::ShowFields(const ForecastOptionFields& fields)
{
    m_changeLag->setEditText(FromLatin1(fields.changeLag));
    m_tapsByRule->setChecked(fields.tapsByRule);
    m_patient->setChecked(fields.patientTraining);
    m_starts->setText(FromLatin1(fields.starts));
    m_seed->setText(FromLatin1(fields.seed));
    m_leakFree->setChecked(fields.leakFreeEvaluation);
}

void CConfigureForecastingDialog::OnForecasterToggled(bool on)
{
    ForecastOptionFields shown = Shown();
    if (on) {
        m_own = shown;
        ShowFields(ForecasterShownFields(shown));
    } else {
        // What the user had before the switch went on, with any edits made since to the
        // fields the switch left alone.
        shown.forecaster = true;
        ShowFields(FieldsToStore(shown, m_own));
    }
    EnableFields();
}

void CConfigureForecastingDialog::EnableFields()
{
    const bool on = m_forecaster->isChecked();
    const ForecasterGoverned governed = GovernedByForecaster();
    m_changeLag->setEnabled(!(on && governed.changeLag));
    m_tapsByRule->setEnabled(!(on && governed.tapsByRule));
    m_patient->setEnabled(!(on && governed.patientTraining));
    m_starts->setEnabled(!(on && governed.starts));
    m_seed->setEnabled(!(on && governed.seed));
    m_leakFree->setEnabled(!(on && governed.leakFreeEvaluation));
}

void CConfigureForecastingDialog::accept()
{
    if (AcceptForecastOptionFields(FieldsToStore(Shown(), m_own), m_options, m_messages))
        QDialog::accept();
}

} // namespace orvalis
