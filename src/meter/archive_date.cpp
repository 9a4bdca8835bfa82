#include "meter/archive_date.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 12> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysPerFourYears = 4 * 365 + 1;

}  // namespace

TChronoArch ChronoOf(const DateTimeStamp& stamp)
{
    return TChronoArch{stamp.day, stamp.month, stamp.year, stamp.hour};
}

DateTimeStamp StampOf(const TChronoArch& date, std::uint8_t minute, std::uint8_t second)
{
    return DateTimeStamp{date.day, date.month, date.year, date.hour, minute, second};
}

DateTimeStamp StampOf(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    return DateTimeStamp{std::uint8_t(date.day()),  std::uint8_t(date.month()),  std::uint8_t(date.year() - kBaseYear),
                         std::uint8_t(time.hour()), std::uint8_t(time.minute()), std::uint8_t(time.second())};
}

bool IsValidStamp(const DateTimeStamp& stamp)
{
    return stamp.month >= 1 && stamp.month <= 12 && stamp.day >= 1 && stamp.day <= MonthLength(stamp.month, stamp.year)
        && stamp.year != kEmptyYear && stamp.hour < 24 && stamp.minute < 60 && stamp.second < 60;
}

bool IsLeapYear(std::uint8_t year)
{
    return year % 4 == 0;
}

int MonthLength(int month, std::uint8_t year)
{
    if (month < 1 || month > 12)
        return 31;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kMonthDays[static_cast<std::size_t>(month - 1)];
}

TChronoArch NextHour(TChronoArch date)
{
    if (date.hour < 23) {
        ++date.hour;
        return date;
    }
    date.hour = 0;
    return NextDay(date);
}

TChronoArch PreviousHour(TChronoArch date)
{
    if (date.hour > 0) {
        --date.hour;
        return date;
    }
    date.hour = 23;
    return PreviousDay(date);
}

TChronoArch NextDay(TChronoArch date)
{
    ++date.day;
    if (date.day > MonthLength(date.month, date.year)) {
        date.day = 1;
        date = NextMonth(date);
    }
    return date;
}

TChronoArch PreviousDay(TChronoArch date)
{
    if (date.day > 1) {
        --date.day;
        return date;
    }
    date = PreviousMonth(date);
    date.day = static_cast<std::uint8_t>(MonthLength(date.month, date.year));
    return date;
}

TChronoArch NextMonth(TChronoArch date)
{
    if (date.month >= 12) {
        date.month = 1;
        ++date.year;
    } else {
        ++date.month;
    }
    return date;
}

TChronoArch PreviousMonth(TChronoArch date)
{
    if (date.month <= 1) {
        date.month = 12;
        --date.year;
    } else {
        --date.month;
    }
    return date;
}

std::int32_t DayNumber(const TChronoArch& date)
{
    const int yearInBlock = date.year % 4;
    std::int32_t days = kDaysPerFourYears * (date.year / 4);
    if (yearInBlock > 0)
        days += 366 + 365 * (yearInBlock - 1);
    const int lastFullMonth = std::min<int>(date.month, 13) - 1;
    for (int month = 1; month <= lastFullMonth; ++month)
        days += MonthLength(month, date.year);
    return days + date.day - 1;
}

std::int32_t HourDifference(const TChronoArch& a, const TChronoArch& b)
{
    return (DayNumber(a) - DayNumber(b)) * 24 + (a.hour - b.hour);
}

double FractionalHourDifference(const DateTimeStamp& a, const DateTimeStamp& b)
{
    const double minutes = (a.minute - b.minute) + (a.second - b.second) / 60.0;
    return HourDifference(ChronoOf(a), ChronoOf(b)) + minutes / 60.0;
}

QString StampText(const DateTimeStamp& stamp)
{
    return QString::asprintf("%.2d.%.2d.%.2d %.2d:%.2d:%.2d", stamp.day, stamp.month, stamp.year + kBaseYear,
                             stamp.hour, stamp.minute, stamp.second);
}
