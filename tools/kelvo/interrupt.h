#pragma once

#include <csignal>

// Ctrl-C and SIGTERM end kelvo cleanly. The signals stay blocked except while the event
// loop waits (ppoll with WaitMask), so a signal can never slip in between checking the
// flag and starting to wait.
namespace telmora::kelvo {

void InstallInterruptHandlers();
bool InterruptRequested();
// The signal mask to wait with: the one kelvo started with.
const sigset_t* WaitMask();

} // namespace telmora::kelvo
