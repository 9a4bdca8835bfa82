#include "archives/collect_runs.h"

#include "archives/archive_database.h"  // DatabaseDateText
#include "archives/database_schema.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum class ColumnType { kInteger, kText, kTime };

struct RunColumn {
    const char* name;
    ColumnType type;
};

// In table order; the first seven are the first layout's, the rest came later.
constexpr RunColumn kColumns[] = {
    {"Serial", ColumnType::kInteger}, {"Node", ColumnType::kText},          {"Started", ColumnType::kTime},
    {"Finished", ColumnType::kTime},  {"Written", ColumnType::kInteger},    {"AlreadyThere", ColumnType::kInteger},
    {"Error", ColumnType::kText},     {"NodeSerial", ColumnType::kInteger}, {"NewestFutureDate", ColumnType::kTime},
    {"Notes", ColumnType::kText},
};

QString TypeSql(DatabaseTarget::Engine engine, ColumnType type)
{
    switch (type) {
        case ColumnType::kInteger:
            return QStringLiteral("INTEGER");
        case ColumnType::kText:
            return QStringLiteral("TEXT");
        case ColumnType::kTime:
            break;
    }
    return engine == DatabaseTarget::Engine::kPostgresql ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
}

QString Table()
{
    return QuoteIdentifier(QLatin1String(kCollectRunsTable));
}

// The local time as the Date columns keep theirs: text without a zone.
QString TimeText(const QDateTime& when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The names of the table's columns as they are; empty when it cannot be read.
QStringList PresentColumns(const QSqlDatabase& database)
{
    QSqlQuery probe(database);
    QStringList names;
    if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(Table())))
        return names;
    const QSqlRecord fields = probe.record();
    for (int i = 0; i < fields.count(); ++i)
        names << fields.fieldName(i);
    return names;
}

QVariant ValueOf(const CollectRun& run, int column)
{
    switch (column) {
        case 0:
            return int(std::int32_t(run.serial));
        case 1:
            return run.node;
        case 2:
            return TimeText(run.started);
        case 3:
            return TimeText(run.finished);
        case 4:
            return qlonglong(run.written);
        case 5:
            return qlonglong(run.alreadyThere);
        case 6:
            return run.error;
        case 7:
            return int(std::int32_t(run.nodeSerial));
        case 8:
            return run.newestFuture ? QVariant(DatabaseDateText(*run.newestFuture))
                                    : QVariant(QMetaType::fromType<QString>());
        default:
            return run.notes;
    }
}

}  // namespace

bool PrepareCollectRuns(QSqlDatabase& database, DatabaseTarget::Engine engine, QString* error)
{
    QStringList columns;
    for (const RunColumn& column : kColumns)
        columns << QuoteIdentifier(QLatin1String(column.name)) + u' ' + TypeSql(engine, column.type);
    QSqlQuery query(database);
    // Two collectors may start at once: IF NOT EXISTS lets the second find the first one's table.
    const bool made = query.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(Table(), columns.join(QStringLiteral(", "))));
    // PostgreSQL may still refuse the second of two simultaneous creators; the table is there then.
    const QString reason = query.lastError().text();
    if (!made && !database.tables(QSql::Tables).contains(QLatin1String(kCollectRunsTable))) {
        *error = reason;
        return false;
    }
    // A table of an older program: the later columns are added. Where that is refused (a user who may
    // write rows but not alter the table, or another collector adding the same column a moment earlier)
    // the rows go without them.
    const QStringList present = PresentColumns(database);
    const QString add = engine == DatabaseTarget::Engine::kPostgresql ? QStringLiteral("ADD COLUMN IF NOT EXISTS")
                                                                      : QStringLiteral("ADD COLUMN");
    for (const RunColumn& column : kColumns) {
        if (!present.isEmpty() && !present.contains(QLatin1String(column.name), Qt::CaseSensitive))
            QSqlQuery(database).exec(
                QStringLiteral("ALTER TABLE %1 %2 %3 %4")
                    .arg(Table(), add, QuoteIdentifier(QLatin1String(column.name)), TypeSql(engine, column.type)));
    }
    return true;
}

bool RecordCollectRun(QSqlDatabase& database, const CollectRun& run, QString* error)
{
    // Without the names (the probe failed), all columns: the insert then says what is wrong.
    const QStringList present = PresentColumns(database);
    QStringList names;
    QStringList places;
    std::vector<int> used;
    for (int column = 0; column < int(std::size(kColumns)); ++column) {
        if (!present.isEmpty() && !present.contains(QLatin1String(kColumns[column].name), Qt::CaseSensitive))
            continue;
        names << QuoteIdentifier(QLatin1String(kColumns[column].name));
        places << QStringLiteral("?");
        used.push_back(column);
    }
    QSqlQuery query(database);
    if (!query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(Table(), names.join(QStringLiteral(", ")), places.join(QStringLiteral(", "))))) {
        *error = query.lastError().text();
        return false;
    }
    for (const int column : used)
        query.addBindValue(ValueOf(run, column));
    if (query.exec())
        return true;
    *error = query.lastError().text();
    return false;
}
