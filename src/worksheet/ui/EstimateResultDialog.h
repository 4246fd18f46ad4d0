#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace orvalis {

class CConfidenceGroup;
struct EstimateFigures;
struct ForecastCheck;

// "Estimate Operation": the modal summary of an evaluation in Model Evaluate mode, with
// the two confidence figures and the equivalent rate of return (interval length, actual
// basis, estimate basis). OK and Cancel only close it. Under them, one line with the
// verdict of the forecast check when there is one.
class CEstimateResultDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CEstimateResultDialog(const EstimateFigures& figures, QWidget* parent = nullptr,
                                   const ForecastCheck* check = nullptr);

    CConfidenceGroup& SlopeGroup() { return *m_slope; }
    CConfidenceGroup& ValueGroup() { return *m_value; }
    QLineEdit& IntervalField() { return *m_interval; }
    QLineEdit& ActualField() { return *m_actual; }
    QLineEdit& EstimateField() { return *m_estimate; }
    QLabel& VerdictLine() { return *m_verdict; }
    // Shows the verdict of a check that arrived after the window was built.
    void ShowForecastCheck(const ForecastCheck* check);

private:
    CConfidenceGroup* m_slope;
    CConfidenceGroup* m_value;
    QLineEdit* m_interval;
    QLineEdit* m_actual;
    QLineEdit* m_estimate;
    QLabel* m_verdict;
};

} // namespace orvalis
