#pragma once
// The archive descriptor block (three register areas) and the request block that selects what an
// archive, event-log or flash-page read returns.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "meter/archive_date.h"

// Kind field of ArchiveRequest for value reads.
enum ArchiveKind : std::uint16_t {
    kArchiveHourly = 0,
    kArchiveDaily = 1,
    kArchiveMonthly = 2,
    kArchiveTotals = 3,
    kArchiveCurrentValues = 4,
    kArchiveCurrentTotals = 5,
};
constexpr int kValueArchiveCount = 4;  // hourly, daily, monthly, totals: the kinds with descriptors

// Kind field of ArchiveRequest for event-log reads.
enum EventLogKind : std::uint16_t {
    kEventLogDbChanges = 0,
    kEventLogAdministrative = 1,
    kEventLogDiagnostics = 2,
};
constexpr int kEventLogCount = 3;

constexpr bool IsValueArchive(int kind)
{
    return kind >= kArchiveHourly && kind <= kArchiveTotals;
}

#pragma pack(push, 1)

// One archive's size and write position.
struct CapacityEntry {
    std::uint16_t maxRecords;  // "Макс.число зап."
    std::uint16_t writeIndex;  // "Инд. для записи"
    std::uint16_t recordSize;  // "Размер записи"
    std::uint8_t flags;        // bit 0: "Пр.закольц."
    std::uint8_t notInterpreted;

    // Set once the archive is full and overwrites its oldest records.
    bool Overwrites() const { return (flags & 0x01) != 0; }
    // The records there: every place once the archive has wrapped, else those before the write index.
    int StoredRecords() const { return Overwrites() ? maxRecords : std::min(writeIndex, maxRecords); }
};
static_assert(sizeof(CapacityEntry) == 8);

// Area 1: first and last record dates of the four value archives, then the reset date.
struct DescriptorDatesArea {
    DateTimeStamp firstRecord[kValueArchiveCount];
    DateTimeStamp lastRecord[kValueArchiveCount];
    DateTimeStamp resetDate;  // "Дата сброса"
};
static_assert(sizeof(DescriptorDatesArea) == 54);

// Area 2: six bytes we do not interpret, then the capacities of the four value archives.
struct DescriptorCapacityArea {
    std::uint8_t notInterpreted[6];
    CapacityEntry valueArchives[kValueArchiveCount];
};
static_assert(sizeof(DescriptorCapacityArea) == 38);

// Area 3: capacities of the three event logs.
struct DescriptorEventLogArea {
    CapacityEntry eventLogs[kEventLogCount];
};
static_assert(sizeof(DescriptorEventLogArea) == 24);

struct ArchiveDescriptors {
    DescriptorDatesArea dates;
    DescriptorCapacityArea capacities;
    DescriptorEventLogArea logs;

    // A kind without descriptors reads as an empty archive (empty dates, zero capacity).
    DateTimeStamp FirstRecord(int kind) const;
    DateTimeStamp LastRecord(int kind) const;
    CapacityEntry Capacity(int kind) const;
    CapacityEntry LogCapacity(int log) const;
    bool IsEmpty(int kind) const { return IsEmptyDate(FirstRecord(kind)); }
};
static_assert(sizeof(ArchiveDescriptors) == 54 + 38 + 24);
static_assert(offsetof(ArchiveDescriptors, capacities) == 54);
static_assert(offsetof(ArchiveDescriptors, logs) == 54 + 38);

// Sent ahead of a record, event-log or flash-page read; cleared to zeros before it is filled.
struct ArchiveRequest {
    TChronoArch date;     // wanted record date
    std::uint8_t minute;  // 0 from the archives page; the first-record minute in the export
    std::uint8_t second;
    std::uint16_t kind;          // ArchiveKind, or EventLogKind for an event-log read
    std::uint16_t recordNumber;  // first event-log entry; the page number of a flash-page read
    std::uint16_t count;         // event-log entries wanted, at most kMaxEventEntries
};
static_assert(sizeof(ArchiveRequest) == 12);
static_assert(offsetof(ArchiveRequest, kind) == 6);
static_assert(offsetof(ArchiveRequest, recordNumber) == 8);
static_assert(offsetof(ArchiveRequest, count) == 10);

#pragma pack(pop)

constexpr std::size_t kDescriptorAreaSizes[3] = {sizeof(DescriptorDatesArea), sizeof(DescriptorCapacityArea),
                                                 sizeof(DescriptorEventLogArea)};
constexpr std::uint16_t kMaxEventEntries = 16;

// Request blocks as the archives page and the export fill them.
ArchiveRequest ValueArchiveRequest(ArchiveKind kind, const DateTimeStamp& date);
// The count is limited to kMaxEventEntries (compared unsigned, so a negative entry is limited too).
ArchiveRequest EventLogRequest(EventLogKind log, std::uint16_t firstRecord, std::uint32_t count);
ArchiveRequest FlashPageRequest(std::uint16_t page);
