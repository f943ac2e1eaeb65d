#include "interrupt.h"

namespace telmora::kelvo {

namespace {

volatile std::sig_atomic_t interrupted = 0;
sigset_t waitMask;
bool installed = false;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

} // namespace

void InstallInterruptHandlers() {
    if (installed) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    installed = true;
}

bool InterruptRequested() {
    return interrupted != 0;
}

const sigset_t* WaitMask() {
    return installed ? &waitMask : nullptr;
}

} // namespace telmora::kelvo
