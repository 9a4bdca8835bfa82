#pragma once
// Which serial devices this machine has: the part of the port search that asks the system.

#include <QList>
#include <QString>

struct SerialDeviceEntry {
    QString path;        // the name to keep: the /dev/serial/by-id link when there is one
    QString kernelPath;  // the kernel's own node, e.g. /dev/ttyUSB0
};

// The ttyS*, ttyUSB* and ttyACM* nodes under `deviceFolder` (normally /dev), each family in the
// kernel's numeric order. A ttyS node that has no UART behind it (the kernel creates them in advance)
// or that cannot be opened to tell is left out.
QList<SerialDeviceEntry> ListSerialDevices(const QString& deviceFolder);
