#pragma once
// What one round learns of one meter: who it is (factory number, model, program version) and its
// current values and current totals, each area as the meter sent it. A meter that did not answer has no
// reading at all, so nothing of it can be published as a zero or as the value of an earlier round.

#include "archives/archive_records.h"
#include "archives/current_values.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

class CRovoRedod;

struct MeterReading {
    std::uint32_t serial = 0;
    int model = 0;    // 0..4 = "01" .. "04.1"
    QString version;  // "АВ 1.0 ПВ 2.3"
    QDateTime time;   // of the values, the meter's clock read with the computer's UTC offset
    CurrentValues values{};
    CurrentTotalsRecord totals{};
};

// Opens the driver's channel and reads the meter's identity, current values and current totals, in
// that order. Nothing when any of them failed (the driver's host was told why).
std::optional<MeterReading> ReadMeterNow(CRovoRedod& driver);

// "2026-12-10T19:30:00+03:00": the meter's clock with the computer's offset from UTC at that time.
QDateTime MeterClockTime(const DateTimeStamp& stamp);
// That time as text, the offset always written out ("+00:00", never "Z").
QString IsoTimeWithOffset(const QDateTime& time);
