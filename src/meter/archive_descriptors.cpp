#include "meter/archive_descriptors.h"

#include <algorithm>

namespace {

constexpr DateTimeStamp kEmptyStamp{0, 0, kEmptyYear, 0, 0, 0};

}  // namespace

DateTimeStamp ArchiveDescriptors::FirstRecord(int kind) const
{
    return IsValueArchive(kind) ? dates.firstRecord[kind] : kEmptyStamp;
}

DateTimeStamp ArchiveDescriptors::LastRecord(int kind) const
{
    return IsValueArchive(kind) ? dates.lastRecord[kind] : kEmptyStamp;
}

CapacityEntry ArchiveDescriptors::Capacity(int kind) const
{
    return IsValueArchive(kind) ? capacities.valueArchives[kind] : CapacityEntry{};
}

CapacityEntry ArchiveDescriptors::LogCapacity(int log) const
{
    return log >= 0 && log < kEventLogCount ? logs.eventLogs[log] : CapacityEntry{};
}

ArchiveRequest ValueArchiveRequest(ArchiveKind kind, const DateTimeStamp& date)
{
    ArchiveRequest request{};
    request.date = ChronoOf(date);
    request.minute = date.minute;
    request.second = date.second;
    request.kind = kind;
    return request;
}

ArchiveRequest EventLogRequest(EventLogKind log, std::uint16_t firstRecord, std::uint32_t count)
{
    ArchiveRequest request{};
    request.kind = log;
    request.recordNumber = firstRecord;
    request.count = static_cast<std::uint16_t>(std::min<std::uint32_t>(count, kMaxEventEntries));
    return request;
}

ArchiveRequest FlashPageRequest(std::uint16_t page)
{
    ArchiveRequest request{};
    request.recordNumber = page;
    return request;
}
