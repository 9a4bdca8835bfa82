#include "sim_clock.h"

#include <QDateTime>

#include <algorithm>

MeterSeconds SecondsOf(const DateTimeStamp& stamp)
{
    return DayNumber(ChronoOf(stamp)) * kSecondsPerDay + stamp.hour * kSecondsPerHour + stamp.minute * 60
        + stamp.second;
}

MeterSeconds SecondsOf(const TChronoArch& date)
{
    return SecondsOf(StampOf(date));
}

DateTimeStamp StampAt(MeterSeconds seconds)
{
    if (seconds < 0)
        seconds = 0;
    std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t inDay = seconds % kSecondsPerDay;
    DateTimeStamp stamp{1,
                        1,
                        0,
                        static_cast<std::uint8_t>(inDay / kSecondsPerHour),
                        static_cast<std::uint8_t>(inDay / 60 % 60),
                        static_cast<std::uint8_t>(inDay % 60)};
    // The year byte ends at 254 (0xFF marks an empty date); later times stay in that year's December.
    while (stamp.year < 254 && days >= (IsLeapYear(stamp.year) ? 366 : 365)) {
        days -= IsLeapYear(stamp.year) ? 366 : 365;
        ++stamp.year;
    }
    while (stamp.month < 12 && days >= MonthLength(stamp.month, stamp.year)) {
        days -= MonthLength(stamp.month, stamp.year);
        ++stamp.month;
    }
    stamp.day = static_cast<std::uint8_t>(std::min<std::int64_t>(days + 1, MonthLength(stamp.month, stamp.year)));
    return stamp;
}

MeterSeconds HostLocalSeconds()
{
    return SecondsOf(StampOf(QDateTime::currentDateTime()));
}
