#pragma once

#include "shell/WorksheetCommands.h"

#include <QMdiSubWindow>

namespace orvalis {

class CGridDoc;
class CGridView;
class DocManager;

// The window of one worksheet inside the main frame: holds exactly one worksheet view
// and shows the document's title with "*" while it is modified. It handles the
// worksheet-level commands and, for the commands of the document and the view, hands
// them on to those.
class CChildFrame final : public QMdiSubWindow {
    Q_OBJECT
public:
    // Creates the view (which builds the worksheet's header block). The frame does not
    // own the document; the document manager does.
    CChildFrame(CGridDoc& doc, DocManager& manager, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CGridDoc& Document() { return m_doc; }
    CGridView& View() { return *m_view; }

    // The commands of this window's grid, view, document and of the frame itself.
    WorksheetCommandTargets& Commands() { return m_commands; }

    // Closes without asking (the question was already answered for every document).
    void CloseWithoutPrompt();

    // While several windows show one worksheet, each title ends in ":n" (n from 1, in
    // the order the windows were opened) so they can be told apart in the Window menu
    // and the caption; 0 when this is the worksheet's only window.
    void SetWindowNumber(int number);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();

    CGridDoc& m_doc;
    int m_windowNumber = 0;
    DocManager& m_manager;
    CGridView* m_view;  // owned as the frame's widget
    bool m_skipPrompt = false;
    WorksheetCommandTargets m_commands;
};

} // namespace orvalis
