#pragma once

#include <functional>

class QWidget;

namespace orvalis {

// Start-up timing for the benchmark in bench/startup.py. When ORVALIS_STARTUP_PROBE
// names a file, the first time the main window (as mainWindow answers once it exists)
// is exposed on screen the probe notes the monotonic clock, lets the window finish its
// first paint, appends "started_ns exposed_ns painted_ns cpu_ns" to the file
// (started: when the probe was set up; cpu: processor time used until painted) and ends the program through the normal exit. Without the
// variable it does nothing. Call it before the start-up sequence, so that no expose
// slips past.
void WatchFirstShow(std::function<QWidget*()> mainWindow);

} // namespace orvalis
