#pragma once

#include <QDialog>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace orvalis {

class CConfidenceGroup;
class CTrainingCurve;

// "Training Operation": the modeless window a training run reports to. Each cycle
// shows the cycle number, the updates and the two error ratios; after the run the two
// confidence figures. Abort and Continue are only signalled: the training controller
// decides what they do. While a run is going, OK and Continue are disabled and the
// window cannot be closed, so Abort stays within reach until the run ends.
class CTrainingProgressDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CTrainingProgressDialog(QWidget* parent = nullptr);

    // One cycle's report: the training ratio, the testing ratio, the cycle, the
    // updates, in that order; painted with the next dispatch of pending events. The
    // curve is fed separately, every cycle (Curve().AddCycle).
    void ReportCycle(int cycle, int updates, double trainRatio, double testRatio);
    // The slope figure first, then the value figure.
    void ShowConfidence(double slopeConfidence, double valueConfidence);
    // A training of several starts begins start `start` of `count`: the "Start:" row
    // appears and says "2 of 5". A single training never shows it.
    // After the last start: "1 of 5 (kept)", the start whose network the training kept.
    void ShowStart(int start, int count, bool kept = false);
    // Enables or disables what must not act during a run.
    void SetRunning(bool running);

    QLineEdit& StartField() { return *m_start; }
    QLineEdit& IterationsField() { return *m_iterations; }
    QLineEdit& UpdatesField() { return *m_updates; }
    QLineEdit& TrainRatioField() { return *m_trainRatio; }
    QLineEdit& TestRatioField() { return *m_testRatio; }
    CConfidenceGroup& SlopeGroup() { return *m_slope; }
    CConfidenceGroup& ValueGroup() { return *m_value; }
    QPushButton& AbortButton() { return *m_abort; }
    QPushButton& ContinueButton() { return *m_continue; }
    QPushButton& OkButton() { return *m_ok; }
    // The ratios of the run so far, under the fields, in the room the screen has left.
    CTrainingCurve& Curve() { return *m_curve; }
    // Before the window is first shown: leaves the curve out, whatever the screen.
    void CollapseCurve() { m_curvePlaced = true; }

signals:
    void abortRequested();
    void continueRequested();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFormLayout* m_operation;
    QLineEdit* m_start;
    QLineEdit* m_iterations;
    QLineEdit* m_updates;
    QLineEdit* m_trainRatio;
    QLineEdit* m_testRatio;
    QPushButton* m_abort;
    QPushButton* m_continue;
    QPushButton* m_ok;
    CConfidenceGroup* m_slope;
    CConfidenceGroup* m_value;
    CTrainingCurve* m_curve;
    bool m_running = false;
    bool m_curvePlaced = false;  // the curve shown or left collapsed, once
};

} // namespace orvalis
