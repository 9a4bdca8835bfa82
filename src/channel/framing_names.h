#pragma once
// Names of the wire framings on command lines: "rtu", "ascii", "ppp" and "tcp" (the MBAP header).

#include <QString>

// The framing number, or -1 for an unknown name.
int FramingFromName(const QString& name);
QString FramingName(int framing);
