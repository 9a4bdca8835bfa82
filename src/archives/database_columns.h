#pragma once
// The columns of the archive database tables, in table order, each with the record field that
// fills it. The export finds columns by these exact, case-sensitive names.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <QString>
#include <QVariant>

#include "archives/archive_records.h"
#include "meter/archive_descriptors.h"

// Where a column's value comes from.
enum class ColumnSource {
    Serial,  // the meter's factory number, a 32-bit integer
    Date,    // the date the record was requested for
    Float,   // IEEE single in the record
    Double,  // IEEE double in the record
    U8,
    U16,
    U32,
    NotFilled,  // "ResBits": the column exists but nothing is written to it
};

struct ArchiveColumn {
    QString name;
    ColumnSource source;
    std::size_t offset;  // of the field in the record (archive form); 0 for Serial, Date, NotFilled
};

// Tables of the hourly, daily and monthly archives: 69 columns, filled from an ArchiveRecord.
const std::vector<ArchiveColumn>& ValueArchiveColumns();
// Table of the totals archive: 46 columns, filled from a TotalsRecord (archive form).
const std::vector<ArchiveColumn>& TotalsArchiveColumns();
// The current values or, with `totals`, the current totals as columns of the same names, the offsets in
// the meter's current area; "Date" is the meter's time stamp there.
const std::vector<ArchiveColumn>& CurrentColumns(bool totals);
// The column list of a value-archive kind (hourly, daily and monthly share one).
const std::vector<ArchiveColumn>& ColumnsOf(ArchiveKind kind);

// Pipe k (0..5) in a column name, by its input and its place in the input: "1_1" ... "2_3".
QString PipeColumnSuffix(int pipe);

// "ZT5_Arch_Values_Hour", "..._Day", "..._Month", "..._Itog"; empty for other kinds.
QString ArchiveTableName(ArchiveKind kind);

// A record field as a column value: a double for Float and Double fields, an unsigned integer
// for U8, U16 and U32 fields; an invalid QVariant for Serial, Date and NotFilled (the caller
// supplies those) and for a field beyond the bytes given.
QVariant ColumnValue(const ArchiveColumn& column, std::span<const std::uint8_t> record);
QVariant ColumnValue(const ArchiveColumn& column, const ArchiveRecord& record);
QVariant ColumnValue(const ArchiveColumn& column, const TotalsRecord& record);
