#include "shell/ResultsModeBar.h"

#include "worksheet/AppSettings.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
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
    m_combo->installEventFilter(this);
    // activated: only a choice the user confirmed, also of the item already shown.
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        if (index == 0)
            emit modeChosen(ResultsModeEvaluate);
        else if (index == 1)
            emit modeChosen(ResultsModeExtrapolate);
    });
}

namespace {

// A key with which the closed box would step to another item by itself.
bool ChoosesWhileClosed(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Alt with them opens the list, as F4 and Space do.
        return !(key.modifiers() & Qt::AltModifier);
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        // Typed letters pick the item they begin.
        return !key.text().isEmpty() && key.text().at(0).isPrint() &&
               key.text() != QStringLiteral(" ");
    }
}

} // namespace

bool ResultsModeBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_combo && !m_combo->view()->isVisible()) {
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() == QEvent::KeyPress &&
            ChoosesWhileClosed(*static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QToolBar::eventFilter(watched, event);
}

void ResultsModeBar::ShowMode(int mode)
{
    m_combo->setCurrentIndex(mode == ResultsModeEvaluate ? 0 : 1);
}

}  // namespace orvalis
