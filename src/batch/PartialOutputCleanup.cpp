#include "batch/PartialOutputCleanup.h"

#include "worksheet/OutputFile.h"

#include <csignal>

namespace orvalis {

namespace {

void OnEndSignal(int sig)
{
    RemovePartialOutputs();
    // The signal's own default action then ends the tool, so the parent sees it.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void InstallPartialOutputCleanup()
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction old {};
        sigaction(sig, nullptr, &old);
        if (old.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(sig, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace orvalis
