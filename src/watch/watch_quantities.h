#pragma once
// The quantities the watcher publishes, one row each: the key of the state JSON (the archive database's
// column name where one exists: t1_1, Qwi_1, VNR_2), the label a person reads, the kind (which decides
// the unit on every way out), and where the value sits in the current values or the current totals.
// The state, the discovery configs and the metrics page all walk this one table.
//
// Units as the meter keeps them: °C, MPa, m³/h, t/h, m³, t, Gcal, hours.

#include "watch/meter_reading.h"

#include <QString>

#include <cstddef>
#include <vector>

enum class WatchKind {
    kTemperature,     // °C
    kPressure,        // MPa
    kVolumeFlow,      // m³/h
    kMassFlow,        // t/h
    kVolume,          // m³, a total
    kMass,            // t, a total
    kMassDifference,  // t, the imbalance of an input: it may go either way
    kHeat,            // Gcal, a total
    kHours,           // h, a total
    kFlags,           // a flag word: anything but 0 is a problem
    kOther,           // published as it is, without a unit (Ф, h, hх, ДП)
};

enum class WatchField { kFloat, kDouble, kU8, kU16 };

struct WatchQuantity {
    QString key;
    QString stem;   // the key without its pipe or input: "t", "Qwi"
    QString label;  // "t1", "Qтв ТВ1", "НС трубы 3"
    WatchKind kind;
    bool fromTotals;
    WatchField field;
    std::size_t offset;  // in CurrentValues, or in CurrentTotalsRecord when fromTotals
    int pipe = -1;       // 0..5
    int input = -1;      // 0..1
};

const std::vector<WatchQuantity>& WatchQuantities();

double WatchValue(const WatchQuantity& quantity, const MeterReading& reading);
// Totals only ever grow: a smaller one than before is a bad read.
bool IsGrowingTotal(const WatchQuantity& quantity);
