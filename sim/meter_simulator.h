#pragma once
// One simulated meter: its register image with the identity filled in, the slave that answers over it,
// the behaviour of each area (configuration, clock, service data, password-protected changes, service
// commands, archives, event logs, flash pages) and the fault plan. Endpoints (sim_server.h) feed it
// bytes; tests and the demo reach its image and its parts.

#include "fault_plan.h"
#include "meter_image.h"
#include "meter_state.h"
#include "modbus_slave.h"
#include "sim_clock.h"
#include "sim_options.h"

#include <memory>
#include <mutex>

class ConfigurationArea;
class EventLogs;
class MeterArchives;

class MeterSimulator {
public:
    explicit MeterSimulator(const SimOptions& options);
    ~MeterSimulator();
    MeterSimulator(const MeterSimulator&) = delete;
    MeterSimulator& operator=(const MeterSimulator&) = delete;

    const SimOptions& Options() const { return m_options; }
    ModbusSlave& Slave() { return m_slave; }
    FaultPlan& Faults() { return m_faults; }

    // The image and the parts below may be looked at or changed from another thread only under this
    // lock; the endpoint holds it while it answers a request.
    std::mutex& Lock() { return m_lock; }
    MeterImage& Image() { return m_image; }
    SimClock& Clock() { return m_clock; }
    const MeterState& State() const { return m_state; }
    MeterArchives& Archives();
    EventLogs& Logs();
    ConfigurationArea& Configuration();

    // A new identity; the configuration and the maker's data start afresh in the layouts of its
    // firmware level.
    void SetIdentity(const SimIdentity& identity);

private:
    struct Areas;

    SimOptions m_options;
    MeterImage m_image;
    ModbusSlave m_slave;
    FaultPlan m_faults;
    std::mutex m_lock;
    SimClock m_clock;
    MeterState m_state;
    std::unique_ptr<Areas> m_areas;
};
