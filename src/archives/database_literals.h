#pragma once
// Values written into the SQL text itself, for the statements that carry a whole block of rows in one
// round trip to the server (a prepared statement costs a round trip of its own for each shape of block).
// Only numbers, dates and texts of our own making go in this way, never what a user typed.
//
//   12        integers as they are
//   0.10000000149011612   floats and doubles with 17 digits, so the value read back is bit for bit the
//                         one written (a float widened to double first); quoted on PostgreSQL, which
//                         would otherwise parse a NUMERIC and convert it
//   NaN, inf  PostgreSQL 'NaN', 'Infinity', '-Infinity'; SQLite has no NaN (it keeps NULL, as it does
//             for a bound NaN) and takes 9e999 for an infinity
//   'text'    quotes doubled

#include "archives/database_target.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

QString SqlLiteral(const QVariant& value, DatabaseTarget::Engine engine);

// One statement adding `rows` that leaves out those the unique (Serial, Date) index already holds.
// SQLite: INSERT OR IGNORE ... VALUES (...), (...). PostgreSQL: the columns as arrays,
//   INSERT INTO t (a, b) SELECT * FROM unnest('{1,2,3}'::INTEGER[], '{"2024-02-26 12:00:00",...}'::TIMESTAMP[])
//   ON CONFLICT DO NOTHING
// which the server reads many times faster than a VALUES list of the same rows (one array input per
// column instead of a constant to convert per value). `columns` are quoted already; `types` are the
// columns' SQL types, used on PostgreSQL only.
QString InsertRowsSql(const QString& quotedTable, const QString& columns, const QStringList& types,
                      const std::vector<QVariantList>& rows, DatabaseTarget::Engine engine);
