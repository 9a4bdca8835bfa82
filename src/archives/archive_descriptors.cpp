#include "archives/archive_descriptors.h"

#include <algorithm>

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
