#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace orvalis {

// The status bar's CAP, NUM and SCRL panes. Each shows its text while its lock key is
// on: read from the X server where there is one, otherwise followed from the lock keys
// pressed in the program.
class StatusIndicators final : public QObject {
    Q_OBJECT
public:
    explicit StatusIndicators(QStatusBar& bar);

    // Reads the lock states again and updates the panes.
    void Refresh();
    bool CapsOn() const { return m_caps; }
    bool NumOn() const { return m_num; }
    bool ScrollOn() const { return m_scroll; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();

    QLabel* m_capsPane;
    QLabel* m_numPane;
    QLabel* m_scrollPane;
    bool m_caps = false;
    bool m_num = false;
    bool m_scroll = false;
};

}  // namespace orvalis
