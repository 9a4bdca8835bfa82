#pragma once
// Ctrl+C: the first SIGINT only raises a flag that the waiting main thread turns into the driver's stop
// request, so a running command ends cleanly (a cyclic read then counts as done).

void InstallInterruptHandler();
bool Interrupted();
// For tests: back to not interrupted.
void ResetInterrupted();
