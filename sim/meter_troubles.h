#pragma once
// What goes wrong with the simulated meter in a given hour, as a pure function of the seed and the
// hour, so every archive sees the same troubles.
//
// Once a month the mains fail for a whole day, longer than the meter's reserve lasts: it stops
// (its operating-time counters stand still, stop time grows) from 23:00 on the eve to 23:00, the
// factory report hour, so that day's daily record holds the whole cut. Every 173 hours the mains
// dip for a few minutes, which the meter rides through on its reserve (counted as minutes without
// mains, no stop). Recurring abnormal situations (НС) flag single hours: the third pipe's volume
// below or above its hourly limits, a supply-return difference below the minimum, a faulty return
// temperature sensor. No НС is recorded while the meter stands.

#include "archives/archive_records.h"

#include <cstdint>

struct HourTroubles {
    bool powerCut = false;  // the meter stood the whole hour
    int dipMinutes = 0;     // mains off, the meter on its reserve
    bool volumeLow[kArchiveInputCount] = {};
    bool volumeHigh[kArchiveInputCount] = {};
    bool smallDt[kArchiveInputCount] = {};
    bool sensorFault[kArchiveInputCount] = {};
    bool keyPress = false;
    bool modbus = false;
};

// The troubles of the hour that ends at hour `hour` (hours since 01.01.2000 00:00, meter calendar),
// whose record is dated `date`.
HourTroubles TroublesOf(std::uint32_t seed, std::int64_t hour, const TChronoArch& date);

// The day of the month (year byte, month) on whose eve at 23:00 the month's power cut begins.
int PowerCutDay(std::uint32_t seed, int year, int month);
