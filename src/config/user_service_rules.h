#pragma once
// What the user's service tab sends and shows: the protected parameters it may change, the password
// as the meter takes it, and the meter's clock against the computer's.

#include "config/config_texts.h"
#include "config/write_time_checks.h"
#include "meter/service_blocks.h"

#include <QDateTime>
#include <QString>

#include <optional>

// "корр. времени (сек.)" 0, "tхд ТВ1" 2, "tхд ТВ2" 3.
extern const ValueTexts kUserParameterTexts;

// The pending parameter change and its password block; nothing when the password does not fit the
// meter's five characters.
struct UserParameterChange {
    ParameterChange change;
    PasswordBytes password{};
};
std::optional<UserParameterChange> MakeUserParameterChange(unsigned code, float value, const QString& password);

// Service command 7 (set 0, "БД1") or 8 (set 1, "БД2") with the password in its parameter bytes;
// nothing when the password does not fit or the set is out of range.
std::optional<ServiceCommand> MakeActiveSetCommand(int set, const QString& password);

// "%.2d.%.2d.%.2d %.2d:%.2d:%.2d": day, month, year - 2000, hour, minute, second as the meter reads them.
QString MeterClockText(const DateTimeStamp& clock);
// The seconds to add to the meter's clock to bring it to `computerNow`; nothing when the meter's
// reading is not a date and time.
std::optional<int> ClockCorrectionSeconds(const DateTimeStamp& meter, const QDateTime& computerNow);
// "Требуется коррекция %d сек."
QString ClockCorrectionText(int seconds);
