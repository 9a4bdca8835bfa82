#pragma once
// The quantities of a value-archive record that can be plotted or put into a range table: t, P, V and M
// of each of the six pipes, dt, dM, Qтв, Q12 and Qг of each of the two inputs, and ДП. Each knows its
// unit, where its value sits in the record and which bits of which flag field mark it abnormal (the
// same bits the text reports show as "<", ">" and "!").
//
// Keys are the archive database's column names ("t1_1", "dT_2", "Qwi_1", "DP"), so a script that knows
// the table or zt5ctl's CSV knows them too; labels are what a user reads ("t1", "Qтв ТВ2", "ДП").

#include "archives/archive_records.h"
#include "archives/flag_markers.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

enum class TrendUnit { kTemperature, kPressure, kVolume, kMass, kHeat, kDp };

struct TrendQuantity {
    QString key;    // the database column name
    QString label;  // "t1", "P6", "dt ТВ1", "Qтв ТВ2", "ДП"
    TrendUnit unit;
    int pipe = -1;            // 0..5 for the pipe quantities, -1 otherwise
    int input = -1;           // 0..1 for the input quantities, -1 otherwise
    FlaggedQuantity flagged;  // Unflagged for M (the reports show no markers for it)
    int decimals;             // as the reports print it
};

// All 35 quantities: the pipe quantities by kind then pipe (t1..t6, P1..P6, V1..V6, M1..M6), then the
// input quantities by input (dt, dM, Qтв, Q12, Qг of ТВ1, then of ТВ2), then ДП.
const std::vector<TrendQuantity>& TrendQuantities();
// The quantity with this key, or null.
const TrendQuantity* FindTrendQuantity(const QString& key);
// The quantities named in a comma-separated list of keys, in the list's order; an empty list gives all.
// False with `unknown` set to the first key that names nothing.
bool ParseTrendQuantityList(const QString& list, std::vector<const TrendQuantity*>* quantities, QString* unknown);

// "°C", "МПа", "м3", "т", "Гкал", "ед." (ДП counts in the units its input is set up for).
QString TrendUnitText(TrendUnit unit);

double TrendValue(const TrendQuantity& quantity, const ArchiveRecord& record);
// The quantity's own bits of its flag field (only those that mark it); 0 when it is not flagged.
std::uint16_t TrendFlags(const TrendQuantity& quantity, const ArchiveRecord& record);
// The markers of those bits without the blanks: "", "<", ">", "!", "<!", ...
QString TrendFlagText(const TrendQuantity& quantity, const ArchiveRecord& record);
// The flag bits the markers stand for, within the quantity's field; the inverse of TrendFlagText.
// False for a character that is no marker of this quantity.
bool TrendFlagsFromText(const TrendQuantity& quantity, const QString& markers, std::uint16_t* flags);
