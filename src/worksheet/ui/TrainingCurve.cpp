#include "worksheet/ui/TrainingCurve.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvalis {

CTrainingCurve::CTrainingCurve(QWidget* parent)
    : QChartView(parent)
    , m_train(new QLineSeries)
    , m_test(new QLineSeries)
    , m_best(new QScatterSeries)
    , m_x(new QValueAxis)
    , m_y(new QLogValueAxis)
{
    setAccessibleName(tr("Training curve"));
    setRenderHint(QPainter::Antialiasing);
    auto* chart = new QChart;
    m_train->setName(tr("Train ratio"));
    m_test->setName(tr("Test ratio"));
    m_best->setName(tr("Best cycle"));
    m_best->setMarkerSize(9);
    chart->addSeries(m_train);
    chart->addSeries(m_test);
    chart->addSeries(m_best);
    m_x->setTitleText(tr("Cycle"));
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_y->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(m_x, Qt::AlignBottom);
    chart->addAxis(m_y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(m_x);
        s->attachAxis(m_y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    // The view comes with a chart of its own, which it gives up, not deletes, when
    // handed another one.
    QChart* const made = this->chart();
    setChart(chart);
    delete made;
    // Nothing to show before the first cycles: the window's first paint at the start
    // of a run skips the empty chart.
    viewport()->setUpdatesEnabled(false);
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, &CTrainingCurve::Flush);
}

// As wide as the window's fields make it.
QSize CTrainingCurve::sizeHint() const { return {0, kPreferredHeight}; }

void CTrainingCurve::AddCycle(int cycle, double trainRatio, double testRatio)
{
    if (!m_cycles.empty() && cycle <= m_cycles.back().cycle) {
        m_cycles.clear();
        m_drawn = 0;
        m_bestCycle = -1;
        m_bestDrawn = -1;
        m_trainPoints.clear();
        m_testPoints.clear();
        m_xMax = 0;
        m_yLow = m_yHigh = 0.0;
        m_train->clear();
        m_test->clear();
        m_best->clear();
    }
    m_cycles.push_back({cycle, trainRatio, testRatio});
    // As in the run itself, a testing ratio that is not a number is never the best.
    if (std::isfinite(testRatio) && (m_bestCycle < 0 || testRatio < m_bestTest)) {
        m_bestCycle = cycle;
        m_bestTest = testRatio;
    }
    // The first cycle starts the clock: a run shorter than one interval draws once, at
    // its end.
    if (!m_sinceDraw.isValid())
        m_sinceDraw.start();
    if (m_sinceDraw.elapsed() >= m_interval)
        Flush();
    else if (!m_pending.isActive())
        m_pending.start(int(m_interval - m_sinceDraw.elapsed()));
}

void CTrainingCurve::Flush()
{
    m_pending.stop();
    if (m_drawn == m_cycles.size()) {
        m_sinceDraw.restart();
        return;
    }
    QElapsedTimer cost;
    cost.start();
    ++m_draws;
    // A logarithmic axis shows only positive, finite ratios.
    auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    double low = m_yLow, high = m_yHigh;
    for (std::size_t i = m_drawn; i < m_cycles.size(); ++i) {
        const Cycle& c = m_cycles[i];
        for (double v : {c.train, c.test})
            if (positive(v)) {
                low = low > 0.0 ? std::min(low, v) : v;
                high = std::max(high, v);
            }
        if (positive(c.train))
            m_trainPoints.append(QPointF(c.cycle, c.train));
        if (positive(c.test))
            m_testPoints.append(QPointF(c.cycle, c.test));
    }
    m_drawn = m_cycles.size();
    viewport()->setUpdatesEnabled(true);

    // Each change of an axis range lays the whole chart out again, so the ranges grow
    // in steps with room to spare and most redraws only move the lines.
    const int first = m_cycles.front().cycle;
    const int last = m_cycles.back().cycle;
    if (last > m_xMax || m_xMax <= first) {
        m_xMax = std::max(first + 10, first + (last - first) * 3 / 2);
        m_x->setRange(first, m_xMax);
    }
    if (low > 0.0 && (low < m_yLow || high > m_yHigh || m_yLow <= 0.0)) {
        // The axis labels powers of ten: a range inside one decade (ratios of a good
        // fit, near a millionth, say) would carry one label or none. The range runs
        // from decade to decade, at least one, and stays inside the doubles.
        constexpr double kLeast = std::numeric_limits<double>::min();
        constexpr double kMost = std::numeric_limits<double>::max();
        m_yLow = std::max(kLeast, std::pow(10.0, std::floor(std::log10(std::max(kLeast, low / 1.5)))));
        m_yHigh = std::min(kMost, std::pow(10.0, std::ceil(std::log10(std::min(kMost, high * 1.5)))));
        if (m_yHigh <= m_yLow)
            m_yHigh = std::min(kMost, m_yLow * 10.0);
        m_y->setRange(m_yLow, m_yHigh);
    }
    // One replacement is one layout of a line; appending lays it out once per point.
    m_train->replace(m_trainPoints);
    m_test->replace(m_testPoints);
    if (m_bestCycle != m_bestDrawn) {
        m_bestDrawn = m_bestCycle;
        m_best->clear();
        if (m_bestCycle >= 0 && positive(m_bestTest))
            m_best->append(m_bestCycle, m_bestTest);
    }
    // Painted now, so that what a redraw costs is known: the next one waits at least two
    // hundred times as long, which keeps drawing under half a percent of a run.
    if (isVisible())
        viewport()->repaint();
    m_drawTimeNs += cost.nsecsElapsed();
    m_interval = std::max<qint64>(kMinimumRedrawMs, cost.elapsed() * kDrawBudgetFactor);
    m_sinceDraw.restart();
}

} // namespace orvalis
