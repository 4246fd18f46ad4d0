#include "shell/MainFrame.h"

#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/RecentFileList.h"
#include "shell/ResultsModeBar.h"
#include "shell/StatusIndicators.h"
#include "shell/StatusMessagePane.h"
#include "shell/TrainingCommands.h"
#include "shell/WorksheetApp.h"
#include "shell/WorksheetCommands.h"
#include "shell/core/AppTitle.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/UiPrompts.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

// The toolbar images are linked in from a static library: their registration is asked
// for by name, at global scope as the resource system requires.
static void InitToolbarImages()
{
    Q_INIT_RESOURCE(toolbar);
}

namespace orvalis {

namespace {

// Long enough to read a short sentence, short enough not to stand in for "Ready".
constexpr int kStatusMessageTime = 8000; // milliseconds

constexpr const char* kModeSwitchQuestion =
    "Switching the Results Mode Clears the Training of This Worksheet. Proceed?";

// A menu's own item for a command: it shows the state of the frame's action and
// triggers it. Each menu has items of its own, never the frame's shared actions, so that
// a menu item lives exactly as long as its menu: the accessibility tree knows an action
// by the first menu that showed it, and would lose every shared item with that menu
// when the menus are rebuilt for another menu set.
QAction* AddMirroredItem(QMenu& menu, QAction& source, int id)
{
    QAction* item = menu.addAction(source.text());
    item->setProperty("commandId", id);
    // The keys are shown beside the item; the frame's action is the one they run.
    item->setShortcutContext(Qt::WidgetShortcut);
    const auto sync = [item, &source] {
        item->setText(source.text());
        item->setShortcuts(source.shortcuts());
        item->setStatusTip(source.statusTip());
        item->setToolTip(source.toolTip());
        item->setEnabled(source.isEnabled());
        item->setCheckable(source.isCheckable());
        item->setChecked(source.isChecked());
    };
    sync();
    QObject::connect(&source, &QAction::changed, item, sync);
    QObject::connect(&source, &QAction::toggled, item, sync);
    QObject::connect(item, &QAction::triggered, &source, [&source] { source.trigger(); });
    return item;
}

} // namespace

CMainFrame::CMainFrame(CWorksheetApp& app)
    : m_app(app)
    , m_mdiArea(new QMdiArea(this))
    , m_training(std::make_unique<CTrainingController>(*this))
{
    connect(m_training.get(), &CTrainingController::runningChanged, this,
            [this] { UpdateCommandStates(); });
    // A forecast shows itself: the status bar says what was extrapolated, and the
    // worksheet's chart opens under its grid.
    connect(m_training.get(), &CTrainingController::forecastMade, this,
            [this](CGridDoc* doc, const QString& summary) {
                ShowStatusMessage(summary);
                CChildFrame* frame = m_app.Docs().ActiveFrame();
                if (frame && &frame->Document() == doc)
                    frame->View().ShowChart(true);
            });
    setWindowTitle(AppTitle());
    setAccessibleName(AppTitle());
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setAccessibleName(QStringLiteral("Worksheet windows"));
    setCentralWidget(m_mdiArea);
    InitToolbarImages();
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });
    // Like the selection they follow, the grid's enable rules change with every click
    // and key: the buttons are brought up to date a few times a second, and everything
    // just before a key can reach a shortcut.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    timer->start(200);
    qApp->installEventFilter(this);
    resize(1024, 720);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    // Child frames still close below; their activations must not reach menus that are
    // already gone.
    m_mdiArea->disconnect(this);
}

