#include "archives/database_connection.h"

namespace {

constexpr int kPostgresqlConnectTimeoutSec = 5;

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
