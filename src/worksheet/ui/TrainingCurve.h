#pragma once

#include <QChartView>
#include <QElapsedTimer>
#include <QList>
#include <QPointF>
#include <QTimer>

#include <vector>

class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QValueAxis;

namespace orvalis {

// The training and testing RMS ratios of a run, cycle by cycle, on a logarithmic axis,
// with the best cycle so far (lowest testing ratio) marked. Cycles are stored as they
// come; the chart is redrawn at most 20 times a second, and never sooner after a redraw
// than two hundred times what that redraw cost, so painting takes at most half a
// percent of a run on any machine; the last cycles are drawn shortly after the run
// pauses or ends. A
// cycle number not above the last one starts a new curve.
class CTrainingCurve final : public QChartView {
    Q_OBJECT
public:
    explicit CTrainingCurve(QWidget* parent = nullptr);

    void AddCycle(int cycle, double trainRatio, double testRatio);
    // Draws what is stored now.
    void Flush();
    // Draws what is stored at the next turn of the event loop, after the caller's work.
    void FlushSoon() { m_pending.start(0); }

    QSize sizeHint() const override;

    // The cycle with the lowest testing ratio, -1 before any finite one.
    int BestCycle() const { return m_bestCycle; }
    int StoredCycles() const { return int(m_cycles.size()); }
    // How many times the chart was redrawn.
    int DrawCount() const { return m_draws; }
    // The time all redraws took, painting included, in nanoseconds.
    qint64 DrawTimeNs() const { return m_drawTimeNs; }

    static constexpr int kMinimumRedrawMs = 50;
    static constexpr int kDrawBudgetFactor = 200;
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
    int m_bestDrawn = -1;     // the best cycle as marked
    std::size_t m_drawn = 0;  // cycles already in the series
    QList<QPointF> m_trainPoints;  // the lines' points, positive ratios only
    QList<QPointF> m_testPoints;
    int m_xMax = 0;                // the axes' ranges as set
    double m_yLow = 0.0;
    double m_yHigh = 0.0;
    qint64 m_interval = kMinimumRedrawMs;  // least time between redraws, ms
    int m_draws = 0;
    qint64 m_drawTimeNs = 0;
    QElapsedTimer m_sinceDraw;
    QTimer m_pending;
    QLineSeries* m_train;
    QLineSeries* m_test;
    QScatterSeries* m_best;
    QValueAxis* m_x;
    QLogValueAxis* m_y;
};

} // namespace orvalis
