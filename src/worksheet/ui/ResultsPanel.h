#pragma once

#include "worksheet/BaselineFigures.h"

#include <QGroupBox>

#include <optional>

class QGridLayout;
class QLabel;

namespace orvalis {

struct ForecastCheck;

// The figures the panel shows, one row each, in this order.
enum class BaselineFigure { N, Mae, Rmse, Mape, MapeLeftOut, NaiveRmse, TheilU, DirectionHits };
constexpr int kBaselineFigureCount = 8;

// The forecast check's figures the panel shows under its verdict, in this order.
enum class CheckFigure { Season,
                         MaseNetwork,
                         MaseNaive,
                         MaseSeasonalNaive,
                         MaseLinear };
constexpr int kCheckFigureCount = 5;

// The text a figure is shown with: counts as integers, errors with three decimals,
// percentages with two and a "%", "-" for a figure without a value.
QString BaselineFigureText(const SectionFigures& figures, BaselineFigure figure);

// The "Results" panel beside the chart: the baseline figures of the Training, Testing
// and Evaluate rows, one column per section. Theil's U is green below 1 (the model beats
// the naive forecast) and red above. Each figure's name carries a one-sentence tooltip;
// each value is named for screen readers by its section and figure ("Testing RMSE").
// Under them, after an evaluation, the forecast check: its verdict in one sentence
// (green when the network beat repeating the last value, red otherwise), the season
// used and the MASE of the network and of the three baselines.
class CResultsPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit CResultsPanel(QWidget* parent = nullptr);

    void ShowFigures(const BaselineFigures& figures);
    // Shows the check, or hides its part of the panel when there is none.
    void ShowForecastCheck(const ForecastCheck* check);
    // The label showing one value, for tests and accessibility checks.
    QLabel* ValueLabel(ResultSection section, BaselineFigure figure) const;
    QLabel* VerdictLabel() const { return m_verdict; }
    QLabel* CheckLabel(CheckFigure figure) const { return m_check[static_cast<int>(figure)]; }
    QWidget* CheckPart() const { return m_checkPart; }

private:
    void AddCheckPart(QGridLayout& grid, int row);

    QLabel* m_values[3][kBaselineFigureCount] = {};
    QWidget* m_checkPart = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_check[kCheckFigureCount] = {};
};

} // namespace orvalis
