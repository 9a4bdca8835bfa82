#include "meter_archives.h"

#include "modbus_slave.h"

#include "archives/record_bytes.h"

#include <algorithm>
#include <cstring>

namespace {

// A configuration damaged by hand still gives the archives a calendar to work with.
ReportTime Sane(ReportTime reportTime)
{
    return ReportTime{std::min<std::uint8_t>(reportTime.hour, 23), std::clamp<std::uint8_t>(reportTime.day, 1, 31)};
}

bool IsValidDate(const TChronoArch& date)
{
    return date.year != kEmptyYear && date.month >= 1 && date.month <= 12 && date.day >= 1
        && date.day <= MonthLength(date.month, date.year) && date.hour < 24;
}

bool Before(const TChronoArch& a, const TChronoArch& b)
{
    return HourDifference(a, b) < 0;
}

// The newest slot of the kind at or before `time`.
TChronoArch LastSlotAtOrBefore(ArchiveKind kind, MeterSeconds time, ReportTime reportTime)
{
    const TChronoArch slot = MeterArchives::SlotFor(kind, ChronoAt(time), reportTime);
    return SecondsOf(slot) > time ? MeterArchives::Step(kind, slot, -1, reportTime) : slot;
}

// Records from a to b, both included.
std::int64_t SlotCount(ArchiveKind kind, const TChronoArch& a, const TChronoArch& b)
{
    switch (kind) {
        case kArchiveHourly:
            return HourDifference(b, a) + 1;
        case kArchiveMonthly:
            return (b.year * 12 + b.month) - (a.year * 12 + a.month) + 1;
        default:
            return DayNumber(b) - DayNumber(a) + 1;
    }
}

constexpr DateTimeStamp kEmptyStamp{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

MeterArchives::MeterArchives(std::uint32_t seed, const ArchiveSpan& span, MeterSeconds clockNow)
    : m_generator(seed), m_span(span)
{
    m_reset = Now(clockNow) - std::max(0, span.days) * kSecondsPerDay;
    m_generator.PrepareTotals(std::max(Now(clockNow), clockNow));
}

TChronoArch MeterArchives::SlotFor(ArchiveKind kind, TChronoArch date, ReportTime reportTime)
{
    reportTime = Sane(reportTime);
    switch (kind) {
        case kArchiveHourly:
            return date;
        case kArchiveMonthly:
            date.day = static_cast<std::uint8_t>(std::min<int>(reportTime.day, MonthLength(date.month, date.year)));
            date.hour = reportTime.hour;
            return date;
        default:
            date.hour = reportTime.hour;
            return date;
    }
}

TChronoArch MeterArchives::Step(ArchiveKind kind, TChronoArch slot, std::int64_t steps, ReportTime reportTime)
{
    reportTime = Sane(reportTime);
    switch (kind) {
        case kArchiveHourly:
            return ChronoAt(SecondsOf(slot) + steps * kSecondsPerHour);
        case kArchiveMonthly:
            for (; steps != 0; steps += steps > 0 ? -1 : 1)
                slot = StepArchiveDate(kind, slot, steps > 0 ? 1 : -1, reportTime);
            return slot;
        default:  // whole days keep the report hour
            return ChronoAt(SecondsOf(slot) + steps * kSecondsPerDay);
    }
}

MeterArchives::Range MeterArchives::RangeOf(ArchiveKind kind, ReportTime reportTime, MeterSeconds clockNow) const
{
    Range range;
    range.newest = LastSlotAtOrBefore(kind, Now(clockNow), reportTime);
    range.next = Step(kind, range.newest, 1, reportTime);
    const TChronoArch first = Step(kind, LastSlotAtOrBefore(kind, m_reset, reportTime), 1, reportTime);
    if (Before(range.newest, first))
        return range;
    range.empty = false;
    range.written = SlotCount(kind, first, range.newest);
    const int capacity = kCapacity[kind];
    range.overwrote = range.written > capacity;
    range.first = range.overwrote ? Step(kind, range.newest, -(capacity - 1), reportTime) : first;
    return range;
}

int MeterArchives::Answer(ArchiveKind kind, TChronoArch requested, ReportTime reportTime, std::uint16_t level,
                          MeterSeconds clockNow, QByteArray* bytes) const
{
    if (!IsValueArchive(kind) || !IsValidDate(requested))
        return SlaveException::kIllegalValue;
    const TChronoArch slot = SlotFor(kind, requested, reportTime);
    const Range range = RangeOf(kind, reportTime, clockNow);
    if (range.empty || Before(slot, range.first) || Before(range.newest, slot))
        return SlaveException::kNoDataForDate;
    if (kind == kArchiveTotals)
        *bytes = RecordToBytes(m_generator.Totals(slot), TotalsRecordSize(level));
    else
        *bytes = RecordToBytes(m_generator.ValueRecord(kind, slot, Sane(reportTime)), ArchiveRecordSize(level));
    return 0;
}

QByteArray MeterArchives::RecordBytes(ArchiveKind kind, TChronoArch requested, ReportTime reportTime,
                                      std::uint16_t level, MeterSeconds clockNow) const
{
    QByteArray bytes;
    return Answer(kind, requested, reportTime, level, clockNow, &bytes) == 0 ? bytes : QByteArray();
}

void MeterArchives::FillDescriptors(ArchiveDescriptors& descriptors, ReportTime reportTime, std::uint16_t level,
                                    MeterSeconds clockNow) const
{
    std::memset(&descriptors.dates, 0, sizeof descriptors.dates);
    std::memset(&descriptors.capacities, 0, sizeof descriptors.capacities);
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const Range range = RangeOf(static_cast<ArchiveKind>(kind), reportTime, clockNow);
        descriptors.dates.firstRecord[kind] = range.empty ? kEmptyStamp : StampOf(range.first);
        descriptors.dates.lastRecord[kind] = range.empty ? kEmptyStamp : StampOf(range.next);
        CapacityEntry& capacity = descriptors.capacities.valueArchives[kind];
        capacity.maxRecords = static_cast<std::uint16_t>(kCapacity[kind]);
        capacity.writeIndex = static_cast<std::uint16_t>(range.written % kCapacity[kind]);
        capacity.recordSize = static_cast<std::uint16_t>(kind == kArchiveTotals ? TotalsRecordSize(level)
                                                                                : ArchiveRecordSize(level));
        capacity.flags = range.overwrote ? 1 : 0;
    }
    descriptors.dates.resetDate = StampAt(m_reset);
}
