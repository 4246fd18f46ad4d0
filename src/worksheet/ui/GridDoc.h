#pragma once

#include "network/ResultParameters.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/ui/UiPrompts.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <memory>

namespace orvalis {

struct AppSettings;
class FileNamingMessages;

class Worksheet;
class WorksheetUndo;

// One open worksheet: the worksheet model with its cells, its title and file name,
// and the modified flag shown as the "*" of its windows. Saving, Save As, loading and
// the save question on closing live here; the windows only ask.
class CGridDoc final : public QObject {
    Q_OBJECT
public:
    // The filter of the worksheet file dialogs and the extension of worksheet files.
    static QString FileFilter();
    static QString FileExtension();  // ".ows"

    CGridDoc(AppSettings& settings, UiPrompts& prompts, QObject* parent = nullptr);
    ~CGridDoc() override;

    Worksheet& GetWorksheet() { return *m_worksheet; }
    const Worksheet& GetWorksheet() const { return *m_worksheet; }
    AppSettings& Settings() { return m_settings; }
    // The worksheet's undo history, shared by all of its windows.
    WorksheetUndo& Undo() { return *m_undo; }
    UiPrompts& Prompts() { return m_prompts; }

    // The four figure-of-merit weights of this document (set to their defaults when it
    // is created, not saved in its file).
    FigureOfMeritWeights& MeritWeights() { return m_meritWeights; }

    // True while a training run on this worksheet dispatches events: its cells take no
    // edits and its windows do not close until the run has ended.
    bool IsRunLocked() const { return m_runLocked; }
    void SetRunLocked(bool locked);

    QString Title() const { return m_title; }
    void SetTitle(const QString& title);
    // The file the worksheet was loaded from or last saved to; empty for a new one.
    QString PathName() const { return m_pathName; }

    bool IsModified() const;
    // Sets or clears the mark; cleared, the history's current step becomes the saved one.
    void SetModifiedFlag(bool modified = true);

    // The forecast check of the worksheet's last evaluation: computed once per Evaluate
    // and once when an evaluated file is opened, never while drawing. Null while the
    // worksheet is not in state Eval (a later run, Clear Training or a mode switch), and
    // until the check computed away from the window has arrived.
    const ForecastCheck* LastForecastCheck() const;
    // Checks the worksheet as it stands (after an evaluation) and tells the views; drops
    // the check when the worksheet is not evaluated. Model Evaluate shows the one-step
    // figures (the verdict, the coverage of the one-step intervals); Data Extrapolate the
    // interval bands of every extrapolated row. The worksheet is read at once (its values
    // and a copy of its network), and the forecasts run on another thread, so the window
    // goes on meanwhile; forecastCheckChanged tells when the check is in.
    void UpdateForecastCheck();
    // Waits for a check still being computed and takes it in (tests, benchmarks, and
    // anything that must show the check at once).
    void FinishForecastCheck();

    // Loads the worksheet file at path into this (freshly built) worksheet. On failure
    // the reason has been told to the user, naming the file, and the document must be
    // discarded: a refused file never becomes an open worksheet.
    bool OnOpenDocument(const QString& path);

    // Save: to the current file, or through Save As when there is none. False when the
    // user cancelled or the write failed (the old file then stays as it was).
    bool DoFileSave();
    // Save As: asks for a file name first.
    bool DoSaveAs();
    // Writes to path. Asks first when columns after the first "No Data" column hold
    // text that the file cannot keep; No cancels. The target is replaced only after a
    // complete write.
    bool DoSave(const QString& path);

    // File > Export: asks for a file name (".csv" added when none is typed) and writes
    // the used part of the worksheet as CSV, as the batch tool's `show` lists it. The
    // worksheet itself, its file name and its modified mark stay as they are. False
    // when cancelled or the file could not be written ("Error: Cannot write file %s").
    bool DoExport();

    // Before closing a modified worksheet: "Save changes to %1?". True when closing
    // may go on (saved, or No); false for Cancel or a failed save.
    bool SaveModified();

signals:
    void modifiedChanged(bool modified);
    void runLockChanged(bool locked);
    void titleChanged(const QString& title);
    // The worksheet now lives in path (after a successful save or load).
    void fileUsed(const QString& path);
    // The forecast check was computed again or dropped.
    void forecastCheckChanged();

private:
    // Takes in the check computed away from the window, once it is there.
    void TakeForecastCheck();

    AppSettings& m_settings;
    UiPrompts& m_prompts;
    std::unique_ptr<FileNamingMessages> m_messages; // the worksheet's road to m_prompts
    std::unique_ptr<Worksheet> m_worksheet;
    std::unique_ptr<WorksheetUndo> m_undo; // listens to m_worksheet's cells: goes first
    QString m_title;
    QString m_pathName;
    FigureOfMeritWeights m_meritWeights;
    std::unique_ptr<ForecastCheck> m_check;
    QFuture<ForecastCheck> m_pendingCheck;
    QFutureWatcher<ForecastCheck> m_checkWatcher;
    bool m_runLocked = false;
    bool m_editableBeforeRun = true;
};

} // namespace orvalis
