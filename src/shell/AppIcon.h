#pragma once

#include <QIcon>

namespace orvalis {

// The program's icon: a rising series over a small grid, drawn at the sizes the
// frames and boxes ask for.
QIcon AppIcon();

} // namespace orvalis
