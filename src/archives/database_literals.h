#pragma once
// Values written into the SQL text itself, for the statements that carry a whole block of rows in one
// round trip to the server (a prepared statement costs a round trip of its own for each shape of block).
// Only numbers, dates and texts of our own making go in this way, never what a user typed.
//
//   12        integers as they are
//   0.10000000149011612   floats and doubles with 17 digits, so the value read back is bit for bit the
//                         one written (a float widened to double first)
//   NaN, inf  PostgreSQL 'NaN', 'Infinity', '-Infinity'; SQLite has no NaN (it keeps NULL, as it does
//             for a bound NaN) and takes 9e999 for an infinity
//   'text'    quotes doubled

#include "archives/database_target.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

QString SqlLiteral(const QVariant& value, DatabaseTarget::Engine engine);

// "INSERT ... VALUES (...), (...)" that leaves out the rows the unique (Serial, Date) index already holds:
// ON CONFLICT DO NOTHING on PostgreSQL, INSERT OR IGNORE on SQLite. `columns` are quoted already.
QString InsertRowsSql(const QString& quotedTable, const QString& columns, const std::vector<QVariantList>& rows,
                      DatabaseTarget::Engine engine);
