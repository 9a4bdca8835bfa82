#include "archives/archive_range.h"

#include "archives/archive_walk.h"

bool IsUsableRange(const ArchiveRange& range)
{
    return IsValueArchive(range.kind) && HourDifference(range.to, range.from) >= 0;
}

bool InRange(const ArchiveRange& range, const TChronoArch& date)
{
    return HourDifference(date, range.from) >= 0 && HourDifference(range.to, date) >= 0;
}

std::vector<DateTimeStamp> MeterDatesInRange(const ArchiveDescriptors& descriptors, const ArchiveRange& range,
                                             ReportTime reportTime)
{
    std::vector<DateTimeStamp> dates;
    if (!IsUsableRange(range))
        return dates;
    // The walk is at most one archive's capacity long, so stepping from its start costs little.
    for (ArchiveWalk walk(descriptors, range.kind, reportTime); !walk.AtEnd(); walk.Next()) {
        const TChronoArch date = ChronoOf(walk.Date());
        if (HourDifference(date, range.to) > 0)
            break;
        if (InRange(range, date))
            dates.push_back(walk.Date());
    }
    return dates;
}
