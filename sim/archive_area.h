#pragma once
// The read-only archive areas: the three descriptor areas, the record and totals answer areas (filled
// for the request last written at register 99), the current values with the meter's clock in their
// first six bytes, and the current totals. The "swap" fault plays a second master here: before a
// function-3 read of a record area it writes its own request for another record of the same archive.

#include "modbus_slave.h"

#include "meter/archive_descriptors.h"
#include "meter/register_map.h"

class EventLogs;
class FaultPlan;
class MeterArchives;
class SimClock;
struct MeterState;

class ArchiveArea : public AreaBehaviour {
public:
    ArchiveArea(const MeterArchives& archives, const EventLogs& logs, const SimClock& clock, const MeterState& state,
                const ModbusSlave& slave, FaultPlan& faults)
        : m_archives(archives), m_logs(logs), m_clock(clock), m_state(state), m_slave(slave), m_faults(faults)
    {}

    int BeforeRead(MeterImage& image, int start, int count) override;

private:
    void FillDescriptors(MeterImage& image) const;
    int FillRecord(MeterImage& image, MeterArea area);
    // The other master's request: `request` for a record one to three records away that the archive
    // holds; `request` itself when there is none (an empty archive, a date outside it).
    ArchiveRequest OtherRecordRequest(const MeterImage& image, ArchiveRequest request);

    const MeterArchives& m_archives;
    const EventLogs& m_logs;
    const SimClock& m_clock;
    const MeterState& m_state;
    const ModbusSlave& m_slave;
    FaultPlan& m_faults;
};
