#include "worksheet/ui/TrainingController.h"

#include "worksheet/EvaluationRun.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/ConfigureNetworkDialog.h"
#include "worksheet/ui/ConfigureResultsDialog.h"
#include "worksheet/ui/ConfigureTrainingDialog.h"
#include "worksheet/ui/EstimateResultDialog.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingCurve.h"
#include "worksheet/ui/TrainingProgressDialog.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <string>

namespace orvalis {

namespace {

// Why a run ends the worksheet's undo history, for the status bar.
const QString kTrainingReason = QStringLiteral("training changes the results");

// Why Train will not start on a worksheet whose extrapolation has no room, and the ways
// to make room: Evaluate would refuse after the whole run.
std::string NoRoomText(const ExtrapolationRoom& room)
{
    return "Error: Extrapolation Runs Past the Last Worksheet Row\n\n"
           "Evaluate extends the series by " +
           std::to_string(room.count) +
           " rows after Data " + std::to_string(room.lastDataRow) + ", and the worksheet is " +
           std::to_string(room.rowsShort) +
           (room.rowsShort == 1 ? " row" : " rows") +
           " short of them. Make room before training: use fewer rows (smaller sections), "
           "import with \"Keep the last rows\", or set a shorter Interval Length in "
           "Configure Results.";
}

} // namespace

QString ForecastSummary(int rows, int afterRow)
{
    return QStringLiteral("Extrapolated %1 %2 after row %3")
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
        .arg(afterRow);
}

CTrainingController::CTrainingController(QWidget& owner, QObject* parent)
    : QObject(parent)
    , m_owner(owner)
{
}

CTrainingController::~CTrainingController()
{
    delete m_dialog.data();
}

CTrainingProgressDialog* CTrainingController::ProgressDialog() const
{
    return m_dialog.data();
}

void CTrainingController::SetRunning(CGridDoc& doc, bool running)
{
    m_running = running;
    doc.SetRunLocked(running);
    if (m_dialog)
        m_dialog->SetRunning(running);
    emit runningChanged(running);
}

void CTrainingController::RunLocked(CGridDoc& doc, const std::function<void()>& body)
{
    QPointer<CGridDoc> guard(&doc);
    SetRunning(doc, true);
    body();
    ShowLastReport();
    // The document cannot close during the run (it is locked), but stay safe.
    if (guard)
        SetRunning(*guard, false);
    else {
        m_running = false;
        emit runningChanged(false);
    }
    if (m_afterRun) {
        // Called from the event loop, not from inside the command that ran the training.
        QTimer::singleShot(0, this, std::exchange(m_afterRun, {}));
    }
}

void CTrainingController::Train(CGridDoc& doc)
{
    if (m_running)
        return;
    // The worksheet becomes the trained one only once its run starts: a refused Train
    // leaves Continue with the worksheet trained before.
    m_starting = &doc;
    // A run whose results Evaluate could not extend is refused before it starts, not
    // after it has finished.
    if (const ExtrapolationRoom room = ExtrapolationRoomOf(doc.GetWorksheet()); !room.Fits()) {
        doc.Prompts().Error(NoRoomText(room));
        return;
    }
    const WorksheetUndo::ProgramChange change(doc.Undo(), kTrainingReason);
    RunLocked(doc, [&] { TrainWorksheet(doc.GetWorksheet(), this); });
}

void CTrainingController::Continue()
{
    if (m_running || !m_trained)
        return;
    CGridDoc& doc = *m_trained;
    const WorksheetUndo::ProgramChange change(doc.Undo(), kTrainingReason);
    RunLocked(doc, [&] { ContinueTraining(doc.GetWorksheet(), this); });
}

void CTrainingController::Abort()
{
    if (m_trained)
        m_trained->GetWorksheet().Network().net.abortRequested = 1;
}

void CTrainingController::AbortThen(std::function<void()> then)
{
    if (!m_running) {
        then();
        return;
    }
    Abort();
    m_afterRun = std::move(then);
}

void CTrainingController::Evaluate(CGridDoc& doc)
{
    if (m_running)
        return;
    EstimateFigures figures;
    bool evaluated = false;
    {
        const WorksheetUndo::ProgramChange change(
            doc.Undo(), QStringLiteral("evaluation changes the results"));
        evaluated = EvaluateWorksheet(doc.GetWorksheet(), &figures);
    }
    if (!evaluated)
        return;
    // Once per evaluation, in either mode: the Results panel shows its verdict and the
    // chart its intervals around an extrapolation. It computes on another thread while
    // this one goes on.
    doc.UpdateForecastCheck();
    if (!figures.show) {
        const Worksheet& ws = doc.GetWorksheet();
        if (ws.extrapolationCount > 0)
            emit forecastMade(&doc, ForecastSummary(ws.extrapolationCount, ws.counts.totalRows));
        return;
    }
    // The window is built while the check computes; its verdict line waits for it.
    CEstimateResultDialog dialog(figures, &m_owner);
    doc.FinishForecastCheck();
    dialog.ShowForecastCheck(doc.LastForecastCheck());
    doc.Prompts().RunDialog(dialog);
}

void CTrainingController::ClearTraining(CGridDoc& doc)
{
    if (m_running)
        return;
    const WorksheetUndo::ProgramChange change(doc.Undo(),
                                              QStringLiteral("Clear Training resets the results"));
    orvalis::ClearTraining(doc.GetWorksheet());
}

void CTrainingController::AutoConfigVectors(CGridDoc& doc)
{
    if (m_running)
        return;
    const WorksheetUndo::ProgramChange change(
        doc.Undo(), QStringLiteral("Auto-Config Vectors sets new sections"));
    orvalis::AutoConfigVectors(doc.GetWorksheet());
}

void CTrainingController::ConfigureNetwork(CGridDoc& doc)
{
    if (m_running)
        return;
    CConfigureNetworkDialog dialog(doc.GetWorksheet(), &m_owner);
    doc.Prompts().RunDialog(dialog);
}

void CTrainingController::ConfigureTraining(CGridDoc& doc)
{
    if (m_running)
        return;
    CConfigureTrainingDialog dialog(doc.GetWorksheet(), &m_owner);
    doc.Prompts().RunDialog(dialog);
}

void CTrainingController::ConfigureResults(CGridDoc& doc)
{
    if (m_running)
        return;
    CConfigureResultsDialog dialog(doc.GetWorksheet(), doc.MeritWeights(), &m_owner);
    doc.Prompts().RunDialog(dialog);
}

// Training progress --------------------------------------------------------------------

void CTrainingController::Show()
{
    m_trained = m_starting;
    // Each run starts with a fresh window showing the initial texts.
    delete m_dialog.data();
    m_dialog = new CTrainingProgressDialog(&m_owner);
    connect(m_dialog, &CTrainingProgressDialog::abortRequested, this, &CTrainingController::Abort);
    connect(m_dialog, &CTrainingProgressDialog::continueRequested, this,
            &CTrainingController::Continue);
    connect(m_dialog, &QDialog::finished, m_dialog, &QObject::deleteLater);
    m_dialog->SetRunning(true);
    m_sinceReportShown.invalidate();
    if (!liveCurve)
        m_dialog->CollapseCurve();
    m_dialog->show();
    m_curveFed = !m_dialog->Curve().isHidden();
    m_dialog->raise();
    m_dialog->repaint();
}

void CTrainingController::DispatchPendingEvents()
{
    QCoreApplication::processEvents();
}

void CTrainingController::ReportCycle(int cycle, int updates, double trainRatio, double testRatio)
{
    m_report = {cycle, updates, trainRatio, testRatio, true};
    if (m_start > 0 && static_cast<std::size_t>(m_start) <= m_startReports.size())
        m_startReports[static_cast<std::size_t>(m_start - 1)] = m_report;
    // The curve keeps every cycle (storing one is cheap and it paints on its own clock);
    // only the fields wait for the next report interval. A collapsed curve is never
    // shown again, so it is not fed.
    if (m_curveFed && m_dialog)
        m_dialog->Curve().AddCycle(cycle, trainRatio, testRatio);
    if (!m_sinceReportShown.isValid() || m_sinceReportShown.elapsed() >= kReportIntervalMs)
        ShowLastReport();
}

void CTrainingController::BeginStart(int start, int count)
{
    // The last cycle of the start before stays in the fields until this one reports.
    ShowLastReport();
    if (start == 1)
        m_startReports.assign(static_cast<std::size_t>(count), CycleReport{});
    m_start = start;
    if (m_dialog) {
        m_dialog->ShowStart(start, count);
        m_dialog->repaint();
    }
}

void CTrainingController::KeptStart(int start, int count)
{
    // The fields end on the kept start's last cycle, not on the last start's.
    if (start >= 1 && static_cast<std::size_t>(start) <= m_startReports.size()) {
        m_report = m_startReports[static_cast<std::size_t>(start - 1)];
        m_report.pending = true;
        ShowLastReport();
    }
    m_start = 0;
    m_startReports.clear();
    if (m_dialog)
        m_dialog->ShowStart(start, count, true);
}

void CTrainingController::ShowLastReport()
{
    if (m_report.pending && m_dialog)
        m_dialog->ReportCycle(m_report.cycle, m_report.updates, m_report.trainRatio,
                              m_report.testRatio);
    m_report.pending = false;
    m_sinceReportShown.start();
}

void CTrainingController::ShowConfidence(float slopeConfidence, float valueConfidence)
{
    // The run's last cycle is in the window before its results.
    ShowLastReport();
    // The curve's last cycles are drawn once the run has handed back to the event loop.
    if (m_dialog)
        m_dialog->Curve().FlushSoon();
    if (m_dialog)
        m_dialog->ShowConfidence(slopeConfidence, valueConfidence);
}

} // namespace orvalis
