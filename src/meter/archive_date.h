#pragma once
// The two date types of the meter's archives and the calendar arithmetic that steps through them.
//
// The year is a byte counted from 2000. The meter's calendar has a leap year whenever that byte is
// divisible by 4 (2100 included); we use the same rule so that stepping stays in step with the
// meter's own records. The year byte is never reduced modulo 100: 31.12.2099 23:00 plus one hour
// is 01.01 of year byte 100.

#include <bit>
#include <cstdint>

#include <QDateTime>
#include <QString>

static_assert(std::endian::native == std::endian::little, "archive records are laid over little-endian memory");

#pragma pack(push, 1)

// Dates value-archive records; one of the value kinds of the event logs.
struct TChronoArch {
    std::uint8_t day;    // 1..31
    std::uint8_t month;  // 1..12
    std::uint8_t year;   // year - 2000
    std::uint8_t hour;   // 0..23
};
static_assert(sizeof(TChronoArch) == 4);

// Dates event-log entries, current values, current totals and the archive descriptors.
// Its first four bytes have the layout of a TChronoArch.
struct DateTimeStamp {
    std::uint8_t day;
    std::uint8_t month;
    std::uint8_t year;  // year - 2000; 0xFF marks an empty date
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
};
static_assert(sizeof(DateTimeStamp) == 6);

#pragma pack(pop)

constexpr std::uint8_t kEmptyYear = 0xFF;
constexpr int kBaseYear = 2000;

inline bool operator==(const TChronoArch& a, const TChronoArch& b)
{
    return a.day == b.day && a.month == b.month && a.year == b.year && a.hour == b.hour;
}

inline bool operator==(const DateTimeStamp& a, const DateTimeStamp& b)
{
    return a.day == b.day && a.month == b.month && a.year == b.year && a.hour == b.hour && a.minute == b.minute
        && a.second == b.second;
}

// A descriptor date that marks an archive holding nothing.
inline bool IsEmptyDate(const DateTimeStamp& date)
{
    return date.year == kEmptyYear;
}

// The whole-archive export's stricter test: all four date bytes are 0xFF.
inline bool IsAllOnes(const TChronoArch& date)
{
    return date.day == 0xFF && date.month == 0xFF && date.year == 0xFF && date.hour == 0xFF;
}

// The first four bytes of a stamp, and a stamp made from a 4-byte date (minute and second 0).
TChronoArch ChronoOf(const DateTimeStamp& stamp);
DateTimeStamp StampOf(const TChronoArch& date, std::uint8_t minute = 0, std::uint8_t second = 0);
// A local time as the meter's clock holds it (the only conversion from a QDateTime): the year byte is
// the year - 2000, cut to a byte.
DateTimeStamp StampOf(const QDateTime& localTime);
// A date and time the meter's calendar knows: not empty, month 1..12, a day of that month, the clock in range.
bool IsValidStamp(const DateTimeStamp& stamp);

bool IsLeapYear(std::uint8_t year);
// Days in a month of the given year byte; a month outside 1..12 counts as 31 days so that damaged
// dates from a meter still step without reading past the table.
int MonthLength(int month, std::uint8_t year);

TChronoArch NextHour(TChronoArch date);
TChronoArch PreviousHour(TChronoArch date);
TChronoArch NextDay(TChronoArch date);
TChronoArch PreviousDay(TChronoArch date);
// The day is left as it is; callers lower it to the month's length when they need a valid date.
TChronoArch NextMonth(TChronoArch date);
TChronoArch PreviousMonth(TChronoArch date);

// Days since 1 January 2000 (that day is 0).
std::int32_t DayNumber(const TChronoArch& date);
// Hours from b to a: (DayNumber(a) - DayNumber(b)) * 24 + (a.hour - b.hour).
std::int32_t HourDifference(const TChronoArch& a, const TChronoArch& b);
// The same with minutes and seconds as a fraction of an hour.
double FractionalHourDifference(const DateTimeStamp& a, const DateTimeStamp& b);

// "dd.mm.yyyy hh:mm:ss" with the year byte + 2000, as headers and descriptor lists show a stamp.
QString StampText(const DateTimeStamp& stamp);
