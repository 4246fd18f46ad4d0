#include "shell/ResultsModeBar.h"

#include "worksheet/AppSettings.h"

#include <QComboBox>
#include <QLabel>

namespace orvalis {

ResultsModeBar::ResultsModeBar(QWidget* parent)
    : QToolBar(QStringLiteral("Results Mode"), parent)
    , m_combo(new QComboBox(this))
{
    setObjectName(QStringLiteral("ResultsModeBar"));
    setAccessibleName(QStringLiteral("Results mode bar"));
    setMovable(false);
    auto* label = new QLabel(QStringLiteral("Results Mode:"), this);
    label->setBuddy(m_combo);
    label->setContentsMargins(8, 0, 4, 0);
    addWidget(label);
    m_combo->addItem(QStringLiteral("Model Evaluate"));
    m_combo->addItem(QStringLiteral("Data Extrapolate"));
    m_combo->setAccessibleName(QStringLiteral("Results Mode:"));
    m_combo->setObjectName(QStringLiteral("ResultsModeCombo"));
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    addWidget(m_combo);
    // activated: only a choice the user confirmed, also of the item already shown.
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        if (index == 0)
            emit modeChosen(ResultsModeEvaluate);
        else if (index == 1)
            emit modeChosen(ResultsModeExtrapolate);
    });
}

void ResultsModeBar::ShowMode(int mode)
{
    m_combo->setCurrentIndex(mode == ResultsModeEvaluate ? 0 : 1);
}

}  // namespace orvalis
