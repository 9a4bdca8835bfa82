#include "archives/collect_runs.h"

#include "archives/database_schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The local time as the Date columns keep theirs: text without a zone.
QString TimeText(const QDateTime& when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

bool PrepareCollectRuns(QSqlDatabase& database, DatabaseTarget::Engine engine, QString* error)
{
    const QString table = QuoteIdentifier(QLatin1String(kCollectRunsTable));
    const QString time = engine == DatabaseTarget::Engine::kPostgresql ? QStringLiteral("TIMESTAMP")
                                                                       : QStringLiteral("DATETIME");
    QSqlQuery query(database);
    // Two collectors may start at once: IF NOT EXISTS lets the second find the first one's table.
    if (query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Serial\" INTEGER, \"Node\" TEXT, \"Started\" %2, "
                                  "\"Finished\" %2, \"Written\" INTEGER, \"AlreadyThere\" INTEGER, \"Error\" TEXT)")
                       .arg(table, time)))
        return true;
    // PostgreSQL may still refuse the second of two simultaneous creators; the table is there then.
    const QString reason = query.lastError().text();
    if (database.tables(QSql::Tables).contains(QLatin1String(kCollectRunsTable)))
        return true;
    *error = reason;
    return false;
}

bool RecordCollectRun(QSqlDatabase& database, const CollectRun& run, QString* error)
{
    QSqlQuery query(database);
    if (!query.prepare(QStringLiteral("INSERT INTO %1 (\"Serial\", \"Node\", \"Started\", \"Finished\", \"Written\", "
                                      "\"AlreadyThere\", \"Error\") VALUES (?, ?, ?, ?, ?, ?, ?)")
                           .arg(QuoteIdentifier(QLatin1String(kCollectRunsTable))))) {
        *error = query.lastError().text();
        return false;
    }
    query.addBindValue(int(std::int32_t(run.serial)));
    query.addBindValue(run.node);
    query.addBindValue(TimeText(run.started));
    query.addBindValue(TimeText(run.finished));
    query.addBindValue(qlonglong(run.written));
    query.addBindValue(qlonglong(run.alreadyThere));
    query.addBindValue(run.error);
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}
