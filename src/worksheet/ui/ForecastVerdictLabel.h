#pragma once

#include <QColor>

class QLabel;

namespace orvalis {

struct ForecastCheck;

// The colours a verdict is shown in: green when the network beat repeating the last
// value, red otherwise (the Results panel's colours for Theil's U).
QColor VerdictColour(bool good);

// Shows the verdict of check in label (word-wrapped, selectable, named "Forecast check"
// for screen readers), in the verdict's colour when the check could be made; hides the
// label when there is no check.
void ShowForecastVerdict(QLabel& label, const ForecastCheck* check);

} // namespace orvalis
