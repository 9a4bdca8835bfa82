#pragma once
// The demo meter of `--demo`: a simulated ЗТ5 meter inside the program, serving Modbus RTU on a free
// loopback TCP port from a thread of its own until the object goes.

#include "nodes/demo_node.h"

#include <QString>

#include <memory>

class MeterSimulator;
class SimServer;

class DemoMeter {
public:
    DemoMeter();
    ~DemoMeter();  // stops the server thread
    DemoMeter(const DemoMeter&) = delete;
    DemoMeter& operator=(const DemoMeter&) = delete;

    // Binds the port and starts serving; false with the reason in `error`.
    bool Start(QString* error);
    // Where the node of the demo meter has to point.
    DemoMeterAddress Address() const;
    MeterSimulator& Meter() { return *m_meter; }

private:
    std::unique_ptr<MeterSimulator> m_meter;
    std::unique_ptr<SimServer> m_server;
};
