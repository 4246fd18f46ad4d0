#include "worksheet/ui/ForecastVerdictLabel.h"

#include "worksheet/ForecastCheck.h"

#include <QLabel>

namespace orvalis {

QColor VerdictColour(bool good)
{
    return good ? QColor(0, 130, 0) : QColor(200, 0, 0);
}

void ShowForecastVerdict(QLabel& label, const ForecastCheck* check)
{
    label.setAccessibleName(QObject::tr("Forecast check"));
    label.setWordWrap(true);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!check) {
        label.clear();
        label.hide();
        return;
    }
    const ForecastVerdict verdict = MakeForecastVerdict(*check);
    label.setText(QString::fromStdString(verdict.text));
    label.setAccessibleDescription(label.text());
    // A check that could not be made is no verdict: it keeps the plain text colour.
    QPalette palette = label.parentWidget() ? label.parentWidget()->palette() : label.palette();
    if (check->available)
        palette.setColor(QPalette::WindowText, VerdictColour(verdict.good));
    label.setPalette(palette);
    label.show();
}

} // namespace orvalis
