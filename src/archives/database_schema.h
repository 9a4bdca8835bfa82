#pragma once
// The SQL that makes the four archive tables where they are missing: the column lists in table order,
// the types each column is written with, and a unique index on (Serial, Date) that keeps the duplicate
// check fast whatever the table's length. Identifiers are always quoted, so the mixed-case names
// survive engines that fold unquoted names.

#include "archives/database_columns.h"
#include "archives/database_target.h"
#include "meter/archive_descriptors.h"

#include <QString>
#include <QStringList>

QString QuoteIdentifier(const QString& name);

// The column's type in CREATE TABLE on the engine.
QString ColumnSqlType(DatabaseTarget::Engine engine, ColumnSource source);

QString CreateTableSql(DatabaseTarget::Engine engine, ArchiveKind kind);
// Unique wherever the table allows it; a plain index on a table found holding duplicates of its own.
// IF NOT EXISTS either way, so an index already there (another writer's) is kept.
QString CreateSerialDateIndexSql(ArchiveKind kind, bool unique);
