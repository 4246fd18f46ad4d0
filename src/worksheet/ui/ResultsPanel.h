#pragma once

#include "worksheet/BaselineFigures.h"

#include <QGroupBox>

#include <optional>

class QLabel;

namespace orvalis {

// The figures the panel shows, one row each, in this order.
enum class BaselineFigure { N, Mae, Rmse, Mape, MapeLeftOut, NaiveRmse, TheilU, DirectionHits };
constexpr int kBaselineFigureCount = 8;

// The text a figure is shown with: counts as integers, errors with three decimals,
// percentages with two and a "%", "-" for a figure without a value.
QString BaselineFigureText(const SectionFigures& figures, BaselineFigure figure);

// The "Results" panel beside the chart: the baseline figures of the Training, Testing
// and Evaluate rows, one column per section. Theil's U is green below 1 (the model beats
// the naive forecast) and red above. Each figure's name carries a one-sentence tooltip;
// each value is named for screen readers by its section and figure ("Testing RMSE").
class CResultsPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit CResultsPanel(QWidget* parent = nullptr);

    void ShowFigures(const BaselineFigures& figures);
    // The label showing one value, for tests and accessibility checks.
    QLabel* ValueLabel(ResultSection section, BaselineFigure figure) const;

private:
    QLabel* m_values[3][kBaselineFigureCount] = {};
};

} // namespace orvalis
