#include "worksheet/ui/EstimateResultDialog.h"

#include "worksheet/EvaluationRun.h"
#include "worksheet/NumberText.h"
#include "worksheet/ui/ConfidenceGroup.h"
#include "worksheet/ui/DialogFields.h"
#include "worksheet/ui/ForecastVerdictLabel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvalis {

CEstimateResultDialog::CEstimateResultDialog(const EstimateFigures& figures, QWidget* parent,
                                             const ForecastCheck* check)
    : QDialog(parent), m_slope(new CConfidenceGroup(QStringLiteral("Slope Confidence Level"))), m_value(new CConfidenceGroup(QStringLiteral("Value Confidence Level")))
{
    setWindowTitle(QStringLiteral("Estimate Operation"));
    auto* rate = new QGroupBox(QStringLiteral("Equivalent Rate of Return"));
    auto* form = new QFormLayout(rate);
    m_interval = AddValueField(*form, "Interval Length:");
    m_actual = AddValueField(*form, "Actual Basis:");
    m_estimate = AddValueField(*form, "Estimate Basis:");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEstimateResultDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEstimateResultDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_slope);
    layout->addWidget(m_value);
    layout->addWidget(rate);
    m_verdict = new QLabel(this);
    layout->addWidget(m_verdict);
    ShowForecastVerdict(*m_verdict, check);
    layout->addWidget(buttons);

    m_slope->ShowConfidence(figures.slopeConfidence);
    m_value->ShowConfidence(figures.valueConfidence);
    m_actual->setText(FromLatin1(FormatNumber("%f", figures.actualBasis)));
    m_estimate->setText(FromLatin1(FormatNumber("%f", figures.estimateBasis)));
    m_interval->setText(QString::number(figures.intervalLength));
}

void CEstimateResultDialog::ShowForecastCheck(const ForecastCheck* check)
{
    ShowForecastVerdict(*m_verdict, check);
}

} // namespace orvalis
