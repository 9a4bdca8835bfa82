#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted.store(true);
}

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted()
{
    return g_interrupted.load();
}

void ResetInterrupted()
{
    g_interrupted.store(false);
}
