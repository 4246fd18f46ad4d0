#include "shell/MainFrame.h"

#include "shell/AppTitle.h"
#include "shell/ChildFrame.h"
#include "shell/CommandTable.h"
#include "shell/DocManager.h"
#include "shell/RecentFileList.h"
#include "shell/TrainingCommands.h"
#include "shell/WorksheetApp.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/ImportCommandUi.h"
#include "worksheet/ui/TrainingController.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

namespace orvalis {

CMainFrame::CMainFrame(CWorksheetApp& app)
    : m_app(app)
    , m_mdiArea(new QMdiArea(this))
    , m_training(std::make_unique<CTrainingController>(*this))
{
    connect(m_training.get(), &CTrainingController::runningChanged, this,
            [this] { UpdateCommandStates(); });
    setWindowTitle(AppTitle());
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });
    resize(1024, 720);
}

CMainFrame::~CMainFrame()
{
    // Child frames still close below; their activations must not reach menus that are
    // already gone.
    m_mdiArea->disconnect(this);
}

QAction* CMainFrame::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int id, QMenu& menu)
{
    const CommandInfo* info = FindCommand(id);
    auto* action = new QAction(QString::fromLatin1(info->menuText), &menu);
    action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(info->keys)));
    if (info->prompt) {
        const QStringList parts = QString::fromLatin1(info->prompt).split(QLatin1Char('\n'));
        action->setStatusTip(parts.value(0));
        action->setToolTip(parts.value(1, parts.value(0)));
    }
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_actions[id] = action;
    return action;
}

void CMainFrame::AddRecentFiles(QMenu& menu)
{
    const QStringList& files = m_app.RecentFiles().Files();
    if (files.isEmpty()) {
        QAction* none = menu.addAction(QStringLiteral("<None>"));
        none->setEnabled(false);
    }
    for (int i = 0; i < files.size(); ++i) {
        const int id = CmdFileMru1 + i;
        QAction* action = menu.addAction(m_app.RecentFiles().MenuText(i));
        action->setStatusTip(files[i]);
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions[id] = action;
    }
    menu.addSeparator();
}

void CMainFrame::RebuildMenus()
{
    m_worksheetMenus = !m_app.Docs().Documents().empty();
    // A command may rebuild the menus from inside its own action: delete them later.
    m_actions.clear();
    menuBar()->clear();
    for (QMenu* old : m_menus)
        old->deleteLater();
    m_menus.clear();
    const auto& layout = m_worksheetMenus ? WorksheetMenus() : NoWorksheetMenus();
    for (const MenuLayout& menuLayout : layout) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuLayout.title));
        m_menus.push_back(menu);
        for (int id : menuLayout.items) {
            if (id == CmdNone)
                menu->addSeparator();
            else if (id == CmdFileMru1)
                AddRecentFiles(*menu);
            else
                menu->addAction(MakeAction(id, *menu));
        }
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates()
{
    const bool active = m_app.Docs().ActiveFrame() != nullptr;
    const CGridDoc* doc = m_app.Docs().ActiveDocument();
    for (auto& [id, action] : m_actions) {
        const CommandInfo* info = FindCommand(id);
        if (!info) {  // a recent-file entry
            action->setEnabled(!RefusedDuringRun(*m_training, id, doc));
            continue;
        }
        action->setEnabled(info->handler != CommandHandler::None &&
                           (active || !NeedsWorksheet(*info)) &&
                           !RefusedDuringRun(*m_training, id, doc));
    }
}

bool CMainFrame::RouteCommand(int id)
{
    CGridDoc* doc = m_app.Docs().ActiveDocument();
    if (RefusedDuringRun(*m_training, id, doc))
        return true;
    if (RouteTrainingCommand(*m_training, id, doc))
        return true;
    if (CChildFrame* frame = m_app.Docs().ActiveFrame(); frame && frame->OnCommand(id))
        return true;
    if (m_app.OnCommand(id))
        return true;
    return OnFrameCommand(id);
}

bool CMainFrame::OnFrameCommand(int id)
{
    switch (id) {
    case CmdFileImport:
        if (CGridDoc* doc = m_app.Docs().ActiveDocument())
            RunImportCommand(*doc);
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_training->IsRunning()) {
        // The run's worksheet must not go while the run uses it: stop the run, and
        // close (asking to save) once it has written its results.
        event->ignore();
        m_training->AbortThen([this] { close(); });
        return;
    }
    DocManager& docs = m_app.Docs();
    if (!docs.SaveAllModified()) {
        event->ignore();
        return;
    }
    docs.CloseAllDocuments();
    QMainWindow::closeEvent(event);
}

} // namespace orvalis
