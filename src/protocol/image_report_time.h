#pragma once
// The report hour and day the meter closes its records with, as last transferred with the meter: bytes
// 0 and 1 of the configuration record in the register image, not the copy being edited.

#include "meter/archive_step.h"
#include "protocol/driver_data.h"

inline ReportTime ImageReportTime(const DriverData& data)
{
    const std::uint8_t* record = data.At(MeterArea::kTunes);
    return ReportTime{record[0], record[1]};
}
