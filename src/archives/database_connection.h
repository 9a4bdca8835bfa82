#pragma once
// A Qt SQL connection to where a DatabaseTarget points, not yet opened: the SQLite file, or the
// PostgreSQL server with its user and database (a short connect time-out, and the server's notices
// such as "already exists, skipping" kept to itself). The caller opens it, and removes it by name
// when done.

#include "archives/database_target.h"

#include <QSqlDatabase>
#include <QString>

// The Qt driver the target's engine needs: "QSQLITE" or "QPSQL".
QString DatabaseDriverName(const DatabaseTarget& target);

QSqlDatabase AddDatabaseConnection(const DatabaseTarget& target, const QString& connectionName);
