#pragma once
// Values written into the SQL text itself, for the statements that carry a whole block of rows in one
// round trip to a PostgreSQL server (a prepared statement costs a round trip of its own).
// Only numbers, dates and texts of our own making go in this way, never what a user typed.
//
//   12        integers as they are
//   0.1       the shortest digits that read back as the same double
//   NaN, inf  PostgreSQL 'NaN', 'Infinity', '-Infinity'; SQLite has no NaN (it keeps NULL, as it does
//             for a bound NaN) and takes 9e999 for an infinity
//   'text'    quotes doubled

#include "archives/database_target.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

QString SqlLiteral(const QVariant& value, DatabaseTarget::Engine engine);

// One PostgreSQL statement adding `rows` that leaves out those the unique (Serial, Date) index already
// holds, the columns as arrays:
//   INSERT INTO t (a, b) SELECT * FROM unnest('{1,2,3}'::INTEGER[], '{"2024-02-26 12:00:00",...}'::TIMESTAMP[])
//   ON CONFLICT DO NOTHING
// which the server reads many times faster than a VALUES list of the same rows (one array input per
// column instead of a constant to convert per value). `columns` are quoted already, `types` are their
// SQL types; a REAL column's values are written as the float's shortest digits.
QString InsertArraysSql(const QString& quotedTable, const QString& columns, const QStringList& types,
                        const std::vector<QVariantList>& rows);
