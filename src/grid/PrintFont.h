#pragma once

#include <QFont>
#include <QString>

namespace orvalis {

// The face the grid prints with. The sheet's print face is named "Times New Roman"; where
// that face is not installed, fontconfig's aliases name the free faces with the same
// character widths, and the first of those that is installed is taken, so a printed
// page keeps its line breaks and column fits. Without any of them, "DejaVu Serif".
// Resolved once per process.
QString PrintFontFamily();

// The print font: PrintFontFamily() at the given character height in pixels (units of
// the page) and weight.
QFont PrintFont(int pixelHeight, int weight = 400);

} // namespace orvalis
