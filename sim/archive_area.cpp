#include "archive_area.h"

#include "configuration_area.h"
#include "event_logs.h"
#include "fault_plan.h"
#include "meter_archives.h"
#include "meter_areas.h"
#include "meter_state.h"

#include "archives/record_bytes.h"
#include "channel/modbus_functions.h"

#include <cstring>

namespace {

// An answer area gets the bytes the meter sends and zeros after them.
void PutAnswer(MeterImage& image, MeterArea area, const QByteArray& bytes)
{
    const int slot = IsAnswerArea(area) ? kAnswerSlotBytes : AreaCapacity(area);
    std::uint8_t* to = AreaIn(image, area);
    std::memset(to, 0, static_cast<std::size_t>(slot));
    std::memcpy(to, bytes.constData(), static_cast<std::size_t>(std::min<qsizetype>(bytes.size(), slot)));
}

}  // namespace

int ArchiveArea::BeforeRead(MeterImage& image, int start, int count)
{
    if (Touches(start, count, MeterArea::kDescriptorDates) || Touches(start, count, MeterArea::kDescriptorCapacities)
        || Touches(start, count, MeterArea::kDescriptorEventLogs))
        FillDescriptors(image);
    if (Touches(start, count, MeterArea::kArchiveRecord)) {
        if (const int code = FillRecord(image, MeterArea::kArchiveRecord))
            return code;
    }
    if (Touches(start, count, MeterArea::kTotalsRecord)) {
        if (const int code = FillRecord(image, MeterArea::kTotalsRecord))
            return code;
    }
    if (Touches(start, count, MeterArea::kCurrentTotals)) {
        const CurrentTotalsRecord totals = m_archives.Generator().CurrentTotals(m_clock.Now(), m_state.activeSet);
        PutAnswer(image, MeterArea::kCurrentTotals, RecordToBytes(totals, kCurrentAreaSize));
    }
    if (Touches(start, count, MeterArea::kCurrentValues)) {
        const CurrentValues values = m_archives.Generator().Current(m_clock.Now(), m_state.activeSet);
        PutAnswer(image, MeterArea::kCurrentValues, RecordToBytes(values));
    }
    return 0;
}

void ArchiveArea::FillDescriptors(MeterImage& image) const
{
    ArchiveDescriptors descriptors{};
    m_archives.FillDescriptors(descriptors, ConfigurationArea::ReportTimeOf(image), FirmwareLevelOf(image),
                               m_clock.Now());
    for (int log = 0; log < kEventLogCount; ++log)
        descriptors.logs.eventLogs[log] = m_logs.Capacity(static_cast<EventLogKind>(log));
    std::memcpy(AreaIn(image, MeterArea::kDescriptorDates), &descriptors.dates, sizeof descriptors.dates);
    std::memcpy(AreaIn(image, MeterArea::kDescriptorCapacities), &descriptors.capacities,
                sizeof descriptors.capacities);
    std::memcpy(AreaIn(image, MeterArea::kDescriptorEventLogs), &descriptors.logs, sizeof descriptors.logs);
}

int ArchiveArea::FillRecord(MeterImage& image, MeterArea area)
{
    auto request = RequestOf(image);
    // The record area answers the hourly, daily and monthly archives, the totals area the totals.
    if ((request.kind == kArchiveTotals) != (area == MeterArea::kTotalsRecord))
        return SlaveException::kIllegalValue;
    // Only the standard functions leave room between the request block and the read for another master.
    if (m_slave.RequestFunction() == Modbus::kReadHoldingRegisters && m_faults.Strike(FaultKind::Swap)) {
        request = OtherRecordRequest(image, request);
        std::memcpy(AreaIn(image, MeterArea::kArchiveRequest), &request, sizeof request);
    }
    QByteArray bytes;
    const int code = m_archives.Answer(static_cast<ArchiveKind>(request.kind), request.date,
                                       ConfigurationArea::ReportTimeOf(image), FirmwareLevelOf(image), m_clock.Now(),
                                       &bytes);
    if (code == 0)
        PutAnswer(image, area, bytes);
    return code;
}

ArchiveRequest ArchiveArea::OtherRecordRequest(const MeterImage& image, ArchiveRequest request)
{
    const auto kind = static_cast<ArchiveKind>(request.kind);
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(image);
    const MeterArchives::Range range = m_archives.RangeOf(kind, reportTime, m_clock.Now());
    const TChronoArch slot = MeterArchives::SlotFor(kind, request.date, reportTime);
    const auto held = [&](const TChronoArch& date) {
        return !range.empty && HourDifference(date, range.first) >= 0 && HourDifference(range.newest, date) >= 0;
    };
    if (!held(slot))
        return request;
    // One to three records later or earlier, the other way when the archive ends first.
    const std::uint32_t draw = m_faults.NextRandom();
    const auto steps = static_cast<std::int64_t>(1 + draw % 3) * ((draw / 3) % 2 != 0 ? 1 : -1);
    for (const std::int64_t step : {steps, -steps}) {
        const TChronoArch other = MeterArchives::Step(kind, slot, step, reportTime);
        if (held(other)) {
            request.date = other;
            return request;
        }
    }
    return request;
}
