#include "meter/archive_date.h"
#include "meter/archive_step.h"
#include "meter/record_date_match.h"

#include <gtest/gtest.h>

namespace {

TChronoArch Date(int day, int month, int year, int hour)
{
    return TChronoArch{static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month),
                       static_cast<std::uint8_t>(year), static_cast<std::uint8_t>(hour)};
}

void ExpectDate(const TChronoArch& actual, int day, int month, int year, int hour)
{
    EXPECT_EQ(actual.day, day);
    EXPECT_EQ(actual.month, month);
    EXPECT_EQ(actual.year, year);
    EXPECT_EQ(actual.hour, hour);
}

}  // namespace

TEST(ArchiveDate, MonthLengthsAndLeapYears)
{
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(MonthLength(month, 23), lengths[month - 1]) << month;
    EXPECT_EQ(MonthLength(2, 24), 29);
    EXPECT_EQ(MonthLength(2, 0), 29);
    EXPECT_EQ(MonthLength(2, 100), 29);  // the meter's calendar: every fourth year, 2100 too
    EXPECT_EQ(MonthLength(2, 101), 28);
    // A damaged month from a meter must not read outside the table.
    EXPECT_EQ(MonthLength(0, 24), 31);
    EXPECT_EQ(MonthLength(13, 24), 31);
    EXPECT_EQ(MonthLength(255, 24), 31);
}

TEST(ArchiveDate, StepsAcrossDayMonthAndYearEnds)
{
    ExpectDate(NextHour(Date(5, 6, 24, 22)), 5, 6, 24, 23);
    ExpectDate(NextHour(Date(30, 4, 24, 23)), 1, 5, 24, 0);
    ExpectDate(NextHour(Date(28, 2, 23, 23)), 1, 3, 23, 0);
    ExpectDate(NextHour(Date(28, 2, 24, 23)), 29, 2, 24, 0);
    ExpectDate(PreviousHour(Date(1, 1, 24, 0)), 31, 12, 23, 23);
    ExpectDate(PreviousHour(Date(1, 5, 24, 1)), 1, 5, 24, 0);

    ExpectDate(PreviousDay(Date(1, 3, 24, 7)), 29, 2, 24, 7);
    ExpectDate(PreviousDay(Date(1, 3, 23, 7)), 28, 2, 23, 7);
    ExpectDate(PreviousDay(Date(1, 1, 24, 7)), 31, 12, 23, 7);
    ExpectDate(NextDay(Date(31, 12, 24, 7)), 1, 1, 25, 7);
    ExpectDate(NextDay(Date(30, 6, 24, 7)), 1, 7, 24, 7);

    // Months keep the day; the caller lowers it.
    ExpectDate(NextMonth(Date(31, 1, 24, 0)), 31, 2, 24, 0);
    ExpectDate(NextMonth(Date(15, 12, 24, 0)), 15, 1, 25, 0);
    ExpectDate(PreviousMonth(Date(15, 1, 24, 0)), 15, 12, 23, 0);

    // The year byte goes past 99: no modulo 100 anywhere.
    ExpectDate(NextHour(Date(31, 12, 99, 23)), 1, 1, 100, 0);
    ExpectDate(PreviousHour(Date(1, 1, 100, 0)), 31, 12, 99, 23);
    ExpectDate(NextMonth(Date(1, 12, 99, 0)), 1, 1, 100, 0);
}

TEST(ArchiveDate, DayNumberAndHourDifference)
{
    EXPECT_EQ(DayNumber(Date(1, 1, 0, 0)), 0);
    EXPECT_EQ(DayNumber(Date(31, 12, 0, 0)), 365);  // 2000 is a leap year
    EXPECT_EQ(DayNumber(Date(1, 1, 1, 0)), 366);
    EXPECT_EQ(DayNumber(Date(1, 1, 4, 0)), 1461);
    EXPECT_EQ(DayNumber(Date(1, 3, 24, 0)), 8826);  // 2024-03-01, 8826 days after 2000-01-01
    EXPECT_EQ(DayNumber(Date(1, 1, 100, 0)), 25 * 1461);

    // Every next day is exactly one day number further, through a whole four-year block.
    TChronoArch day = Date(1, 1, 96, 0);
    for (int i = 0; i < 4 * 366; ++i) {
        const TChronoArch next = NextDay(day);
        ASSERT_EQ(DayNumber(next) - DayNumber(day), 1) << int(day.day) << "." << int(day.month) << "." << int(day.year);
        ASSERT_EQ(DayNumber(PreviousDay(next)), DayNumber(day));
        day = next;
    }

    // Across a month end, a year end and the 2099/2100 boundary.
    EXPECT_EQ(HourDifference(Date(1, 3, 24, 2), Date(28, 2, 24, 23)), 27);
    EXPECT_EQ(HourDifference(Date(28, 2, 24, 23), Date(1, 3, 24, 2)), -27);
    EXPECT_EQ(HourDifference(Date(1, 1, 100, 0), Date(31, 12, 99, 23)), 1);
    EXPECT_EQ(HourDifference(Date(1, 2, 24, 0), Date(1, 1, 24, 0)), 31 * 24);

    const DateTimeStamp a{1, 3, 24, 2, 30, 30};
    const DateTimeStamp b{1, 3, 24, 1, 0, 0};
    EXPECT_DOUBLE_EQ(FractionalHourDifference(a, b), 1.0 + (30 + 0.5) / 60.0);
    const DateTimeStamp c{29, 2, 24, 23, 59, 0};
    EXPECT_DOUBLE_EQ(FractionalHourDifference(b, c), 2.0 - 59.0 / 60.0);
}

