#pragma once
// A row of an archive table made back into record bytes: the inverse of ColumnValue for each column the
// table has, and the Date column read back into a stamp whichever way the engine hands it out (SQLite
// gives the text it stored, PostgreSQL a timestamp).

#include "archives/database_columns.h"

#include <QVariant>

#include <cstdint>
#include <optional>
#include <span>

// Writes a stored column value into its field of the record bytes. Counters come back from the signed
// integers the table keeps them as with their bits unchanged; NULL (how SQLite keeps a NaN) gives NaN for
// a float and 0 for the rest. Serial, Date, not-filled columns and fields beyond the bytes are left alone.
void StoreColumnValue(const ArchiveColumn& column, const QVariant& value, std::span<std::uint8_t> record);

// The Date column's value; empty when it is no date of the archive's calendar (before 2000 included).
std::optional<DateTimeStamp> StampOfDatabaseDate(const QVariant& value);
