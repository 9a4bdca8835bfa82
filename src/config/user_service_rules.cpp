#include "config/user_service_rules.h"

#include "base/text_codec.h"

#include <cmath>

namespace {

constexpr ValueText kUserParameters[] = {
    {0, "корр. времени (сек.)", "корр. времени (сек.)"},
    {2, "tхд ТВ1", "tхд ТВ1"},
    {3, "tхд ТВ2", "tхд ТВ2"},
};

constexpr std::uint16_t kSelectSet1 = 7;
constexpr std::uint16_t kSelectSet2 = 8;
constexpr double kSecondsPerHour = 3600;

std::optional<PasswordBytes> PasswordOf(const QString& typed)
{
    bool lossless = true;
    const QByteArray bytes = EncodeWindows1251(typed, &lossless);
    PasswordBytes password{};
    if (!lossless || !ParameterPasswordBytes(bytes, password))
        return std::nullopt;
    return password;
}

}  // namespace

const ValueTexts kUserParameterTexts = kUserParameters;

std::optional<UserParameterChange> MakeUserParameterChange(unsigned code, float value, const QString& password)
{
    const std::optional<PasswordBytes> bytes = PasswordOf(password);
    if (!bytes || !FindValueText(kUserParameterTexts, code))
        return std::nullopt;
    return UserParameterChange{ParameterChangeOf(static_cast<std::uint16_t>(code), value), *bytes};
}

std::optional<ServiceCommand> MakeActiveSetCommand(int set, const QString& password)
{
    const std::optional<PasswordBytes> bytes = PasswordOf(password);
    if (!bytes || set < 0 || set > 1)
        return std::nullopt;
    return PasswordServiceCommand(set == 0 ? kSelectSet1 : kSelectSet2, *bytes);
}

QString MeterClockText(const DateTimeStamp& clock)
{
    return QString::asprintf("%.2d.%.2d.%.2d %.2d:%.2d:%.2d", clock.day, clock.month, clock.year, clock.hour,
                             clock.minute, clock.second);
}

std::optional<int> ClockCorrectionSeconds(const DateTimeStamp& meter, const QDateTime& computerNow)
{
    double hours = 0;
    if (!ClockDifferenceHours(meter, StampOf(computerNow), hours))
        return std::nullopt;
    return static_cast<int>(std::lround(-hours * kSecondsPerHour));
}

QString ClockCorrectionText(int seconds)
{
    return QString::asprintf("Требуется коррекция %d сек.", seconds);
}
