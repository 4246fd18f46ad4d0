#include "shell/ChildFrame.h"

#include "shell/DocManager.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"

#include <QCloseEvent>

namespace orvalis {

CChildFrame::CChildFrame(CGridDoc& doc, DocManager& manager, QWidget* parent)
    : QMdiSubWindow(parent)
    , m_doc(doc)
    , m_manager(manager)
    , m_view(new CGridView(doc))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_view);
    connect(&m_doc, &CGridDoc::titleChanged, this, &CChildFrame::UpdateTitle);
    connect(&m_doc, &CGridDoc::modifiedChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

CChildFrame::~CChildFrame()
{
    // The view's grid refers to the worksheet's cells: it goes before the worksheet can.
    delete m_view;
    m_view = nullptr;
    m_manager.FrameDestroyed(*this);
}

void CChildFrame::UpdateTitle()
{
    // The mark is written out rather than left to a "[*]" placeholder: a maximised
    // child's title is copied into the main frame's caption as it stands.
    const bool modified = m_doc.IsModified();
    QString title = m_doc.Title();
    if (m_windowNumber > 0)
        title += QLatin1Char(':') + QString::number(m_windowNumber);
    setWindowTitle(modified ? title + QLatin1Char('*') : title);
    setWindowModified(modified);
}

void CChildFrame::SetWindowNumber(int number)
{
    m_windowNumber = number;
    UpdateTitle();
}

void CChildFrame::CloseWithoutPrompt()
{
    m_skipPrompt = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // A worksheet being trained stays open until its run has ended.
    if (m_doc.IsRunLocked() || (!m_skipPrompt && !m_manager.CanCloseFrame(*this))) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace orvalis
