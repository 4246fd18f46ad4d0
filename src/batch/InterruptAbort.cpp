#include "batch/InterruptAbort.h"

#include <csignal>

namespace orvalis {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kStopSignalCount = sizeof kStopSignals / sizeof kStopSignals[0];

volatile std::sig_atomic_t g_signal = 0;
struct sigaction g_previous[kStopSignalCount] {};
bool g_installed[kStopSignalCount] = {};

void OnStopSignal(int signal)
{
    g_signal = signal;
    // Whichever signal comes next gets what it would have got without the run (end the
    // tool, removing the temporary file of a save under way): the handlers from before
    // are put back, and the next signal is delivered to them.
    for (int i = 0; i < kStopSignalCount; ++i)
        if (g_installed[i])
            sigaction(kStopSignals[i], &g_previous[i], nullptr);
}

} // namespace

InterruptAbort::InterruptAbort()
{
    g_signal = 0;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kStopSignals)
        sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kStopSignalCount; ++i) {
        sigaction(kStopSignals[i], nullptr, &g_previous[i]);
        g_installed[i] = g_previous[i].sa_handler != SIG_IGN;
        if (g_installed[i])
            sigaction(kStopSignals[i], &action, nullptr);
    }
}

InterruptAbort::~InterruptAbort()
{
    for (int i = 0; i < kStopSignalCount; ++i) {
        if (g_installed[i])
            sigaction(kStopSignals[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
}

bool InterruptAbort::Requested() const
{
    return g_signal != 0;
}

int InterruptAbort::Signal() const
{
    return g_signal;
}

const char* StopSignalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
    }
}

} // namespace orvalis
