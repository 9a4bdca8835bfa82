#pragma once
// The two checks against the connected meter just before a configuration is written to it: the model
// must be the configuration's, and a clock far from the computer's must be accepted by the user
// (the configuration write leaves the meter's clock alone).

#include <QDateTime>

#include "config/config_messages.h"
#include "config/device_blocks.h"
#include "meter/archive_date.h"

// False, after "Записываемая конфигурация не соответствует модели прибора ...", when the models differ.
bool CheckMeterModelBeforeWrite(const DeviceIdentity& meter, const DeviceIdentity& configuration,
                                ConfigMessageHost& host);

// meter - computer in hours (days * 24 + hours + (minutes + seconds / 60) / 60) on the meter's calendar.
// False when either reading is not a date and time.
bool ClockDifferenceHours(const DateTimeStamp& meter, const DateTimeStamp& computer, double& hours);

// True when the write may go on: the clocks are within an hour, or the user answered OK to the question.
// A reading that is not a date and time counts as far off.
bool ConfirmMeterClockBeforeWrite(const DateTimeStamp& meter, const QDateTime& computerNow, ConfigMessageHost& host);
