#pragma once
// zt5ctl's exit status, the same for every command: what a script tells apart. A command returns one
// of these; the program's last step (FinalExitStatus) puts a signal that stopped it and a result that
// could not be written over it. A failed driver command is told from its causes by DriverFailureCode.

#include "protocol/modbus_master.h"

#include <QString>

enum ExitCode : int {
    kExitOk = 0,
    kExitPartial = 1,    // done in part: records or meters missing, the rest done
    kExitUsage = 2,      // the command line is wrong
    kExitNoAnswer = 3,   // no connection, or the meter did not answer
    kExitRefused = 4,    // refused: by the meter (exception, access denied, another model) or by the checks
    kExitFile = 5,       // a file or database could not be read, written or created (a full disk too)
    kExitSigint = 130,   // stopped by SIGINT (what was stored stays)
    kExitSigterm = 143,  // stopped by SIGTERM
};

// Why a driver command failed, as its exit status: the meter's exception or a question left unanswered
// is a refusal, no answer is no answer, a line that never carried an answer (`noLine`) is no
// connection, and a command that failed with every exchange answered was refused by the driver's own
// checks (another model, the clock, the settings).
ExitCode DriverFailureCode(ExchangeFailure failure, bool questionRefused, bool noLine);

// What the process exits with: `commandCode` unless a signal (SIGINT, SIGTERM) stopped a command that
// did not end as done, or the result could not be written to stdout (`outputFailed`).
int FinalExitStatus(int commandCode, int stopSignal, bool outputFailed);

// The exit-status section of the help and the manual page.
QString ExitStatusHelp();
