#include "worksheet/ui/ConfigureResultsDialog.h"

#include "worksheet/ResultParameterFields.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/DialogFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvalis {

namespace {

QFormLayout* AddGroup(QVBoxLayout& layout, const QString& title)
{
    auto* group = new QGroupBox(title);
    auto* form = new QFormLayout(group);
    layout.addWidget(group);
    return form;
}

} // namespace

CConfigureResultsDialog::CConfigureResultsDialog(Worksheet& ws, FigureOfMeritWeights& weights,
                                                 QWidget* parent)
    : QDialog(parent)
    , m_ws(ws)
    , m_weights(weights)
{
    setWindowTitle(QStringLiteral("Configure Results"));
    auto* layout = new QVBoxLayout(this);

    // The weight labels repeat in both figure-of-merit groups: the group names them.
    const QString training = QStringLiteral("Training Figure Of Merit");
    QFormLayout* form = AddGroup(*layout, training);
    m_trainAvg = AddValueField(*form, "Val Avg Weight:", training);
    m_trainSd = AddValueField(*form, "Val Std Dev Weight:", training);

    const QString estimate = QStringLiteral("Estimate Figure Of Merit");
    form = AddGroup(*layout, estimate);
    m_estimateAvg = AddValueField(*form, "Val Avg Weight:", estimate);
    m_estimateSd = AddValueField(*form, "Val Std Dev Weight:", estimate);

    form = AddGroup(*layout, QStringLiteral("Extrapolation Parameters"));
    m_interval = AddField(*form, "Interval Length:");
    m_phaseOffset = AddValueField(*form, "Phase Offset:");

    form = AddGroup(*layout, QStringLiteral("Forecast Check"));
    m_season = AddField(*form, "Season Length:");
    m_season->setToolTip(QStringLiteral("Rows per season of the seasonal naive forecast: Auto "
                                        "finds it from the Training and Testing rows, None "
                                        "has no season, or a number of rows from 2."));

    form = AddGroup(*layout, QStringLiteral("Display"));
    m_commentRow = new QCheckBox(QStringLiteral("Comment Header Row"));
    form->addRow(m_commentRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* defaults = buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &CConfigureResultsDialog::OnDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigureResultsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigureResultsDialog::reject);
    layout->addWidget(buttons);

    const ResultParameterFields fields = OpenResultParameterFields(ws.Settings(), ws.phaseOffset, weights);
    ShowFields(fields);
    m_commentRow->setChecked(fields.commentHeaderRow);
    m_interval->setFocus();
}

void CConfigureResultsDialog::ShowFields(const ResultParameterFields& fields)
{
    m_trainAvg->setText(FromLatin1(fields.trainValueAvgWeight));
    m_trainSd->setText(FromLatin1(fields.trainValueSdWeight));
    m_estimateAvg->setText(FromLatin1(fields.estimateValueAvgWeight));
    m_estimateSd->setText(FromLatin1(fields.estimateValueSdWeight));
    m_interval->setText(FromLatin1(fields.intervalLength));
    m_phaseOffset->setText(FromLatin1(fields.phaseOffset));
    m_season->setText(FromLatin1(fields.seasonLength));
}

void CConfigureResultsDialog::OnDefaults()
{
    ResultParameterFields fields;
    ApplyResultDefaults(fields, m_ws.Settings(), m_ws.phaseOffset, m_weights);
    ShowFields(fields);
}

void CConfigureResultsDialog::accept()
{
    ResultParameterFields fields;
    fields.trainValueAvgWeight = ToLatin1(m_trainAvg->text());
    fields.trainValueSdWeight = ToLatin1(m_trainSd->text());
    fields.estimateValueAvgWeight = ToLatin1(m_estimateAvg->text());
    fields.estimateValueSdWeight = ToLatin1(m_estimateSd->text());
    fields.intervalLength = ToLatin1(m_interval->text());
    fields.phaseOffset = ToLatin1(m_phaseOffset->text());
    fields.commentHeaderRow = m_commentRow->isChecked();
    fields.seasonLength = ToLatin1(m_season->text());
    if (AcceptResultParameterFields(fields, m_ws.Settings(), m_weights, m_ws.Messages()))
        QDialog::accept();
}

} // namespace orvalis
