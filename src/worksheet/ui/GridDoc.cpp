#include "worksheet/ui/GridDoc.h"

#include "worksheet/AppSettings.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/ui/DocumentType.h"
#include "worksheet/ui/ExportFile.h"
#include "worksheet/ui/FileNamingMessages.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QThreadPool>

namespace orvalis {

QString CGridDoc::FileFilter()
{
    return WorksheetDocType().DialogFilter();
}

QString CGridDoc::FileExtension()
{
    return WorksheetDocType().extension;
}

CGridDoc::CGridDoc(AppSettings& settings, UiPrompts& prompts, QObject* parent)
    : QObject(parent), m_settings(settings), m_prompts(prompts), m_messages(std::make_unique<FileNamingMessages>(prompts)), m_worksheet(std::make_unique<Worksheet>(settings, *m_messages)), m_undo(std::make_unique<WorksheetUndo>(*m_worksheet))
{
    m_worksheet->SetModifiedObserver([this](bool modified) {
        m_undo->OnModifiedChanged(modified);
        emit modifiedChanged(modified);
    });
    connect(&m_checkWatcher, &QFutureWatcher<ForecastCheck>::finished, this, &CGridDoc::TakeForecastCheck);
}

CGridDoc::~CGridDoc()
{
    // A check still computing owns its input and its network copy: it finishes on its
    // own, and nobody takes its result in.
    m_checkWatcher.disconnect(this);
    m_worksheet->SetModifiedObserver(nullptr);
    m_undo.reset();
}

void CGridDoc::SetTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(title);
}

bool CGridDoc::IsModified() const
{
    return m_worksheet->IsModified();
}

void CGridDoc::SetModifiedFlag(bool modified)
{
    m_worksheet->SetModified(modified);
    // Unmarked, the worksheet counts as equal to its file: undoing away from this step
    // marks it again, coming back clears the mark.
    if (!modified)
        m_undo->MarkSaved();
}

void CGridDoc::SetRunLocked(bool locked)
{
    if (m_runLocked == locked)
        return;
    m_runLocked = locked;
    CellStore& store = m_worksheet->Store();
    if (locked) {
        // Open edits end (and are stored) before the cells stop taking edits; this
        // closes every way in at once: typing, paste, cut and drop.
        emit runLockChanged(true);
        m_editableBeforeRun = store.editable;
        store.editable = false;
    } else {
        store.editable = m_editableBeforeRun;
        emit runLockChanged(false);
    }
}

bool CGridDoc::OnOpenDocument(const QString& path)
{
    m_messages->BeginOpen(path);
    const FileResult loaded = LoadWorksheetFile(*m_worksheet, QFile::encodeName(path).toStdString());
    m_messages->EndOpen(loaded);
    if (!loaded)
        return false;
    m_pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    SetModifiedFlag(false);
    // An opened worksheet shows its check with its first paint.
    UpdateForecastCheck();
    FinishForecastCheck();
    emit fileUsed(m_pathName);
    return true;
}

const ForecastCheck* CGridDoc::LastForecastCheck() const
{
    return m_worksheet->state == WorksheetState::Eval ? m_check.get() : nullptr;
}

void CGridDoc::UpdateForecastCheck()
{
    m_check.reset();
    m_pendingCheck = {};
    m_checkWatcher.setFuture(m_pendingCheck);
    if (m_worksheet->state != WorksheetState::Eval) {
        emit forecastCheckChanged();
        return;
    }
    const bool bands = m_settings.extrapolationRows > 0;
    ForecastCheckInput input = ReadLastEvaluationCheck(*m_worksheet, bands ? m_settings.extrapolationLen : 1);
    if (!input.readable) {
        m_check = std::make_unique<ForecastCheck>(RunForecastCheck(input));
        emit forecastCheckChanged();
        return;
    }
    // The input holds the values as this evaluation left them and a copy of the
    // network, so edits and runs after it cannot reach the computation.
    input.Detach();
    auto promise = std::make_shared<QPromise<ForecastCheck>>();
    m_pendingCheck = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, input = std::move(input)] {
        promise->addResult(RunForecastCheck(input));
        promise->finish();
    });
    m_checkWatcher.setFuture(m_pendingCheck);
    emit forecastCheckChanged(); // the check of the run before is gone
}

void CGridDoc::TakeForecastCheck()
{
    if (!m_pendingCheck.isValid() || !m_pendingCheck.isFinished() || m_pendingCheck.resultCount() < 1)
        return;
    m_check = std::make_unique<ForecastCheck>(m_pendingCheck.result());
    m_pendingCheck = {};
    emit forecastCheckChanged();
}

void CGridDoc::FinishForecastCheck()
{
    if (!m_pendingCheck.isValid())
        return;
    m_pendingCheck.waitForFinished();
    TakeForecastCheck();
}

bool CGridDoc::DoFileSave()
{
    if (m_pathName.isEmpty())
        return DoSaveAs();
    return DoSave(m_pathName);
}

bool CGridDoc::DoSaveAs()
{
    const QString suggested = m_pathName.isEmpty() ? m_title + FileExtension() : m_pathName;
    QString path = m_prompts.ChooseSaveFile(suggested, FileFilter());
    if (path.isEmpty())
        return false;
    // A name typed without an extension gets the worksheet extension.
    if (QFileInfo(path).suffix().isEmpty())
        path += FileExtension();
    return DoSave(path);
}

bool CGridDoc::DoExport()
{
    const QString base = m_pathName.isEmpty() ? m_title : QFileInfo(m_pathName).completeBaseName();
    QString path = m_prompts.ChooseExportFile(base + QStringLiteral(".csv"),
                                              QStringLiteral("CSV Files (*.csv);;All Files (*)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (WriteExportFile(path, UsedGridCsv(m_worksheet->Store())))
        return true;
    m_prompts.Error("Error: Cannot write file " + QFileInfo(path).fileName().toStdString());
    return false;
}

bool CGridDoc::DoSave(const QString& path)
{
    if (!SaveWorksheetFile(*m_worksheet, QFile::encodeName(path).toStdString()))
        return false;
    m_undo->MarkSaved();
    m_pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    emit fileUsed(m_pathName);
    return true;
}

bool CGridDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_prompts.AskSaveChanges(m_title)) {
    case UiPrompts::SaveAnswer::Yes:
        return DoFileSave();
    case UiPrompts::SaveAnswer::No:
        return true;
    case UiPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace orvalis
