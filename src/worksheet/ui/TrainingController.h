#pragma once

#include "worksheet/TrainingRun.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QWidget;

namespace orvalis {

class CGridDoc;
class CTrainingProgressDialog;

// The Actions and Configure commands of a worksheet window, and the one "Training
// Operation" window of the program. A training run keeps the windows alive by
// dispatching pending events once per cycle, so other commands can arrive while it
// runs: every command here is refused while a run is going (IsRunning), and the
// worksheet being trained is locked against edits and closing (CGridDoc::IsRunLocked).
// Continue and Abort act on the worksheet that was trained last, whichever worksheet
// is active when they are pressed.
class CTrainingController final : public QObject, private TrainingProgress {
    Q_OBJECT
public:
    // owner: the main window, parent of every dialog; it must outlive the controller.
    explicit CTrainingController(QWidget& owner, QObject* parent = nullptr);
    ~CTrainingController() override;

    bool IsRunning() const { return m_running; }
    // The worksheet of the current or last training run (null once it is closed).
    CGridDoc* TrainedDocument() const { return m_trained.data(); }
    // The Training Operation window, or null when it is not open.
    CTrainingProgressDialog* ProgressDialog() const;
    // False: the windows of later runs leave the live curve out (to measure what it
    // costs a run).
    bool liveCurve = true;

    // The commands, on the given worksheet. Each does nothing while a run is going.
    void Train(CGridDoc& doc);
    void Evaluate(CGridDoc& doc);
    void ClearTraining(CGridDoc& doc);
    void AutoConfigVectors(CGridDoc& doc);
    void ConfigureNetwork(CGridDoc& doc);
    void ConfigureTraining(CGridDoc& doc);
    void ConfigureResults(CGridDoc& doc);

    // The Training Operation window's buttons.
    void Continue();
    void Abort();

    // Ends the running training as Abort does and calls then once the run has written
    // its results and returned; without a run, calls then at once.
    void AbortThen(std::function<void()> then);

signals:
    // A run started or ended: commands that are refused during a run change state.
    void runningChanged(bool running);
    // Evaluate extended the series of doc past its sections (Data Extrapolate): summary
    // says by how much, for the status bar ("Extrapolated 5 rows after row 144").
    void forecastMade(CGridDoc* doc, const QString& summary);

private:
    // TrainingProgress
    void Show() override;
    void DispatchPendingEvents() override;
    void ReportCycle(int cycle, int updates, double trainRatio, double testRatio) override;
    void BeginStart(int start, int count) override;
    void KeptStart(int start, int count) override;
    void ShowConfidence(float slopeConfidence, float valueConfidence) override;

    // Runs body as a training run of doc: locks it and refuses other commands meanwhile.
    void RunLocked(CGridDoc& doc, const std::function<void()>& body);
    void SetRunning(CGridDoc& doc, bool running);
    // Puts the last cycle's report into the window if it is not shown yet.
    void ShowLastReport();

    // The last cycle's report. The window shows a report at most every
    // kReportIntervalMs: painting it costs far more than a small network's cycle, and
    // nobody reads figures that change faster. Events are still dispatched every cycle.
    struct CycleReport {
        int cycle = 0;
        int updates = 0;
        double trainRatio = 0.0;
        double testRatio = 0.0;
        bool pending = false;  // not yet in the window
    };
    static constexpr qint64 kReportIntervalMs = 30;
    CycleReport m_report;
    // With several starts: the start running, and each start's last report, so that the
    // window ends on the figures of the start whose network was kept.
    int m_start = 0;
    std::vector<CycleReport> m_startReports;
    QElapsedTimer m_sinceReportShown;  // invalid: the next report shows at once

    QWidget& m_owner;
    QPointer<CTrainingProgressDialog> m_dialog;
    bool m_curveFed = false;  // the window's curve is shown, so it gets every cycle
    QPointer<CGridDoc> m_trained;
    QPointer<CGridDoc> m_starting; // the worksheet a Train command is starting on
    bool m_running = false;
    std::function<void()> m_afterRun;
};

// The status bar's word on a forecast: "Extrapolated 5 rows after row 144".
QString ForecastSummary(int rows, int afterRow);

} // namespace orvalis
