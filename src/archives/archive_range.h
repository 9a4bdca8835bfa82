#pragma once
// A stretch of one value archive (hourly, daily or monthly) between two dates, and the records found
// for it: which record dates the meter holds inside it, and the records themselves, whether they came
// out of the archive database or off the meter.

#include "archives/archive_records.h"
#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"

#include <cstdint>
#include <vector>

struct ArchiveRange {
    ArchiveKind kind = kArchiveHourly;  // hourly, daily, monthly or totals
    TChronoArch from{};                 // both ends belong to the range; minutes never count
    TChronoArch to{};
};

// What a user is told of a range that ends before it starts.
inline constexpr const char* kBackwardRangeText = "Начало периода позже его конца!";

// Whether the range names an archive with records (hourly, daily, monthly or totals) and `from` is not
// after `to`.
bool IsUsableRange(const ArchiveRange& range);
// Whether a record date lies in the range, by the hour.
bool InRange(const ArchiveRange& range, const TChronoArch& date);

// The dates the meter holds records for inside the range: the dates a whole-archive export visits (with
// its minutes and seconds, so a record filed from here is the one the export would find), those in range.
std::vector<DateTimeStamp> MeterDatesInRange(const ArchiveDescriptors& descriptors, const ArchiveRange& range,
                                             ReportTime reportTime);

struct RangeRecord {
    TChronoArch date;  // the date the record is filed under (also in record.date)
    ArchiveRecord record;
};

struct ArchiveRangeResult {
    std::uint32_t serial = 0;          // the meter's factory number
    std::vector<RangeRecord> records;  // oldest first, one per date (hourly, daily, monthly)
    std::vector<TotalsRecord> totals;  // the same of the totals archive
    std::int64_t fromDatabase = 0;
    std::int64_t fromMeter = 0;  // read off the meter (and added to the database)
    std::int64_t missing = 0;    // dates in range the meter holds but could not be read (stopped, failed)
    // Of those, the dates the meter answered only with other records' dates.
    std::vector<DateTimeStamp> otherDates;
};
