#pragma once
// The meter's own clock: the host's local time plus an offset that setting the clock changes. Times
// are counted in seconds from 01.01.2000 00:00:00 on the meter's calendar (every fourth year a leap
// year), so that they convert to and from the date stamps of its records without a time zone.

#include "meter/archive_date.h"

#include <cstdint>
#include <functional>

using MeterSeconds = std::int64_t;

constexpr MeterSeconds kSecondsPerHour = 3600;
constexpr MeterSeconds kSecondsPerDay = 24 * kSecondsPerHour;

MeterSeconds SecondsOf(const DateTimeStamp& stamp);
MeterSeconds SecondsOf(const TChronoArch& date);
// Times before 2000 read as 01.01.2000 00:00:00.
DateTimeStamp StampAt(MeterSeconds seconds);
inline TChronoArch ChronoAt(MeterSeconds seconds)
{
    return ChronoOf(StampAt(seconds));
}
// The host's local time now.
MeterSeconds HostLocalSeconds();

class SimClock {
public:
    using Source = std::function<MeterSeconds()>;

    SimClock() : m_source(HostLocalSeconds) {}

    // Tests run the clock from a time of their own.
    void SetSource(Source source) { m_source = std::move(source); }

    MeterSeconds Now() const { return m_source() + m_offset; }
    DateTimeStamp NowStamp() const { return StampAt(Now()); }
    void Set(MeterSeconds now) { m_offset = now - m_source(); }
    void Shift(MeterSeconds seconds) { m_offset += seconds; }

private:
    Source m_source;
    MeterSeconds m_offset = 0;
};
