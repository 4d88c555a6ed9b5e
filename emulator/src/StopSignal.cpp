#include "StopSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

int g_hStopWrite = -1;

void OnStopSignal(int) {
    if (g_hStopWrite >= 0) {
        const char cByte = 1;
        [[maybe_unused]] ssize_t nIgnored = write(g_hStopWrite, &cByte, 1);
    }
}

}  // namespace

int InstallStopSignalPipe() {
    int aPipe[2];
    if (pipe2(aPipe, O_NONBLOCK | O_CLOEXEC) != 0) return -1;
    g_hStopWrite = aPipe[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return aPipe[0];
}
