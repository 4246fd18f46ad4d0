#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QMdiArea;

namespace orvalis {

struct AppSettings;
class CChildFrame;
class CGridDoc;
class RecentFileList;
class UiPrompts;

// Owns the open worksheets and makes their windows: File New, File Open (also from
// the recent-file list), the save question when a worksheet's last window closes, and
// the questions for every worksheet at exit. New worksheets are titled Worksheet1,
// Worksheet2, ... with a number that is never reused in one run.
class DocManager final : public QObject {
    Q_OBJECT
public:
    DocManager(AppSettings& settings, UiPrompts& prompts, RecentFileList& recentFiles,
               QMdiArea& mdiArea, QObject* parent = nullptr);
    ~DocManager() override;

    // A new empty worksheet in a new window, made active.
    CChildFrame* NewDocument();
    // Asks for a worksheet file and opens it; false when cancelled or refused.
    bool PromptAndOpen();
    // Opens the file in a new window, or activates the window that already shows it.
    // nullptr when the file was refused: then no window and no document are left
    // behind and the other open worksheets are untouched.
    CChildFrame* OpenDocumentFile(const QString& path);

    // A second window on the worksheet of frame, made active; edits show in both.
    CChildFrame* NewWindow(CChildFrame& frame);

    // Asked by a closing frame: true when it may close (the save question answered
    // Yes and saved, or No; always true when another window shows the same worksheet).
    bool CanCloseFrame(CChildFrame& frame);
    // A frame is being destroyed, its view already gone; its worksheet goes when no
    // other window shows it.
    void FrameDestroyed(CChildFrame& frame);

    // Asks "Save changes to ...?" for every modified worksheet; false when one answer
    // was Cancel or a save failed (the program then keeps running).
    bool SaveAllModified();
    // Closes every window without asking again.
    void CloseAllDocuments();

    CChildFrame* ActiveFrame() const;
    CGridDoc* ActiveDocument() const;
    std::vector<CGridDoc*> Documents() const;
    std::vector<CChildFrame*> Frames() const;
    RecentFileList& RecentFiles() { return m_recentFiles; }

signals:
    void recentFilesChanged();
    void documentCountChanged(int count);
    // A worksheet window was made and is about to be shown: its commands get bound.
    void frameCreated(CChildFrame* frame);

private:
    std::unique_ptr<CGridDoc> CreateDocument();
    CChildFrame* ShowFrame(std::unique_ptr<CGridDoc> doc, CChildFrame* frame);
    int FrameCount(const CGridDoc& doc) const;
    // Numbers the windows of doc in their titles when there are several; returns how
    // many windows doc has.
    int NumberWindowsOf(CGridDoc& doc);

    AppSettings& m_settings;
    UiPrompts& m_prompts;
    RecentFileList& m_recentFiles;
    QMdiArea& m_mdiArea;
    std::vector<std::unique_ptr<CGridDoc>> m_docs;
    std::vector<CChildFrame*> m_frames;  // shown frames, in opening order; owned by the MDI area
    int m_untitledCount = 0;
};

} // namespace orvalis
