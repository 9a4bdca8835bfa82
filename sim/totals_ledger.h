#pragma once
// The totals since manufacture at any hour: the running sum of every hourly record from the first
// one on, in order. The sums at every 23:00 (the factory report hour, when the totals archive
// writes) are kept as they are first needed, so once the meter's life has been added up a totals
// record costs at most a day of hours, and none at the factory report hour.

#include "archive_sums.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class TotalsLedger {
public:
    using HourSource = std::function<ArchiveRecord(std::int64_t hour)>;

    // Hours are counted since 01.01.2000 00:00; `firstHour` is the meter's first hourly record.
    TotalsLedger(HourSource hours, std::int64_t firstHour);

    // After the record of hour `hour`; nothing before the first.
    RunningTotals After(std::int64_t hour) const;

private:
    static constexpr std::int64_t kStride = 24;
    static constexpr std::int64_t kMarkHour = 23;

    HourSource m_hours;
    std::int64_t m_first;
    std::int64_t m_base;                         // the last 23:00 before the first hour
    mutable std::mutex m_lock;                   // the simulator's threads and tests may ask at once
    mutable std::vector<RunningTotals> m_marks;  // [i]: after hour m_base + i * kStride
};
