#include "archives/database_schema.h"

QString QuoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QString ColumnSqlType(DatabaseTarget::Engine engine, ColumnSource source)
{
    const bool postgresql = engine == DatabaseTarget::Engine::kPostgresql;
    switch (source) {
        case ColumnSource::Serial:
        case ColumnSource::U32:
        case ColumnSource::NotFilled:
            return QStringLiteral("INTEGER");
        case ColumnSource::Date:
            return postgresql ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
        case ColumnSource::Float:
            return QStringLiteral("REAL");
        case ColumnSource::Double:
            return QStringLiteral("DOUBLE PRECISION");
        case ColumnSource::U16:
            return QStringLiteral("SMALLINT");
        // PostgreSQL has no one-byte integer; a byte fits a SMALLINT.
        case ColumnSource::U8:
            return postgresql ? QStringLiteral("SMALLINT") : QStringLiteral("TINYINT");
    }
    return QStringLiteral("INTEGER");
}

QString CreateTableSql(DatabaseTarget::Engine engine, ArchiveKind kind)
{
    QStringList columns;
    for (const ArchiveColumn& column : ColumnsOf(kind))
        columns << QuoteIdentifier(column.name) + u' ' + ColumnSqlType(engine, column.source);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteIdentifier(ArchiveTableName(kind)), columns.join(u", "));
}

QString CreateSerialDateIndexSql(ArchiveKind kind, bool unique)
{
    const QString table = ArchiveTableName(kind);
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (\"Serial\", \"Date\")")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), QuoteIdentifier(table + QStringLiteral("_Serial_Date")),
             QuoteIdentifier(table));
}
