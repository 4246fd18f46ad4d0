#pragma once

#include <QChartView>
#include <QElapsedTimer>
#include <QTimer>

#include <vector>

class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QValueAxis;

namespace orvalis {

// The training and testing RMS ratios of a run, cycle by cycle, on a logarithmic axis,
// with the best cycle so far (lowest testing ratio) marked. Cycles are stored as they
// come; the chart is redrawn at most 20 times a second, so a fast run is not slowed by
// painting, and the last cycles are drawn shortly after the run pauses or ends. A cycle
// number not above the last one starts a new curve.
class CTrainingCurve final : public QChartView {
    Q_OBJECT
public:
    explicit CTrainingCurve(QWidget* parent = nullptr);

    void AddCycle(int cycle, double trainRatio, double testRatio);
    // Draws what is stored now.
    void Flush();

    QSize sizeHint() const override;

    // The cycle with the lowest testing ratio, -1 before any finite one.
    int BestCycle() const { return m_bestCycle; }
    int StoredCycles() const { return int(m_cycles.size()); }
    // How many times the chart was redrawn.
    int DrawCount() const { return m_draws; }

    static constexpr int kMinimumRedrawMs = 50;
    // Heights in pixels: the one asked for, and the least that shows the axes, the
    // legend and some curve between them.
    static constexpr int kPreferredHeight = 170;
    static constexpr int kMinimumHeight = 110;

private:
    struct Cycle {
        int cycle;
        double train;
        double test;
    };
    std::vector<Cycle> m_cycles;
    int m_bestCycle = -1;
    double m_bestTest = 0.0;
    std::size_t m_drawn = 0;  // cycles already in the series
    int m_draws = 0;
    QElapsedTimer m_sinceDraw;
    QTimer m_pending;
    QLineSeries* m_train;
    QLineSeries* m_test;
    QScatterSeries* m_best;
    QValueAxis* m_x;
    QLogValueAxis* m_y;
};

} // namespace orvalis
