#include "shell/WorksheetApp.h"

#include "shell/AboutBox.h"
#include "shell/AppIcon.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/CommandLine.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/RecentFileList.h"
#include "shell/ScreenFit.h"
#include "shell/WorksheetCommands.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/UiPrompts.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPalette>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTimer>

namespace orvalis {

CWorksheetApp::CWorksheetApp(SettingsStore& store, QSettings& recentStore, UiPrompts& prompts)
    : m_store(store)
    , m_recentStore(recentStore)
    , m_prompts(prompts)
    , m_recentFiles(std::make_unique<RecentFileList>(RecentFileCount))
{
}

CWorksheetApp::~CWorksheetApp()
{
    // Child frames hand their worksheets back to the manager while the frame dies; the
    // dying frame takes no more menu updates.
    if (m_docs && m_mainFrame)
        m_docs->disconnect(m_mainFrame.get());
    m_mainFrame.reset();
    m_docs.reset();
}

void CWorksheetApp::SetDialogLook()
{
    // Bevelled three-dimensional controls everywhere; dialogs and message boxes on a
    // light grey ground with black text.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QPalette dialog = QApplication::palette();
    const QColor grey(192, 192, 192);
    dialog.setColor(QPalette::Window, grey);
    dialog.setColor(QPalette::Button, grey);
    dialog.setColor(QPalette::WindowText, Qt::black);
    dialog.setColor(QPalette::ButtonText, Qt::black);
    dialog.setColor(QPalette::Text, Qt::black);
    QApplication::setPalette(dialog, "QDialog");
}

bool CWorksheetApp::StartUp(const QStringList& files)
{
    SetDialogLook();
    QApplication::setWindowIcon(AppIcon());
    m_recentFiles->Load(m_recentStore);
    m_settings = LoadSettings(m_store);

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    m_docs = std::make_unique<DocManager>(m_settings, m_prompts, *m_recentFiles,
                                          m_mainFrame->MdiArea());
    BindApplicationCommands(m_commands, *this);
    BindFrameCommands(m_mainFrame->Commands(), *m_mainFrame, *this);
    connect(m_docs.get(), &DocManager::frameCreated, this, [this](CChildFrame* frame) {
        BindWorksheetCommands(*frame, *this);
        // Once per worksheet, however many windows show it.
        connect(&frame->Document().Undo(), &WorksheetUndo::historyCleared, m_mainFrame.get(),
                &CMainFrame::ShowStatusMessage, Qt::UniqueConnection);
    });
    connect(m_docs.get(), &DocManager::documentCountChanged, m_mainFrame.get(),
            &CMainFrame::RebuildMenus);
    connect(m_docs.get(), &DocManager::recentFilesChanged, m_mainFrame.get(),
            &CMainFrame::RebuildMenus);
    m_mainFrame->RebuildMenus();
    RestoreWindowLayout();
    if (m_splashWanted) {
        // Up for 2.5 seconds, or until the first key or mouse press anywhere.
        m_splash = new SplashWindow(m_mainFrame.get());
        m_splash->show();
        QTimer::singleShot(m_splashLifetimeMs, this, &CWorksheetApp::CloseSplash);
        qApp->installEventFilter(this);
    }
    m_mainFrame->show();
    // Once shown, the window system's frame counts too.
    FitWindowOnScreen(*m_mainFrame);
    // Without a window manager to keep it on top, the frame shown after it would hide
    // the splash.
    if (m_splash)
        m_splash->raise();
    AcceptWorksheetDrops(*m_mainFrame, *m_docs);

    int opened = 0;
    for (const QString& file : files)
        opened += m_docs->OpenDocumentFile(file) != nullptr;
    if (opened == 0)
        m_docs->NewDocument();
    return true;
}

QWidget* CWorksheetApp::Splash() const
{
    return m_splash.data();
}

void CWorksheetApp::CloseSplash()
{
    if (m_splash)
        m_splash->close();
    qApp->removeEventFilter(this);
}

bool CWorksheetApp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        CloseSplash();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// The main window's place and size and which bars show are kept beside the recent
// files, so the window comes back as it was left.
void CWorksheetApp::RestoreWindowLayout()
{
    m_mainFrame->restoreGeometry(m_recentStore.value(QStringLiteral("Window/Geometry")).toByteArray());
    m_mainFrame->restoreState(m_recentStore.value(QStringLiteral("Window/Bars")).toByteArray());
    m_mainFrame->statusBar()->setVisible(
        m_recentStore.value(QStringLiteral("Window/StatusBar"), true).toBool());
    // A window saved on a larger screen, or at another scale, comes back whole.
    FitWindowOnScreen(*m_mainFrame);
}

void CWorksheetApp::SaveWindowLayout()
{
    m_recentStore.setValue(QStringLiteral("Window/Geometry"), m_mainFrame->saveGeometry());
    m_recentStore.setValue(QStringLiteral("Window/Bars"), m_mainFrame->saveState());
    m_recentStore.setValue(QStringLiteral("Window/StatusBar"),
                           !m_mainFrame->statusBar()->isHidden());
}

int CWorksheetApp::ShutDown()
{
    if (m_mainFrame)
        SaveWindowLayout();
    SaveSettings(m_settings, m_store);
    m_recentFiles->Save(m_recentStore);
    m_recentStore.sync();
    return 0;
}

void CWorksheetApp::PrintSetup()
{
    QPrinter printer;
    if (m_pageLayout)
        printer.setPageLayout(*m_pageLayout);
    QPageSetupDialog dialog(&printer, m_mainFrame.get());
    if (m_prompts.RunDialog(dialog))
        m_pageLayout = printer.pageLayout();
}

void CWorksheetApp::OpenRecentFile(int index)
{
    const QStringList files = m_recentFiles->Files();
    if (index >= files.size())
        return;
    // A file that cannot be opened any more leaves the list.
    if (!m_docs->OpenDocumentFile(files[index])) {
        m_recentFiles->Remove(files[index]);
        m_mainFrame->RebuildMenus();
    }
}

void CWorksheetApp::PumpPendingMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace orvalis
