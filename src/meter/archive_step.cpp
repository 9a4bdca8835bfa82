#include "meter/archive_step.h"

#include <algorithm>

TChronoArch StepArchiveDate(ArchiveKind kind, TChronoArch date, int step, ReportTime reportTime)
{
    if (step == 0)
        return date;
    const bool forward = step > 0;
    switch (kind) {
        case kArchiveHourly:
            return forward ? NextHour(date) : PreviousHour(date);
        case kArchiveDaily:
        case kArchiveTotals:
            date = forward ? NextDay(date) : PreviousDay(date);
            date.hour = reportTime.hour;
            return date;
        case kArchiveMonthly: {
            date = forward ? NextMonth(date) : PreviousMonth(date);
            const int lastDay = MonthLength(date.month, date.year);
            date.day = static_cast<std::uint8_t>(std::min<int>(reportTime.day, lastDay));
            return date;
        }
        default:
            return date;
    }
}
