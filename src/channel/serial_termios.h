#pragma once
// How line settings become a terminal state. Kept apart from the system calls so the bit layout can
// be checked without a device.

#include "channel/serial_device.h"

#include <termios.h>

// The state a port is put in as soon as it is opened: raw bytes both ways, receiver on, modem-status
// lines ignored, no flow control, a read takes what is there.
void MakeRawLineState(termios& state);

// Puts baud rate, data bits, parity and stop bits into `state` (raw as above). Returns 0, or EINVAL for
// a combination the line cannot run: data bits outside 5..8, parity outside 0..4, stop bits outside
// 0..2, one and a half stop bits with other than 5 data bits (a UART gives 1.5 only there), two stop
// bits with 5 data bits (the same setting gives 1.5 there), a speed of 0 or less. `customBaud` is set
// when the speed has no standard constant; the state then carries a placeholder speed.
int EncodeLineSettings(termios& state, const SerialLineSettings& settings, bool& customBaud);
