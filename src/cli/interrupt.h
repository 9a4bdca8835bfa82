#pragma once
// Ctrl+C and SIGTERM: the first signal only raises a flag that the waiting main thread turns into the
// driver's stop request, so a running command ends cleanly (a cyclic read then counts as done).

void InstallInterruptHandler();
bool Interrupted();
// The signal that stopped the run (SIGINT or SIGTERM), 0 while none came.
int InterruptSignal();
// For tests: back to not interrupted.
void ResetInterrupted();
