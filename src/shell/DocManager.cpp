#include "shell/DocManager.h"

#include "shell/ChildFrame.h"
#include "shell/RecentFileList.h"
#include "worksheet/ui/DocumentType.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QStyle>

#include <algorithm>

namespace orvalis {

DocManager::DocManager(AppSettings& settings, UiPrompts& prompts, RecentFileList& recentFiles,
                       QMdiArea& mdiArea, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_recentFiles(recentFiles)
    , m_mdiArea(mdiArea)
{
}

DocManager::~DocManager() = default;

std::unique_ptr<CGridDoc> DocManager::CreateDocument()
{
    auto doc = std::make_unique<CGridDoc>(m_settings, m_prompts);
    connect(doc.get(), &CGridDoc::fileUsed, this, [this](const QString& path) {
        m_recentFiles.Add(path);
        emit recentFilesChanged();
    });
    return doc;
}

CChildFrame* DocManager::ShowFrame(std::unique_ptr<CGridDoc> doc, CChildFrame* frame)
{
    m_docs.push_back(std::move(doc));
    m_frames.push_back(frame);
    emit frameCreated(frame);
    m_mdiArea.addSubWindow(frame);
    frame->showMaximized();
    m_mdiArea.setActiveSubWindow(frame);
    // Keys work at once: the focus starts on the first data cell of column 1, and the keys
    // go to the grid rather than to the first field of the bars (the results-mode choice).
    // It is selected as a click would select it, so Copy and Shift+arrows work from it.
    CWorksheetGrid& grid = frame->View().Grid();
    const CellId first{frame->Document().GetWorksheet().firstDataRow, 1};
    grid.SetFocusCell(first.row, first.col);
    grid.Selection().SetSelectionStartCell(first);
    grid.SetSelectedRange(first.row, first.col, first.row, first.col);
    grid.setFocus(Qt::OtherFocusReason);
    emit documentCountChanged(static_cast<int>(m_docs.size()));
    return frame;
}

CChildFrame* DocManager::NewDocument()
{
    auto doc = CreateDocument();
    doc->SetTitle(WorksheetDocType().baseName + QString::number(++m_untitledCount));
    auto* frame = new CChildFrame(*doc, *this);
    return ShowFrame(std::move(doc), frame);
}

CChildFrame* DocManager::NewWindow(CChildFrame& frame)
{
    auto* window = new CChildFrame(frame.Document(), *this);
    m_frames.push_back(window);
    NumberWindowsOf(frame.Document());
    emit frameCreated(window);
    m_mdiArea.addSubWindow(window);
    // The new window is as large as the one it copies, one title bar lower and to the
    // right so that both titles show, and inside the area; a maximised copy restores to
    // the whole area rather than to a stamp-sized window.
    const QSize room = m_mdiArea.viewport()->size();
    if (frame.isMaximized() || frame.isMinimized()) {
        window->resize(room);
    } else {
        const QSize size = frame.size().boundedTo(room);
        const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        const QPoint wanted = frame.pos() + QPoint(step, step);
        window->setGeometry(QRect(QPoint(std::max(0, std::min(wanted.x(), room.width() - size.width())),
                                         std::max(0, std::min(wanted.y(), room.height() - size.height()))),
                                  size));
    }
    if (frame.isMaximized())
        window->showMaximized();
    else
        window->show();
    m_mdiArea.setActiveSubWindow(window);
    // Each window has its own focus and selection; the new one starts as the window it
    // copies stands, and from then on the two go their own ways.
    CWorksheetGrid& from = frame.View().Grid();
    CWorksheetGrid& to = window->View().Grid();
    to.SetFocusCell(from.GetFocusCell());
    to.Selection().SetSelectionStartCell(from.Selection().GetSelectionStartCell());
    for (const CellId cell : from.Selection().SelectedCellsInOrder())
        to.Selection().SetSelected(cell, true);
    const CellId focus = to.GetFocusCell();
    to.EnsureVisible(focus.row, focus.col);
    to.setFocus(Qt::OtherFocusReason);
    return window;
}

bool DocManager::PromptAndOpen()
{
    const QString path = m_prompts.ChooseOpenFile(CGridDoc::FileFilter());
    if (path.isEmpty())
        return false;
    return OpenDocumentFile(path) != nullptr;
}

CChildFrame* DocManager::OpenDocumentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* frame : Frames()) {
        if (!frame->Document().PathName().isEmpty()
            && QFileInfo(frame->Document().PathName()).absoluteFilePath() == absolute) {
            m_mdiArea.setActiveSubWindow(frame);
            return frame;
        }
    }
    // The window and its header block exist before the file is read, as for a new
    // worksheet; they are shown only once the file has been accepted.
    auto doc = CreateDocument();
    auto frame = std::make_unique<CChildFrame>(*doc, *this);
    if (!doc->OnOpenDocument(absolute))
        return nullptr;
    return ShowFrame(std::move(doc), frame.release());
}

int DocManager::FrameCount(const CGridDoc& doc) const
{
    int count = 0;
    for (CChildFrame* frame : Frames()) {
        if (&frame->Document() == &doc)
            ++count;
    }
    return count;
}

bool DocManager::CanCloseFrame(CChildFrame& frame)
{
    CGridDoc& doc = frame.Document();
    if (FrameCount(doc) > 1 || !doc.IsModified())
        return true;
    return doc.SaveModified();
}

int DocManager::NumberWindowsOf(CGridDoc& doc)
{
    std::vector<CChildFrame*> windows;
    for (CChildFrame* frame : m_frames) {
        if (&frame->Document() == &doc)
            windows.push_back(frame);
    }
    const bool several = windows.size() > 1;
    for (size_t i = 0; i < windows.size(); ++i)
        windows[i]->SetWindowNumber(several ? static_cast<int>(i) + 1 : 0);
    return static_cast<int>(windows.size());
}

void DocManager::FrameDestroyed(CChildFrame& frame)
{
    std::erase(m_frames, &frame);
    CGridDoc* doc = &frame.Document();
    if (NumberWindowsOf(*doc) > 0)
        return;
    auto it = std::find_if(m_docs.begin(), m_docs.end(),
                           [doc](const std::unique_ptr<CGridDoc>& d) { return d.get() == doc; });
    if (it == m_docs.end())
        return;
    m_docs.erase(it);
    emit documentCountChanged(static_cast<int>(m_docs.size()));
}

bool DocManager::SaveAllModified()
{
    for (CGridDoc* doc : Documents()) {
        if (doc->IsModified() && !doc->SaveModified())
            return false;
    }
    return true;
}

void DocManager::CloseAllDocuments()
{
    for (CChildFrame* frame : Frames())
        frame->CloseWithoutPrompt();
}

CChildFrame* DocManager::ActiveFrame() const
{
    return qobject_cast<CChildFrame*>(m_mdiArea.activeSubWindow());
}

CGridDoc* DocManager::ActiveDocument() const
{
    CChildFrame* frame = ActiveFrame();
    return frame ? &frame->Document() : nullptr;
}

std::vector<CGridDoc*> DocManager::Documents() const
{
    std::vector<CGridDoc*> docs;
    for (const auto& doc : m_docs)
        docs.push_back(doc.get());
    return docs;
}

std::vector<CChildFrame*> DocManager::Frames() const
{
    return m_frames;
}

} // namespace orvalis
