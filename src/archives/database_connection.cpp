#include "archives/database_connection.h"

#include <QSqlQuery>

#include <mutex>

namespace {

constexpr int kPostgresqlConnectTimeoutSec = 5;

std::mutex g_setupLock;
QStringList g_setupStatements;

}  // namespace

QString DatabaseDriverName(const DatabaseTarget& target)
{
    return target.engine == DatabaseTarget::Engine::kPostgresql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QSqlDatabase AddDatabaseConnection(const DatabaseTarget& target, const QString& connectionName)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(DatabaseDriverName(target), connectionName);
    if (target.engine == DatabaseTarget::Engine::kSqlite) {
        database.setDatabaseName(target.path);
        return database;
    }
    database.setHostName(target.host);
    database.setPort(target.port);
    database.setUserName(target.user);
    database.setPassword(target.password);
    database.setDatabaseName(target.database);
    database.setConnectOptions(QStringLiteral("connect_timeout=%1;options='-c client_min_messages=warning'")
                                   .arg(kPostgresqlConnectTimeoutSec));
    return database;
}

bool RunConnectionSetup(QSqlDatabase& database, QString* error)
{
    QStringList statements;
    {
        const std::lock_guard<std::mutex> lock(g_setupLock);
        statements = g_setupStatements;
    }
    for (const QString& sql : statements) {
        QSqlQuery query(database);
        if (!query.exec(sql)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

void SetConnectionSetup(const QStringList& statements)
{
    const std::lock_guard<std::mutex> lock(g_setupLock);
    g_setupStatements = statements;
}

bool IsDuplicateRowError(const QSqlError& error)
{
    // SQLite: SQLITE_CONSTRAINT (19) or its unique/primary-key forms; PostgreSQL: unique_violation.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("19") || code == QLatin1String("2067") || code == QLatin1String("1555")
        || code == QLatin1String("23505");
}
