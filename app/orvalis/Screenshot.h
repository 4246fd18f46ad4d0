#pragma once

#include <QStringList>

namespace orvalis {

// The documentation picture: `orvalis --screenshot OUT.png [--import FILE]
// [--role COL=ROLE]... [--train] [--chart] [--size WxH]` starts the program on
// throw-away settings (the user's stay untouched), imports FILE with its header line
// into Worksheet1, gives the listed columns their roles, configures the sections,
// trains it and shows the chart pane when asked, and writes the main window (1100 x
// 640 unless --size says otherwise) as a PNG. Returns the exit code,
// or -1 when the arguments do not ask for a screenshot.
int RunScreenshot(const QStringList& arguments);

} // namespace orvalis
