#include "base/file_size_signal.h"

#include <csignal>

void IgnoreFileSizeSignal()
{
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGXFSZ, &action, nullptr);
}
