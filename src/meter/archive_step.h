#pragma once
// Stepping a value-archive date to the neighbouring record, as the archives page and the
// whole-archive export both do.

#include <cstdint>

#include "meter/archive_date.h"
#include "meter/archive_descriptors.h"

// The meter closes its daily and totals records at the report hour and its monthly records on the
// report day (bytes 0 and 1 of the configuration as last transferred with the meter).
struct ReportTime {
    std::uint8_t hour;
    std::uint8_t day;
};

// step > 0: the next record; step < 0: the previous one; 0 or a kind without records: unchanged.
//   hourly:          next/previous hour;
//   daily, totals:   next/previous day, then the report hour;
//   monthly:         next/previous month, then the report day lowered to the month's length.
TChronoArch StepArchiveDate(ArchiveKind kind, TChronoArch date, int step, ReportTime reportTime);
