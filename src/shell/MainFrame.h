#pragma once

#include "shell/CommandTarget.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

namespace orvalis {

class CTrainingController;
class ResultsModeBar;
class StatusIndicators;
class CWorksheetApp;

// The top-level window: the menu bar and toolbar built from the command table, and the
// MDI area holding one child frame per worksheet window. Commands travel the route of
// CommandTarget.h; every menu item and button is enabled from that route. The menus are
// those for an open worksheet while one is open, the shorter ones otherwise. While a
// training run dispatches events, the commands that could disturb it are refused and
// shown disabled; closing the window then aborts the run first and closes once it has
// ended.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CWorksheetApp& app);
    ~CMainFrame() override;

    QMdiArea& MdiArea() { return *m_mdiArea; }
    QToolBar& ToolBar() { return *m_toolBar; }
    ResultsModeBar& ModeBar() { return *m_modeBar; }
    StatusIndicators& Indicators() { return *m_indicators; }
    CommandTarget& Commands() { return m_commands; }
    // The Actions and Configure commands and the Training Operation window.
    CTrainingController& Training() { return *m_training; }

    // The route a command takes at this moment.
    CommandRoute Route() const;
    // Sends command id along the route; false when nobody handled it or it is disabled.
    bool RouteCommand(int id);
    CommandState CommandStateOf(int id) const { return Route().State(id); }
    // The action of command id (menu item, button, key), or nullptr.
    QAction* Action(int id) const;
    // The menus of the menu bar, in order.
    const std::vector<QMenu*>& Menus() const { return m_menus; }

    // Rebuilds the menus for the current state (worksheet open or not, recent files).
    void RebuildMenus();
    // Enables every action whose handler is on the current route and agrees.
    void UpdateCommandStates();
    // The results-mode bar's choice: switches the active worksheet's sections (or, with
    // none open, only the stored mode). Refused while a training run holds the program.
    void OnResultsModeSelected(int mode);
    // Shows text in the status bar's message pane for a few seconds.
    void ShowStatusMessage(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateStatusBar();
    void AddRecentFiles(QMenu& menu);
    void AddWindowList(QMenu& menu);

    CWorksheetApp& m_app;
    QMdiArea* m_mdiArea;
    QToolBar* m_toolBar = nullptr;
    ResultsModeBar* m_modeBar = nullptr;
    StatusIndicators* m_indicators = nullptr;
    CommandTarget m_commands{CommandHandler::MainFrame};
    std::map<int, QAction*> m_actions;      // the table's commands, owned by the frame
    std::map<int, QAction*> m_listActions;  // recent files, owned by their menu
    std::vector<QMenu*> m_menus;            // owned by the menu bar
    bool m_worksheetMenus = false;
    std::unique_ptr<CTrainingController> m_training;
};

}  // namespace orvalis
