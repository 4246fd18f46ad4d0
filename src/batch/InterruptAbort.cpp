#include "batch/InterruptAbort.h"

#include <csignal>

namespace orvalis {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};

void OnInterrupt(int)
{
    g_interrupted = 1;
}

} // namespace

InterruptAbort::InterruptAbort()
{
    g_interrupted = 0;
    // A tool started with Ctrl+C ignored (in the background of a script) keeps ignoring it.
    sigaction(SIGINT, nullptr, &g_previous);
    if (g_previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The handler is reset by its first call, so the second Ctrl+C takes the default
    // action and ends the process.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptAbort::~InterruptAbort()
{
    sigaction(SIGINT, &g_previous, nullptr);
}

bool InterruptAbort::Requested() const
{
    return g_interrupted != 0;
}

} // namespace orvalis
