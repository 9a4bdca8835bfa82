#include "config/write_time_checks.h"

#include <cmath>

#include "config/model_capabilities.h"
#include "config/tunes_defaults.h"

namespace {

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
// Days before each year of a cycle that starts with a leap year (2000, 2004, ...).
constexpr int kDaysBeforeYearInCycle[4] = {0, 366, 731, 1096};

bool ValidClock(const MeterClock& clock)
{
    const int day = clock[0], month = clock[1], hour = clock[3], minute = clock[4], second = clock[5];
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59)
        return false;
    const bool leap = clock[2] % 4 == 0;
    return day <= DaysInMonth(month) + ((month == 2 && leap) ? 1 : 0);
}

long DayNumber(const MeterClock& clock)
{
    const int year = clock[2];
    const int month = clock[1];
    const bool leap = year % 4 == 0;
    return long(year / 4) * 1461 + kDaysBeforeYearInCycle[year % 4] + kDaysBeforeMonth[month - 1]
        + ((leap && month > 2) ? 1 : 0) + clock[0] - 1;
}

}  // namespace

bool CheckMeterModelBeforeWrite(const DeviceIdentity& meter, const DeviceIdentity& configuration,
                                ConfigMessageHost& host)
{
    if (meter.modelIndex == configuration.modelIndex)
        return true;
    ShowConfigInformation(host,
                          QString::asprintf("Записываемая конфигурация не соответствует модели прибора "
                                            "(модель прибора %s, конфигурация для модели %s)!",
                                            qUtf8Printable(ModelName(meter.modelIndex)),
                                            qUtf8Printable(ModelName(configuration.modelIndex))));
    return false;
}

MeterClock ClockOf(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    return {std::uint8_t(date.day()),  std::uint8_t(date.month()),  std::uint8_t(date.year() - 2000),
            std::uint8_t(time.hour()), std::uint8_t(time.minute()), std::uint8_t(time.second())};
}

bool ClockDifferenceHours(const MeterClock& meter, const MeterClock& computer, double& hours)
{
    if (!ValidClock(meter) || !ValidClock(computer))
        return false;
    const long days = DayNumber(meter) - DayNumber(computer);
    const int wholeHours = meter[3] - computer[3];
    const double minutes = (meter[4] - computer[4]) + (meter[5] - computer[5]) / 60.0;
    hours = double(days) * 24.0 + wholeHours + minutes / 60.0;
    return true;
}

bool ConfirmMeterClockBeforeWrite(const MeterClock& meter, const QDateTime& computerNow, ConfigMessageHost& host)
{
    double hours = 0.0;
    if (ClockDifferenceHours(meter, ClockOf(computerNow), hours) && std::fabs(hours) <= 1.0)
        return true;
    const QString question = QString::asprintf(
        "Дата/время в вычислителе (%.2d.%.2d.%.2d %.2d:%.2d:%.2d) отличается от времени на компьютере "
        "более чем на час.\r\n"
        " - Нажмите ОК для записи настроек без установки даты/времени.\r\n"
        " - Нажмите Отмена для прерывания записи настроек и установите дату/время вручную.",
        meter[0], meter[1], meter[2] + 2000, meter[3], meter[4], meter[5]);
    const int answer = host.ShowMessage(question, QString::fromUtf8(kCaptionQuestion),
                                        MessageStyle::kOkCancel | MessageStyle::kIconQuestion);
    return answer == MessageAnswer::kOk;
}
