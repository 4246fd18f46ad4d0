#include "batch/InterruptAbort.h"

#include <csignal>

namespace orvalis {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};

void OnInterrupt(int)
{
    // The second Ctrl+C gets what Ctrl+C would have done without the run (end the tool,
    // removing the temporary file of a save under way): raised again, it is delivered
    // to that handler as soon as this one returns.
    if (g_interrupted) {
        sigaction(SIGINT, &g_previous, nullptr);
        std::raise(SIGINT);
        return;
    }
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
    action.sa_flags = SA_RESTART;
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
