#pragma once

#include <QMainWindow>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;

namespace orvalis {

class CTrainingController;
class CWorksheetApp;

// The top-level window: the menu bar built from the command table, and the MDI area
// holding one child frame per worksheet window. A command goes first to the active
// child frame (its view and document), then to the application object, and last to
// the main frame's own handlers. While a training run dispatches events, the commands
// that could disturb it are refused and shown disabled; closing the window then aborts
// the run first and closes once it has ended. The menus are those for an open worksheet while one
// is open, the shorter ones otherwise.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CWorksheetApp& app);
    ~CMainFrame() override;

    QMdiArea& MdiArea() { return *m_mdiArea; }
    // The Actions and Configure commands and the Training Operation window.
    CTrainingController& Training() { return *m_training; }

    // Sends command id along the route; false when nobody handled it.
    bool RouteCommand(int id);
    // The action of command id in the current menus, or nullptr.
    QAction* Action(int id) const;

    // Rebuilds the menus for the current state (worksheet open or not, recent files).
    void RebuildMenus();
    // Enables every action whose handler is on the current route.
    void UpdateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool OnFrameCommand(int id);
    QAction* MakeAction(int id, QMenu& menu);
    void AddRecentFiles(QMenu& menu);

    CWorksheetApp& m_app;
    QMdiArea* m_mdiArea;
    std::map<int, QAction*> m_actions;  // owned by the menus they stand in
    std::vector<QMenu*> m_menus;        // owned by the menu bar
    bool m_worksheetMenus = false;
    std::unique_ptr<CTrainingController> m_training;
};

} // namespace orvalis
