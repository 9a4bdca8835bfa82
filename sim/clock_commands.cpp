#include "clock_commands.h"

#include "event_logs.h"
#include "meter_archives.h"
#include "meter_areas.h"
#include "sim_clock.h"

#include <cstring>

int ClockCommands::Execute(const ServiceCommand& command, MeterImage& image)
{
    const bool clockCode = command.Code() == ClockCommandCode(0)
        || command.Code() == ClockCommandCode(kLevelClockCode9);
    if (!clockCode)
        return kNotMine;
    if (command.Code() != ClockCommandCode(FirmwareLevelOf(image)))
        return SlaveException::kIllegalValue;
    const PasswordBytes parameters = command.Parameters();
    DateTimeStamp stamp;
    std::memcpy(&stamp, parameters.data(), sizeof stamp);
    if (!IsValidStamp(stamp))
        return SlaveException::kIllegalValue;
    const MeterSeconds before = m_clock.Now();
    m_clock.Set(SecondsOf(stamp));
    m_archives.Erase(m_clock.Now());
    m_logs.Append(kEventLogAdministrative,
                  MakeEvent(m_clock.Now(), MeterEvent::kClockSet, 0, kEventValueChrono, 0, ChronoBits(ChronoAt(before)),
                            ChronoBits(ChronoOf(stamp))));
    m_logs.Append(kEventLogAdministrative, MakeEvent(m_clock.Now(), MeterEvent::kArchiveErased, 0, kEventValueNone, 0));
    return 0;
}
