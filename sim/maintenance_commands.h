#pragma once
// The maker's service codes: 65435 forbids calibration until the meter restarts, 65436 erases the
// value archives (the event logs keep their entries and record the erase), 65437..65445 are the
// calibration steps of the temperature and current inputs, accepted unless calibration is forbidden.

#include "service_commands.h"

class EventLogs;
class MeterArchives;
class SimClock;
struct MeterState;

class MaintenanceCommands : public ServiceCommandHandler {
public:
    static constexpr std::uint16_t kLockCalibration = 65435;
    static constexpr std::uint16_t kEraseArchives = 65436;
    static constexpr std::uint16_t kLastCalibrationStep = 65445;

    MaintenanceCommands(MeterArchives& archives, const SimClock& clock, EventLogs& logs, MeterState& state)
        : m_archives(archives), m_clock(clock), m_logs(logs), m_state(state)
    {}

    int Execute(const ServiceCommand& command, MeterImage& image) override;

private:
    MeterArchives& m_archives;
    const SimClock& m_clock;
    EventLogs& m_logs;
    MeterState& m_state;
};
