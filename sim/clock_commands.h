#pragma once
// Setting the meter's clock: service code 6 below firmware level 521, code 9 from 521 (a meter knows
// only its own code), with day, month, year - 2000, hour, minute and second in the parameter bytes.
// The archives start again from the new time, as the meter warns before the command.

#include "service_commands.h"

class EventLogs;
class MeterArchives;
class SimClock;

class ClockCommands : public ServiceCommandHandler {
public:
    ClockCommands(SimClock& clock, MeterArchives& archives, EventLogs& logs)
        : m_clock(clock), m_archives(archives), m_logs(logs)
    {}

    int Execute(const ServiceCommand& command, MeterImage& image) override;

private:
    SimClock& m_clock;
    MeterArchives& m_archives;
    EventLogs& m_logs;
};
