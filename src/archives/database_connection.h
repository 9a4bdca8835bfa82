#pragma once
// A Qt SQL connection to where a DatabaseTarget points, not yet opened: the SQLite file, or the
// PostgreSQL server with its user and database (a short connect time-out, and the server's notices
// such as "already exists, skipping" kept to itself). The caller opens it, and removes it by name
// when done.

#include "archives/database_target.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

// The Qt driver the target's engine needs: "QSQLITE" or "QPSQL".
QString DatabaseDriverName(const DatabaseTarget& target);

QSqlDatabase AddDatabaseConnection(const DatabaseTarget& target, const QString& connectionName);

// Runs the statements set by SetConnectionSetup on a connection just opened; false with the engine's
// words when one fails. Without any set, nothing is run: the programs never set any.
bool RunConnectionSetup(QSqlDatabase& database, QString* error);
// Statements every archive database connection runs once open, for tests that need an engine limit
// (an SQLite page limit stands in for a disk that fills up). Empty clears them.
void SetConnectionSetup(const QStringList& statements);

// Whether the failure was a row the unique (Serial, Date) index refused: another writer stored it first.
bool IsDuplicateRowError(const QSqlError& error);
