#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> g_signal{0};  // the first of SIGINT and SIGTERM that came

extern "C" void OnInterrupt(int signal)
{
    int none = 0;
    g_signal.compare_exchange_strong(none, signal);
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
    return g_signal.load() != 0;
}

int InterruptSignal()
{
    return g_signal.load();
}

void ResetInterrupted()
{
    g_signal.store(0);
}
