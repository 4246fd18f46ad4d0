#include "worksheet/ui/TrainingCurve.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

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
    if (!m_sinceDraw.isValid() || m_sinceDraw.elapsed() >= kMinimumRedrawMs)
        Flush();
    else if (!m_pending.isActive())
        m_pending.start(kMinimumRedrawMs - int(m_sinceDraw.elapsed()));
}

void CTrainingCurve::Flush()
{
    m_pending.stop();
    m_sinceDraw.restart();
    if (m_drawn == m_cycles.size())
        return;
    ++m_draws;
    // A logarithmic axis shows only positive, finite ratios.
    auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    QList<QPointF> train, test;
    for (std::size_t i = m_drawn; i < m_cycles.size(); ++i) {
        const Cycle& c = m_cycles[i];
        if (positive(c.train))
            train.append(QPointF(c.cycle, c.train));
        if (positive(c.test))
            test.append(QPointF(c.cycle, c.test));
    }
    m_train->append(train);
    m_test->append(test);
    m_drawn = m_cycles.size();

    double low = 0.0, high = 0.0;
    bool any = false;
    for (const Cycle& c : m_cycles)
        for (double v : {c.train, c.test})
            if (positive(v)) {
                low = any ? std::min(low, v) : v;
                high = any ? std::max(high, v) : v;
                any = true;
            }
    m_x->setRange(m_cycles.front().cycle, std::max(m_cycles.back().cycle, m_cycles.front().cycle + 1));
    if (any)
        m_y->setRange(low / 1.2, high * 1.2);
    m_best->clear();
    if (m_bestCycle >= 0 && positive(m_bestTest))
        m_best->append(m_bestCycle, m_bestTest);
}

} // namespace orvalis
