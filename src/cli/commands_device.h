#pragma once
// Commands on the meter itself: its identity, its clock, service commands and a flash page.

class CliContext;

int RunInfo(CliContext& context);
int RunSetClock(CliContext& context);
int RunService(CliContext& context);
int RunFlash(CliContext& context);
