#include "meter/record_date_match.h"

RecordDateMatch MatchRecordDate(int kind, const TChronoArch& asked, const TChronoArch& carried)
{
    if (carried.year == kEmptyYear || carried == TChronoArch{0, 0, 0, 0})
        return RecordDateMatch::kEmpty;
    bool same = carried.month == asked.month && carried.year == asked.year;
    switch (kind) {
        case kArchiveHourly:
            same = same && carried.day == asked.day && carried.hour == asked.hour;
            break;
        case kArchiveDaily:
        case kArchiveTotals:
            same = same && carried.day == asked.day;
            break;
        case kArchiveMonthly:
            break;
        default:
            return RecordDateMatch::kAsked;
    }
    return same ? RecordDateMatch::kAsked : RecordDateMatch::kOther;
}