QAction* CMainFrame::Action(int id) const
{
    if (const auto it = m_actions.find(id); it != m_actions.end())
        return it->second;
    const auto it = m_listActions.find(id);
    return it == m_listActions.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& info : CommandTable()) {
        if (!info.menuText && !info.image)
            continue;
        const int id = info.id;
        auto* action = new QAction(this);
        if (info.menuText)
            action->setText(QString::fromLatin1(info.menuText));
        QList<QKeySequence> keys;
        for (const QString& key :
             QString::fromLatin1(info.keys).split(QStringLiteral(", "), Qt::SkipEmptyParts))
            keys.append(QKeySequence(key, QKeySequence::PortableText));
        action->setShortcuts(keys);
        if (info.prompt) {
            const QStringList parts = QString::fromLatin1(info.prompt).split(QLatin1Char('\n'));
            action->setStatusTip(parts.value(0));
            action->setToolTip(parts.value(1, parts.value(0)));
        } else if (info.toolTip) {
            action->setToolTip(QString::fromLatin1(info.toolTip));
            action->setStatusTip(QString::fromLatin1(info.toolTip));
            if (!info.menuText)
                action->setText(QString::fromLatin1(info.toolTip));
        }
        if (info.image) {
            const QIcon drawn(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(info.image)));
            action->setIcon(info.themeIcon
                                ? QIcon::fromTheme(QString::fromLatin1(info.themeIcon), drawn)
                                : drawn);
        }
        // Only the menu bar's copy carries the keys; the window-wide shortcut works
        // whichever menu set is shown.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        addAction(action);
        m_actions[id] = action;
    }
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setAccessibleName(QStringLiteral("Toolbar"));
    m_toolBar->setIconSize(QSize(19, 15) * 1);
    m_toolBar->setMovable(false);
    for (int id : ToolbarLayout()) {
        if (id == CmdNone)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(Action(id));
    }
    addToolBarBreak();
    m_modeBar = new ResultsModeBar(this);
    addToolBar(m_modeBar);
    m_modeBar->ShowMode(m_app.Settings().resultsMode);
    connect(m_modeBar, &ResultsModeBar::modeChosen, this, &CMainFrame::OnResultsModeSelected);
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->setAccessibleName(QStringLiteral("Status bar"));
    // "Ready", or the prompt of the moment: a prompt that ends brings "Ready" back.
    new StatusMessagePane(*statusBar());
    m_indicators = new StatusIndicators(*statusBar());
}

void CMainFrame::OnResultsModeSelected(int mode)
{
    AppSettings& settings = m_app.Settings();
    if (m_training->IsRunning()) {
        m_modeBar->ShowMode(settings.resultsMode);
        return;
    }
    if (CGridDoc* doc = m_app.Docs().ActiveDocument()) {
        // The switch resets the training: a trained network is lost only when the user
        // says so.
        Worksheet& sheet = doc->GetWorksheet();
        if (sheet.state == WorksheetState::Init || m_app.Prompts().Ask(kModeSwitchQuestion)) {
            const WorksheetUndo::ProgramChange change(
                doc->Undo(), QStringLiteral("the results mode sets new sections"));
            sheet.SwitchResultsMode(mode);
        }
    } else {
        settings.resultsMode = mode;
        settings.UpdateExtrapolationRows();
    }
    m_modeBar->ShowMode(settings.resultsMode);
    // The keyboard goes back to the worksheet, so that its next key moves in the cells
    // rather than choosing another mode.
    if (CChildFrame* frame = m_app.Docs().ActiveFrame())
        frame->View().Grid().setFocus(Qt::OtherFocusReason);
}

void CMainFrame::AddRecentFiles(QMenu& menu)
{
    const QStringList& files = m_app.RecentFiles().Files();
    if (files.isEmpty()) {
        QAction* none = menu.addAction(QStringLiteral("<None>"));
        none->setEnabled(false);
    }
    for (int i = 0; i < files.size() && i < RecentFileCount; ++i) {
        const int id = CmdFileMru1 + i;
        QAction* action = menu.addAction(m_app.RecentFiles().MenuText(i));
        action->setStatusTip(files[i]);
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_listActions[id] = action;
    }
    menu.addSeparator();
}

