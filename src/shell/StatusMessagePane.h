#pragma once

#include <QLabel>

class QStatusBar;

namespace orvalis {

// The status bar's message pane, named "Message": it shows "Ready", or the prompt or
// message the bar carries at the moment. It stands before the lock indicators and is
// never hidden by a message, so a screen reader always finds it and reads its text
// (as its description and through its text).
class StatusMessagePane final : public QLabel {
    Q_OBJECT
public:
    // Adds the pane to bar, first of its panes, and follows the bar's messages.
    explicit StatusMessagePane(QStatusBar& bar);

private:
    void Show(const QString& message);
};

// Makes the pane's text readable through the accessibility interfaces; once per process.
void InstallStatusMessageAccessibility();

} // namespace orvalis
