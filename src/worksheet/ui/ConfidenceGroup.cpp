#include "worksheet/ui/ConfidenceGroup.h"

#include "network/ConfidenceRating.h"
#include "worksheet/NumberText.h"
#include "worksheet/ui/DialogFields.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <algorithm>

namespace orvalis {

namespace {
constexpr int kBarMinimum = 1;
constexpr int kBarMaximum = 100;
} // namespace

CConfidenceGroup::CConfidenceGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
    , m_bar(new QProgressBar)
{
    m_bar->setRange(kBarMinimum, kBarMaximum);
    m_bar->setTextVisible(false);
    m_bar->setAccessibleName(title);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(new QLabel(QStringLiteral("Poor")));
    barRow->addWidget(m_bar, 1);
    barRow->addWidget(new QLabel(QStringLiteral("Good")));

    auto* form = new QFormLayout;
    m_confidence = AddValueField(*form, "Confidence:", title);
    m_state = AddValueField(*form, "State:", title);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(barRow);
    layout->addLayout(form);
    ShowInitial();
}

void CConfidenceGroup::ShowInitial()
{
    m_bar->reset();
    m_confidence->setText(QStringLiteral("0"));
    m_state->setText(QStringLiteral("Run"));
}

void CConfidenceGroup::ShowConfidence(double confidence)
{
    // The bar clamps to its range; a figure below the minimum leaves it empty (a
    // progress bar ignores values outside its range instead of clamping them).
    const int position = ConfidenceBarPosition(confidence);
    if (position < kBarMinimum)
        m_bar->reset();
    else
        m_bar->setValue(std::min(position, kBarMaximum));
    m_state->setText(QString::fromLatin1(RateConfidence(confidence)));
    m_confidence->setText(FromLatin1(FormatNumber("%f", confidence)));
}

} // namespace orvalis
