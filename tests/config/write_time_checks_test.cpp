// The model and clock checks made against the meter just before a configuration is written.

#include <gtest/gtest.h>

#include "config/write_time_checks.h"
#include "support/recording_message_host.h"

namespace {

DateTimeStamp Clock(int day, int month, int year, int hour, int minute, int second = 0)
{
    return {std::uint8_t(day),  std::uint8_t(month),  std::uint8_t(year - 2000),
            std::uint8_t(hour), std::uint8_t(minute), std::uint8_t(second)};
}

const QDateTime kNow(QDate(2024, 3, 5), QTime(10, 0, 0));

TEST(WriteTimeChecks, TheMeterMustBeOfTheConfigurationsModel)
{
    DeviceIdentity meter{}, configuration{};
    meter.modelIndex = 1;
    configuration.modelIndex = 3;
    RecordingMessageHost host;
    EXPECT_FALSE(CheckMeterModelBeforeWrite(meter, configuration, host));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.LastText(),
              QStringLiteral("Записываемая конфигурация не соответствует модели прибора "
                             "(модель прибора 02, конфигурация для модели 04)!"));
    EXPECT_EQ(host.shown[0].caption, QStringLiteral("Информация"));
    EXPECT_EQ(host.shown[0].style, MessageStyle::kOk | MessageStyle::kIconInformation);

    meter.modelIndex = 3;
    EXPECT_TRUE(CheckMeterModelBeforeWrite(meter, configuration, host));
    EXPECT_EQ(host.shown.size(), 1u);
}

TEST(WriteTimeChecks, ClockDifferenceAcrossMonthsYearsAndLeapDays)
{
    struct Case {
        DateTimeStamp meter, computer;
        double hours;
    } cases[] = {
        {Clock(1, 3, 2024, 0, 0), Clock(29, 2, 2024, 0, 0), 24.0},
        {Clock(1, 3, 2023, 0, 0), Clock(28, 2, 2023, 0, 0), 24.0},
        {Clock(1, 1, 2024, 0, 0), Clock(31, 12, 2023, 0, 0), 24.0},  // across the four-year cycle
        {Clock(1, 1, 2021, 0, 0), Clock(1, 1, 2020, 0, 0), 366 * 24.0},
        {Clock(5, 3, 2024, 10, 59), Clock(5, 3, 2024, 10, 0), 59 / 60.0},
        {Clock(5, 3, 2024, 9, 0, 30), Clock(5, 3, 2024, 10, 0), -(59.5 / 60.0)},
        {Clock(31, 12, 2099, 23, 0), Clock(1, 1, 2000, 0, 0), (36524 * 24.0) + 23},
    };
    for (const Case& c : cases) {
        double hours = 0;
        ASSERT_TRUE(ClockDifferenceHours(c.meter, c.computer, hours));
        EXPECT_NEAR(hours, c.hours, 1e-9) << int(c.meter.day) << "." << int(c.meter.month) << "." << int(c.meter.year);
    }
    double hours = 0;
    EXPECT_FALSE(ClockDifferenceHours(Clock(30, 2, 2024, 0, 0), Clock(1, 1, 2024, 0, 0), hours));
    EXPECT_FALSE(ClockDifferenceHours(Clock(1, 13, 2024, 0, 0), Clock(1, 1, 2024, 0, 0), hours));
    EXPECT_FALSE(ClockDifferenceHours(Clock(1, 1, 2024, 24, 0), Clock(1, 1, 2024, 0, 0), hours));
    EXPECT_TRUE(ClockDifferenceHours(Clock(29, 2, 2024, 0, 0), Clock(1, 1, 2024, 0, 0), hours));
    EXPECT_EQ(StampOf(kNow), Clock(5, 3, 2024, 10, 0, 0));
}

TEST(WriteTimeChecks, MoreThanAnHourOffAsksFirst)
{
    RecordingMessageHost host;
    EXPECT_TRUE(ConfirmMeterClockBeforeWrite(Clock(5, 3, 2024, 10, 59), kNow, host));
    EXPECT_TRUE(ConfirmMeterClockBeforeWrite(Clock(5, 3, 2024, 9, 1), kNow, host));
    EXPECT_TRUE(ConfirmMeterClockBeforeWrite(Clock(5, 3, 2024, 11, 0), kNow, host)) << "exactly an hour is not more";
    EXPECT_TRUE(host.shown.empty());

    host.answers = {MessageAnswer::kCancel};
    EXPECT_FALSE(ConfirmMeterClockBeforeWrite(Clock(5, 3, 2024, 11, 1, 7), kNow, host));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(
        host.LastText(),
        QStringLiteral("Дата/время в вычислителе (05.03.2024 11:01:07) отличается от времени на компьютере более "
                       "чем на час.\r\n - Нажмите ОК для записи настроек без установки даты/времени.\r\n - Нажмите "
                       "Отмена для прерывания записи настроек и установите дату/время вручную."));
    EXPECT_EQ(host.shown[0].caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(host.shown[0].style, MessageStyle::kOkCancel | MessageStyle::kIconQuestion);

    host.answers = {MessageAnswer::kOk};
    EXPECT_TRUE(ConfirmMeterClockBeforeWrite(Clock(5, 3, 2024, 8, 59), kNow, host));
    host.answers = {MessageAnswer::kOk};
    EXPECT_TRUE(ConfirmMeterClockBeforeWrite(Clock(0, 0, 2024, 0, 0), kNow, host));
    EXPECT_EQ(host.shown.size(), 3u) << "a clock that is no date is far off";
}

}  // namespace