void CMainFrame::AddWindowList(QMenu& menu)
{
    // Filled each time the menu opens, so it always names the windows as they are.
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] {
        for (QAction* old : menu.actions()) {
            if (old->property("windowList").toBool()) {
                menu.removeAction(old);
                old->deleteLater();
            }
        }
        const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
        if (windows.isEmpty())
            return;
        QAction* line = menu.addSeparator();
        line->setProperty("windowList", true);
        for (int i = 0; i < windows.size(); ++i) {
            QMdiSubWindow* window = windows[i];
            const QString prefix
                = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
            QAction* item = menu.addAction(prefix + window->windowTitle());
            item->setProperty("windowList", true);
            item->setCheckable(true);
            item->setChecked(window == m_mdiArea->activeSubWindow());
            item->setStatusTip(QStringLiteral("Activate this window"));
            connect(item, &QAction::triggered, this,
                    [this, window] { m_mdiArea->setActiveSubWindow(window); });
        }
    });
}

void CMainFrame::RebuildMenus()
{
    m_worksheetMenus = !m_app.Docs().Documents().empty();
    // A command may rebuild the menus from inside its own action: delete them later.
    m_listActions.clear();
    menuBar()->clear();
    for (QMenu* old : m_menus)
        old->deleteLater();
    m_menus.clear();
    const auto& layout = m_worksheetMenus ? WorksheetMenus() : NoWorksheetMenus();
    for (const MenuLayout& menuLayout : layout) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuLayout.title));
        menu->setAccessibleName(QString::fromLatin1(menuLayout.title).remove(QLatin1Char('&')));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        m_menus.push_back(menu);
        for (int id : menuLayout.items) {
            if (id == CmdNone)
                menu->addSeparator();
            else if (id == CmdFileMru1)
                AddRecentFiles(*menu);
            else if (id == CmdWindowList)
                AddWindowList(*menu);
            else
                AddMirroredItem(*menu, *Action(id), id);
        }
    }
    UpdateCommandStates();
}

CommandRoute CMainFrame::Route() const
{
    CommandRoute route;
    route.Refuse([this, doc = m_app.Docs().ActiveDocument()](int id) {
        return RefusedDuringRun(*m_training, id, doc);
    });
    if (CChildFrame* frame = m_app.Docs().ActiveFrame()) {
        WorksheetCommandTargets& targets = frame->Commands();
        route.Add(targets.grid);
        route.Add(targets.view);
        route.Add(targets.document);
        route.Add(targets.frame);
        route.Add(m_app.Commands());
        route.Add(m_commands);
    } else {
        route.Add(m_commands);
        route.Add(m_app.Commands());
    }
    return route;
}

void CMainFrame::UpdateCommandStates()
{
    const CommandRoute route = Route();
    auto update = [&route](int id, QAction* action) {
        const CommandState state = route.State(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        if (state.checkable)
            action->setChecked(state.checked);
        return state;
    };
    for (auto& [id, action] : m_actions) {
        const CommandState state = update(id, action);
        // A text that follows the moment ("&Undo Paste"); the row's own text otherwise.
        if (const CommandInfo* info = FindCommand(id); info && info->menuText)
            action->setText(state.text.empty() ? QString::fromLatin1(info->menuText)
                                               : QString::fromStdString(state.text));
    }
    for (auto& [id, action] : m_listActions)
        update(id, action);
    m_modeBar->setEnabled(!m_training->IsRunning());
    m_indicators->Refresh();
}

bool CMainFrame::RouteCommand(int id)
{
    // A command given while a cell is being edited (by key, menu or button) stores the
    // edit first, as Enter does: Save then saves what the user sees, and the edit's end
    // cannot mark the worksheet modified again after it.
    if (CChildFrame* frame = m_app.Docs().ActiveFrame()) {
        CWorksheetGrid& grid = frame->View().Grid();
        if (grid.IsEditing()) {
            grid.EndEditing();
            grid.setFocus(Qt::OtherFocusReason);
        }
    }
    const bool ran = Route().Run(id);
    UpdateCommandStates();
    return ran;
}

void CMainFrame::ShowStatusMessage(const QString& text)
{
    statusBar()->showMessage(text, kStatusMessageTime);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // A key about to be matched against the shortcuts meets enable states of this moment.
    if (event->type() == QEvent::ShortcutOverride)
        UpdateCommandStates();
    return QMainWindow::eventFilter(watched, event);
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

}  // namespace orvalis
