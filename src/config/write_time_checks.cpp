#include "config/write_time_checks.h"

#include <cmath>

#include "config/model_capabilities.h"

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

bool ClockDifferenceHours(const DateTimeStamp& meter, const DateTimeStamp& computer, double& hours)
{
    if (!IsValidStamp(meter) || !IsValidStamp(computer))
        return false;
    hours = FractionalHourDifference(meter, computer);
    return true;
}

bool ConfirmMeterClockBeforeWrite(const DateTimeStamp& meter, const QDateTime& computerNow, ConfigMessageHost& host)
{
    double hours = 0.0;
    if (ClockDifferenceHours(meter, StampOf(computerNow), hours) && std::fabs(hours) <= 1.0)
        return true;
    const QString question = QString::asprintf(
        "Дата/время в вычислителе (%.2d.%.2d.%.2d %.2d:%.2d:%.2d) отличается от времени на компьютере "
        "более чем на час.\r\n"
        " - Нажмите ОК для записи настроек без установки даты/времени.\r\n"
        " - Нажмите Отмена для прерывания записи настроек и установите дату/время вручную.",
        meter.day, meter.month, meter.year + kBaseYear, meter.hour, meter.minute, meter.second);
    const int answer = host.ShowMessage(question, QString::fromUtf8(kCaptionQuestion),
                                        MessageStyle::kOkCancel | MessageStyle::kIconQuestion);
    return answer == MessageAnswer::kOk;
}
