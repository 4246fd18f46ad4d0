#pragma once

#include <QGroupBox>

class QLineEdit;
class QProgressBar;

namespace orvalis {

// One confidence figure as both operation dialogs show it: a bar from "Poor" to "Good"
// (range 1..100), the figure itself ("Confidence:", "%f") and its rating ("State:",
// "Poor", "Fair" or "High"). The group's title prefixes the accessible names of its two
// values, since both dialogs show two such groups.
class CConfidenceGroup final : public QGroupBox {
    Q_OBJECT
public:
    explicit CConfidenceGroup(const QString& title, QWidget* parent = nullptr);

    // Before any figure: the bar empty, "0" and "Run".
    void ShowInitial();
    // Sets the bar, then the rating, then the figure.
    void ShowConfidence(double confidence);

    QProgressBar& Bar() { return *m_bar; }
    QLineEdit& ConfidenceField() { return *m_confidence; }
    QLineEdit& StateField() { return *m_state; }

private:
    QProgressBar* m_bar;
    QLineEdit* m_confidence;
    QLineEdit* m_state;
};

} // namespace orvalis
