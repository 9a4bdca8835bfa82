#pragma once
// The demo: a simulated meter serving a free loopback TCP port inside the running program, and the
// node "Демо-прибор" that reaches it. The desktop program and zt5ctl --demo both offer it.

#include "meter_simulator.h"
#include "sim_server.h"

#include "nodes/demo_node.h"
#include "nodes/node_record.h"

#include <QString>

class DemoMeter {
public:
    DemoMeter();
    ~DemoMeter();
    DemoMeter(const DemoMeter&) = delete;
    DemoMeter& operator=(const DemoMeter&) = delete;

    // Binds 127.0.0.1 on a port the system picks and starts answering; false with the system's words.
    bool Start(QString* error);
    // Where the node of the running meter has to point.
    DemoMeterAddress Address() const;
    // The node of the running meter: TCP to its port, RTU framing, the meter's own address.
    NodeRecord Node() const { return DemoNodeRecord(Address()); }
    MeterSimulator& Meter() { return m_meter; }

private:
    MeterSimulator m_meter;
    SimServer m_server;
    bool m_started = false;
};
