#include "worksheet/ui/TrainingProgressDialog.h"

#include "worksheet/NumberText.h"
#include "worksheet/ui/ConfidenceGroup.h"
#include "worksheet/ui/DialogFields.h"
#include "worksheet/ui/TrainingCurve.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace orvalis {

CTrainingProgressDialog::CTrainingProgressDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Training Operation"));
    setModal(false);

    auto* operation = new QGroupBox(QStringLiteral("Operation"));
    auto* form = new QFormLayout(operation);
    m_operation = form;
    m_start = AddValueField(*form, "Start:");
    form->setRowVisible(m_start, false); // until a training of several starts begins
    m_iterations = AddValueField(*form, "Iterations:");
    m_updates = AddValueField(*form, "Updates:");
    m_trainRatio = AddValueField(*form, "RMS Training Vector Error:");
    m_testRatio = AddValueField(*form, "RMS Testing Vector Error:");
    m_iterations->setText(QStringLiteral("0"));
    m_updates->setText(QStringLiteral("0"));
    m_trainRatio->setText(QStringLiteral("0.0"));
    m_testRatio->setText(QStringLiteral("0.0"));

    m_abort = new QPushButton(QStringLiteral("Abort"));
    m_continue = new QPushButton(QStringLiteral("Continue"));
    auto* runButtons = new QHBoxLayout;
    runButtons->addWidget(m_abort);
    runButtons->addWidget(m_continue);
    runButtons->addStretch(1);
    connect(m_abort, &QPushButton::clicked, this, &CTrainingProgressDialog::abortRequested);
    connect(m_continue, &QPushButton::clicked, this, &CTrainingProgressDialog::continueRequested);

    m_slope = new CConfidenceGroup(QStringLiteral("Slope Confidence Level"));
    m_value = new CConfidenceGroup(QStringLiteral("Value Confidence Level"));

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CTrainingProgressDialog::accept);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(operation);
    layout->addLayout(runButtons);
    layout->addWidget(m_slope);
    layout->addWidget(m_value);
    m_curve = new CTrainingCurve(this);
    layout->addWidget(m_curve, 1);
    m_curve->hide();  // until the window is shown on a screen with room for it
    layout->addLayout(okRow);
}

void CTrainingProgressDialog::ReportCycle(int cycle, int updates, double trainRatio,
                                          double testRatio)
{
    m_trainRatio->setText(FromLatin1(FormatNumber("%f", trainRatio)));
    m_testRatio->setText(FromLatin1(FormatNumber("%f", testRatio)));
    m_iterations->setText(QString::number(cycle));
    m_updates->setText(QString::number(updates));
}

void CTrainingProgressDialog::ShowConfidence(double slopeConfidence, double valueConfidence)
{
    m_slope->ShowConfidence(slopeConfidence);
    m_value->ShowConfidence(valueConfidence);
}

void CTrainingProgressDialog::ShowStart(int start, int count, bool kept)
{
    m_start->setText(QStringLiteral("%1 of %2%3")
                         .arg(start)
                         .arg(count)
                         .arg(kept ? QStringLiteral(" (kept)") : QString()));
    // The layout grows the window by the row if it has no room to spare.
    m_operation->setRowVisible(m_start, true);
}

void CTrainingProgressDialog::SetRunning(bool running)
{
    m_running = running;
    m_continue->setEnabled(!running);
    m_ok->setEnabled(!running);
}

void CTrainingProgressDialog::reject()
{
    // Escape and the title bar's close act as OK, except during a run.
    if (!m_running)
        accept();
}

void CTrainingProgressDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_curvePlaced)
        return;
    m_curvePlaced = true;
    // The window asks for its fields' height only, so that it fits a small screen at a
    // large scale. Where the screen has room to spare, the curve is shown under them
    // (the title bar and a margin kept free); on a small screen it stays collapsed.
    constexpr int kFrameAllowance = 48;
    const QScreen* shown = screen();
    const int usable = shown ? shown->availableGeometry().height() - kFrameAllowance : 0;
    if (usable - height() < CTrainingCurve::kMinimumHeight + layout()->spacing())
        return;
    m_curve->show();
    layout()->activate();
    resize(width(), std::min(sizeHint().height(), usable));
}

void CTrainingProgressDialog::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace orvalis
