#pragma once

#include "shell/CommandTarget.h"
#include "worksheet/AppSettings.h"

#include <QObject>
#include <QPointer>

#include <QPageLayout>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace orvalis {

class CMainFrame;
class DocManager;
class RecentFileList;
class UiPrompts;

// The one process-wide application object. It sets the dialog look, reads the nine
// settings and the recent-file list, creates the main frame and the first worksheet,
// answers the application-level commands (New, Open, the recent files, Exit) and at
// exit writes the settings back. It owns the settings in force for every worksheet.
//
// The QApplication must exist before it; the stores and prompts must outlive it.
class CWorksheetApp final : public QObject {
    Q_OBJECT
public:
    // store: the nine settings; recentStore: where the recent-file list lives.
    CWorksheetApp(SettingsStore& store, QSettings& recentStore, UiPrompts& prompts);
    ~CWorksheetApp() override;

    // The start-up sequence; false ends the program at once. Each of files opens as a
    // worksheet (one that cannot be read gives its message and the rest still open);
    // without files, or when none opened, the program starts with a new worksheet.
    bool StartUp(const QStringList& files = {});
    // Whether StartUp shows the splash window: the program asks for it when it was
    // started without a file and without --no-splash. lifetimeMs: how long it stays up
    // unless a key or mouse press closes it first.
    void SetSplashWanted(bool wanted, int lifetimeMs = 2500)
    {
        m_splashWanted = wanted;
        m_splashLifetimeMs = lifetimeMs;
    }
    // The splash window while it is up, else nullptr.
    QWidget* Splash() const;
    // Closes the splash window if it is up.
    void CloseSplash();

    // Writes the nine settings and the recent-file list. Returns the exit code 0.
    int ShutDown();

    // The application-level commands (New, Open, the recent files, Print Setup, About,
    // Exit).
    CommandTarget& Commands() { return m_commands; }
    // Opens entry index of the recent-file list; an entry that cannot be opened any more
    // leaves the list.
    void OpenRecentFile(int index);
    // Print Setup: the page set-up dialog; a confirmed choice is kept for printing.
    void PrintSetup();
    // The page chosen with Print Setup, nullptr until one was chosen.
    const QPageLayout* PrintPageLayout() const { return m_pageLayout ? &*m_pageLayout : nullptr; }

    // Dispatches every pending event and returns when none is left; for long
    // operations that must keep the windows alive.
    static void PumpPendingMessages();

    AppSettings& Settings() { return m_settings; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    DocManager& Docs() { return *m_docs; }
    RecentFileList& RecentFiles() { return *m_recentFiles; }
    UiPrompts& Prompts() { return m_prompts; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void SetDialogLook();
    void RestoreWindowLayout();
    void SaveWindowLayout();

    SettingsStore& m_store;
    QSettings& m_recentStore;
    UiPrompts& m_prompts;
    AppSettings m_settings;
    std::unique_ptr<RecentFileList> m_recentFiles;
    CommandTarget m_commands{CommandHandler::Application};
    std::optional<QPageLayout> m_pageLayout;
    bool m_splashWanted = false;
    int m_splashLifetimeMs = 2500;
    QPointer<QWidget> m_splash;
    // Destroyed after the main frame: closing child frames report to it.
    std::unique_ptr<DocManager> m_docs;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

} // namespace orvalis