TEST(ArchiveDate, EmptyDatesAndText)
{
    EXPECT_TRUE(IsEmptyDate(DateTimeStamp{1, 1, 0xFF, 0, 0, 0}));
    EXPECT_FALSE(IsEmptyDate(DateTimeStamp{0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));
    EXPECT_TRUE(IsAllOnes(TChronoArch{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(IsAllOnes(TChronoArch{0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(StampText(DateTimeStamp{5, 3, 24, 7, 8, 9}), QStringLiteral("05.03.2024 07:08:09"));
    EXPECT_EQ(StampText(DateTimeStamp{1, 1, 100, 0, 0, 0}), QStringLiteral("01.01.2100 00:00:00"));
}

TEST(ArchiveDate, StepByArchiveKindWithReportTime)
{
    const ReportTime report{9, 31};
    // Hourly ignores the report time.
    ExpectDate(StepArchiveDate(kArchiveHourly, Date(1, 1, 24, 0), -1, report), 31, 12, 23, 23);
    // Daily and totals land on the report hour.
    ExpectDate(StepArchiveDate(kArchiveDaily, Date(28, 2, 24, 3), +1, report), 29, 2, 24, 9);
    ExpectDate(StepArchiveDate(kArchiveTotals, Date(1, 3, 23, 3), -1, report), 28, 2, 23, 9);
    // Monthly lands on the report day, lowered to the month's length.
    ExpectDate(StepArchiveDate(kArchiveMonthly, Date(31, 1, 24, 9), +1, report), 29, 2, 24, 9);
    ExpectDate(StepArchiveDate(kArchiveMonthly, Date(31, 1, 23, 9), +1, report), 28, 2, 23, 9);
    ExpectDate(StepArchiveDate(kArchiveMonthly, Date(28, 2, 23, 9), +1, report), 31, 3, 23, 9);
    ExpectDate(StepArchiveDate(kArchiveMonthly, Date(31, 1, 24, 9), -1, ReportTime{0, 15}), 15, 12, 23, 9);
    // No step, or a kind without records: unchanged.
    ExpectDate(StepArchiveDate(kArchiveDaily, Date(5, 5, 24, 5), 0, report), 5, 5, 24, 5);
    ExpectDate(StepArchiveDate(kArchiveCurrentValues, Date(5, 5, 24, 5), 1, report), 5, 5, 24, 5);
}

TEST(ArchiveDate, AnAnswerIsTheRecordAskedForByWhatTheRequestFixes)
{
    constexpr auto kAsked = RecordDateMatch::kAsked;
    constexpr auto kOther = RecordDateMatch::kOther;
    // A daily record is dated at the report hour and a monthly one on the report day, whatever the
    // request's hour and day (the archives page sends its own): those are not held against it.
    EXPECT_EQ(MatchRecordDate(kArchiveHourly, Date(5, 3, 24, 13), Date(5, 3, 24, 13)), kAsked);
    EXPECT_EQ(MatchRecordDate(kArchiveHourly, Date(5, 3, 24, 13), Date(5, 3, 24, 14)), kOther);
    EXPECT_EQ(MatchRecordDate(kArchiveDaily, Date(5, 3, 24, 0), Date(5, 3, 24, 10)), kAsked);
    EXPECT_EQ(MatchRecordDate(kArchiveTotals, Date(5, 3, 24, 10), Date(6, 3, 24, 10)), kOther);
    EXPECT_EQ(MatchRecordDate(kArchiveMonthly, Date(1, 3, 24, 0), Date(25, 3, 24, 10)), kAsked);
    EXPECT_EQ(MatchRecordDate(kArchiveMonthly, Date(25, 3, 24, 10), Date(25, 2, 24, 10)), kOther);
    EXPECT_EQ(MatchRecordDate(kArchiveMonthly, Date(25, 3, 24, 10), Date(25, 3, 25, 10)), kOther);
    // A slot the meter never filled carries no date: it is not another record.
    EXPECT_EQ(MatchRecordDate(kArchiveHourly, Date(5, 3, 24, 13), Date(0xFF, 0xFF, 0xFF, 0xFF)),
              RecordDateMatch::kEmpty);
    EXPECT_EQ(MatchRecordDate(kArchiveDaily, Date(5, 3, 24, 10), Date(0, 0, 0, 0)), RecordDateMatch::kEmpty);
    // Current values and unknown kinds are not judged by a date.
    EXPECT_EQ(MatchRecordDate(kArchiveCurrentValues, Date(5, 3, 24, 13), Date(1, 1, 20, 0)), kAsked);
    EXPECT_EQ(MatchRecordDate(9, Date(5, 3, 24, 13), Date(1, 1, 20, 0)), kAsked);
}
