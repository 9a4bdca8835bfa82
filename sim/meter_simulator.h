#pragma once
// One simulated meter: its register image with the identity filled in, the slave that answers over it
// and the fault plan. Endpoints (sim_server.h) feed it bytes; tests and the demo reach its image.

#include "fault_plan.h"
#include "meter_image.h"
#include "modbus_slave.h"
#include "sim_options.h"

#include <mutex>

class MeterSimulator {
public:
    explicit MeterSimulator(const SimOptions& options);

    const SimOptions& Options() const { return m_options; }
    ModbusSlave& Slave() { return m_slave; }
    FaultPlan& Faults() { return m_faults; }

    // The image may be looked at or changed from another thread only under this lock; the endpoint
    // holds it while it answers a request.
    std::mutex& Lock() { return m_lock; }
    MeterImage& Image() { return m_image; }

    void SetIdentity(const SimIdentity& identity);

private:
    SimOptions m_options;
    MeterImage m_image;
    ModbusSlave m_slave;
    FaultPlan m_faults;
    std::mutex m_lock;
};
