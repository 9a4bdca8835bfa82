#pragma once
// The simulated meter behind the simulated modem on a pseudo-terminal of its own, put under a COM
// number so that a serial port or a channel opens it like a port device.

#include "sim/meter_simulator.h"
#include "sim/sim_server.h"
#include "support/port_table_guard.h"

#include <QString>

class ModemLine {
public:
    // Guard and dial times short enough for tests.
    static HayesModemSettings FastModem(int speed, ModemCallOutcome outcome = ModemCallOutcome::Connect);

    ModemLine(const HayesModemSettings& modem, int comNumber);
    ~ModemLine();
    ModemLine(const ModemLine&) = delete;
    ModemLine& operator=(const ModemLine&) = delete;

    bool Started() const { return m_started; }
    QString Error() const { return m_error; }
    int ComNumber() const { return m_comNumber; }
    SimServer& Server() { return m_server; }
    // Waits until the modem is in `state`; false after `timeoutMs`.
    bool WaitForState(HayesModem::State state, int timeoutMs = 5000) const;

private:
    PortTableGuard m_ports;  // the COM number goes back to what it was once the line is gone
    MeterSimulator m_meter;
    SimServer m_server;
    int m_comNumber;
    bool m_started = false;
    QString m_error;
};
