#pragma once
// The process's port table (PortTable::Global(), the one serial ports open through) is put back as it
// was when the guard was made once the guard goes, so numbers a test or a rig assigns do not outlive
// it, even when the test stops at a failed assertion.

#include "channel/port_table.h"

#include <QMap>
#include <QString>

class PortTableGuard {
public:
    PortTableGuard();
    ~PortTableGuard();
    PortTableGuard(const PortTableGuard&) = delete;
    PortTableGuard& operator=(const PortTableGuard&) = delete;

private:
    QMap<int, QString> m_saved;
};

// Every test of the program runs within a guard of its own (a GoogleTest listener): whatever it leaves
// in the table, the next test finds the table as the previous one found it. Call before RUN_ALL_TESTS.
void KeepPortTableChangesWithinEachTest();
