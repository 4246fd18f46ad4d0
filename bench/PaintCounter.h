#pragma once

#include <QEvent>
#include <QObject>

namespace orvalis::bench {

// Counts the paint events of a widget it filters (the grid's cell area), so that a
// timed step can show it was painted.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace orvalis::bench
