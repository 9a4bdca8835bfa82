#include "maintenance_commands.h"

#include "event_logs.h"
#include "meter_archives.h"
#include "meter_state.h"
#include "sim_clock.h"

int MaintenanceCommands::Execute(const ServiceCommand& command, MeterImage&)
{
    if (command.Code() < kLockCalibration || command.Code() > kLastCalibrationStep)
        return kNotMine;
    const MeterSeconds now = m_clock.Now();
    switch (command.Code()) {
        case kLockCalibration:
            m_state.calibrationLocked = true;
            m_logs.Append(kEventLogAdministrative,
                          MakeEvent(now, MeterEvent::kCalibrationLocked, 0, kEventValueNone, 0));
            return 0;
        case kEraseArchives:
            m_archives.Erase(now);
            m_logs.Append(kEventLogAdministrative, MakeEvent(now, MeterEvent::kArchiveErased, 0, kEventValueNone, 0));
            return 0;
        default:
            if (m_state.calibrationLocked)
                return SlaveException::kAccessDenied;
            m_state.calibrationCommands.push_back(command.Code());
            return 0;
    }
}
