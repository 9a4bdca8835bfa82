#pragma once
// Why a serial port did not open, in the user's words. A port another program holds keeps the
// familiar message; every other cause gets the same first line and a second one saying what is wrong
// and, where the user can do something about it, what.

#include <QString>

// The message for port `portNumber`, which the port table maps to `path` (empty: to nothing), after the
// open failed with the system's error `code` (errno).
QString SerialOpenFailureText(int portNumber, const QString& path, int code);
// True for the errors of a port that is there but held by someone else: worth trying again shortly.
bool IsSerialPortBusy(int code);
