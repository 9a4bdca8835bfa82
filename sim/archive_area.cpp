#include "archive_area.h"

#include "configuration_area.h"
#include "event_logs.h"
#include "meter_archives.h"
#include "meter_areas.h"
#include "meter_state.h"

#include "archives/record_bytes.h"

#include <cstring>

static_assert(sizeof(DescriptorDatesArea) == MeterRegister::kDescriptorDatesBytes);
static_assert(sizeof(DescriptorCapacityArea) == MeterRegister::kDescriptorCapacitiesBytes);
static_assert(sizeof(DescriptorEventLogArea) == MeterRegister::kDescriptorLogsBytes);

namespace {

// An answer area gets the bytes the meter sends and zeros after them.
void PutAnswer(MeterImage& image, int area, int areaBytes, const QByteArray& bytes)
{
    std::uint8_t* to = image.At(area);
    std::memset(to, 0, static_cast<std::size_t>(areaBytes));
    std::memcpy(to, bytes.constData(), static_cast<std::size_t>(std::min<qsizetype>(bytes.size(), areaBytes)));
}

}  // namespace

int ArchiveArea::BeforeRead(MeterImage& image, int start, int count)
{
    if (Overlaps(start, count, MeterRegister::kDescriptorDates, MeterRegister::kDescriptorDatesBytes)
        || Overlaps(start, count, MeterRegister::kDescriptorCapacities, MeterRegister::kDescriptorCapacitiesBytes)
        || Overlaps(start, count, MeterRegister::kDescriptorLogs, MeterRegister::kDescriptorLogsBytes))
        FillDescriptors(image);
    if (Overlaps(start, count, MeterRegister::kArchiveRecord, MeterRegister::kAnswerAreaBytes)) {
        if (const int code = FillRecord(image, MeterRegister::kArchiveRecord, false))
            return code;
    }
    if (Overlaps(start, count, MeterRegister::kTotalsRecord, MeterRegister::kAnswerAreaBytes)) {
        if (const int code = FillRecord(image, MeterRegister::kTotalsRecord, true))
            return code;
    }
    if (Overlaps(start, count, MeterRegister::kCurrentTotals, MeterRegister::kCurrentAreaBytes)) {
        const CurrentTotalsRecord totals = m_archives.Generator().CurrentTotals(m_clock.Now(), m_state.activeSet);
        PutAnswer(image, MeterRegister::kCurrentTotals, MeterRegister::kCurrentAreaBytes,
                  RecordToBytes(totals, MeterRegister::kCurrentAreaBytes));
    }
    if (Overlaps(start, count, MeterRegister::kCurrentValues, MeterRegister::kCurrentAreaBytes)) {
        const CurrentValues values = m_archives.Generator().Current(m_clock.Now(), m_state.activeSet);
        PutAnswer(image, MeterRegister::kCurrentValues, MeterRegister::kCurrentAreaBytes, RecordToBytes(values));
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
    std::memcpy(image.At(MeterRegister::kDescriptorDates), &descriptors.dates, sizeof descriptors.dates);
    std::memcpy(image.At(MeterRegister::kDescriptorCapacities), &descriptors.capacities, sizeof descriptors.capacities);
    std::memcpy(image.At(MeterRegister::kDescriptorLogs), &descriptors.logs, sizeof descriptors.logs);
}

int ArchiveArea::FillRecord(MeterImage& image, int area, bool totals) const
{
    const auto request = RequestOf(image);
    // The record area answers the hourly, daily and monthly archives, the totals area the totals.
    if ((request.kind == kArchiveTotals) != totals)
        return SlaveException::kIllegalValue;
    QByteArray bytes;
    const int code
        = m_archives.Answer(static_cast<ArchiveKind>(request.kind), request.date,
                            ConfigurationArea::ReportTimeOf(image), FirmwareLevelOf(image), m_clock.Now(), &bytes);
    if (code == 0)
        PutAnswer(image, area, MeterRegister::kAnswerAreaBytes, bytes);
    return code;
}
