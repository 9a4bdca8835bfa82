#pragma once
// The read-only archive areas: the three descriptor areas, the record and totals answer areas (filled
// for the request last written at register 99), the current values with the meter's clock in their
// first six bytes, and the current totals.

#include "modbus_slave.h"

#include "meter/register_map.h"

class EventLogs;
class MeterArchives;
class SimClock;
struct MeterState;

class ArchiveArea : public AreaBehaviour {
public:
    ArchiveArea(const MeterArchives& archives, const EventLogs& logs, const SimClock& clock, const MeterState& state)
        : m_archives(archives), m_logs(logs), m_clock(clock), m_state(state)
    {}

    int BeforeRead(MeterImage& image, int start, int count) override;

private:
    void FillDescriptors(MeterImage& image) const;
    int FillRecord(MeterImage& image, MeterArea area) const;

    const MeterArchives& m_archives;
    const EventLogs& m_logs;
    const SimClock& m_clock;
    const MeterState& m_state;
};
