#include "archives/archive_table.h"

#include "archives/archive_database.h"
#include "archives/archive_range.h"
#include "archives/archive_row_record.h"
#include "archives/database_literals.h"
#include "archives/database_schema.h"
#include "archives/record_bytes.h"

#include <QSqlRecord>
#include <QStringList>

#include <algorithm>

namespace {

// A column value as the table stores it: 16- and 32-bit counters as signed integers of their width (the
// bits unchanged, so 40000 reads back as -25536), bytes as small integers, floats as they are.
QVariant StoredValue(const ArchiveColumn& column, std::span<const std::uint8_t> record)
{
    const QVariant value = ColumnValue(column, record);
    switch (column.source) {
        case ColumnSource::U16:
            return int(std::int16_t(value.toUInt()));
        case ColumnSource::U32:
            return int(std::int32_t(value.toUInt()));
        case ColumnSource::U8:
            return int(value.toUInt());
        default:
            return value;
    }
}

}  // namespace

bool ArchiveTable::Open(const QSqlDatabase& database, ArchiveKind kind, QSqlError* error)
{
    m_kind = kind;
    m_database = database;
    m_table = QuoteIdentifier(ArchiveTableName(kind));
    QSqlQuery probe(database);
    if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(m_table))) {
        *error = probe.lastError();
        return false;
    }
    const QSqlRecord fields = probe.record();
    std::vector<bool> matched(std::size_t(fields.count()), false);
    m_positions.clear();
    m_written.clear();
    m_writtenTypes.clear();
    QStringList names;
    for (const ArchiveColumn& column : ColumnsOf(kind)) {
        std::optional<int> position;
        for (int i = 0; i < fields.count() && !position; ++i) {
            if (!matched[std::size_t(i)] && fields.fieldName(i) == column.name) {
                matched[std::size_t(i)] = true;
                position = i;
            }
        }
        m_positions.push_back(position);
        if (position && column.source != ColumnSource::NotFilled) {
            m_written.push_back(&column);
            names << QuoteIdentifier(column.name);
            m_writtenTypes << ColumnSqlType(DatabaseTarget::Engine::kPostgresql, column.source);
        }
    }
    m_writtenNames = names.join(u", ");
    m_insertSql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(m_table, m_writtenNames, QStringList(names.size(), QStringLiteral("?")).join(u", "));
    m_exists.reset();
    m_insert.reset();
    m_insertOrIgnore.reset();
    // The duplicate check needs both key columns; without them each record fails when it is checked.
    m_hasKeys = HasColumn(QStringLiteral("Serial")) && HasColumn(QStringLiteral("Date"));
    return true;
}

// Each prepare is a round trip to a server: the statements are made when first needed, and an export in
// blocks never needs them.
bool ArchiveTable::Prepared(std::optional<QSqlQuery>& query, const QString& sql, QSqlError* error)
{
    if (query)
        return true;
    query.emplace(m_database);
    query->setForwardOnly(true);
    if (query->prepare(sql))
        return true;
    *error = query->lastError();
    query.reset();
    return false;
}

bool ArchiveTable::HasColumn(const QString& name) const
{
    const std::vector<ArchiveColumn>& columns = ColumnsOf(m_kind);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name)
            return m_positions[i].has_value();
    }
    return false;
}

std::optional<bool> ArchiveTable::Exists(std::int32_t serial, const QString& date, QSqlError* error)
{
    if (!m_hasKeys) {
        *error = QSqlError(QString::fromUtf8("В таблице %1 нет столбцов Serial и Date").arg(m_table), QString(),
                           QSqlError::StatementError);
        return std::nullopt;
    }
    if (!Prepared(m_exists,
                  QStringLiteral("SELECT 1 FROM %1 WHERE \"Serial\" = ? AND \"Date\" = ? LIMIT 1").arg(m_table), error))
        return std::nullopt;
    m_exists->bindValue(0, serial);
    m_exists->bindValue(1, date);
    if (!m_exists->exec()) {
        *error = m_exists->lastError();
        return std::nullopt;
    }
    const bool found = m_exists->next();
    m_exists->finish();
    return found;
}

QVariantList ArchiveTable::RowValues(std::span<const std::uint8_t> record, std::int32_t serial,
                                     const QString& date) const
{
    QVariantList row;
    row.reserve(qsizetype(m_written.size()));
    for (const ArchiveColumn* column : m_written) {
        switch (column->source) {
            case ColumnSource::Serial:
                row << serial;
                break;
            case ColumnSource::Date:
                row << date;
                break;
            default:
                row << StoredValue(*column, record);
                break;
        }
    }
    return row;
}

bool ArchiveTable::Insert(const QVariantList& row, QSqlError* error)
{
    if (!Prepared(m_insert, m_insertSql, error))
        return false;
    for (qsizetype i = 0; i < row.size(); ++i)
        m_insert->bindValue(int(i), row[i]);
    if (!m_insert->exec()) {
        *error = m_insert->lastError();
        return false;
    }
    return true;
}

bool ArchiveTable::SelectRows(std::int32_t serial, const QString& from, const QString& to, std::size_t recordSize,
                              const RowSink& sink, QSqlError* error) const
{
    if (!m_hasKeys) {
        *error = QSqlError(QString::fromUtf8("В таблице %1 нет столбцов Serial и Date").arg(m_table), QString(),
                           QSqlError::StatementError);
        return false;
    }
    std::vector<const ArchiveColumn*> values;
    QStringList names{QStringLiteral("\"Date\"")};
    for (const ArchiveColumn* column : m_written) {
        if (column->source != ColumnSource::Serial && column->source != ColumnSource::Date) {
            values.push_back(column);
            names << QuoteIdentifier(column->name);
        }
    }
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE \"Serial\" = ? AND \"Date\" >= ? AND \"Date\" <= ? "
                                      "ORDER BY \"Date\"")
                           .arg(names.join(u", "), m_table))) {
        *error = query.lastError();
        return false;
    }
    query.bindValue(0, serial);
    query.bindValue(1, from);
    query.bindValue(2, to);
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    std::vector<std::uint8_t> bytes(recordSize);
    while (query.next()) {
        const std::optional<DateTimeStamp> stamp = StampOfDatabaseDate(query.value(0));
        if (!stamp)
            continue;
        std::fill(bytes.begin(), bytes.end(), std::uint8_t(0));
        for (std::size_t i = 0; i < values.size(); ++i)
            StoreColumnValue(*values[i], query.value(int(i + 1)), bytes);
        sink(ChronoOf(*stamp), bytes);
    }
    return true;
}

bool ArchiveTable::SelectRange(std::int32_t serial, const QString& from, const QString& to,
                               std::vector<RangeRecord>* records, QSqlError* error) const
{
    return SelectRows(
        serial, from, to, sizeof(ArchiveRecord),
        [records](const TChronoArch& date, std::span<const std::uint8_t> bytes) {
            RangeRecord found{date, RecordFromBytes<ArchiveRecord>(bytes)};
            found.record.date = date;
            records->push_back(found);
        },
        error);
}

bool ArchiveTable::SerialsBetween(const QString& from, const QString& to, std::vector<std::int32_t>* serials,
                                  QSqlError* error) const
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!m_hasKeys
        || !query.prepare(QStringLiteral("SELECT DISTINCT \"Serial\" FROM %1 WHERE \"Date\" >= ? AND \"Date\" <= ? "
                                         "ORDER BY \"Serial\"")
                              .arg(m_table))) {
        *error = query.lastError();
        return false;
    }
    query.bindValue(0, from);
    query.bindValue(1, to);
    if (!query.exec()) {
        *error = query.lastError();
        return false;
    }
    while (query.next())
        serials->push_back(query.value(0).toInt());
    return true;
}

bool ArchiveTable::SelectTotals(std::int32_t serial, const QString& from, const QString& to,
                                std::vector<TotalsRecord>* records, QSqlError* error) const
{
    return SelectRows(
        serial, from, to, sizeof(TotalsRecord),
        [records](const TChronoArch& date, std::span<const std::uint8_t> bytes) {
            TotalsRecord found = RecordFromBytes<TotalsRecord>(bytes);
            found.date = date;
            records->push_back(found);
        },
        error);
}

std::optional<qint64> ArchiveTable::CountStoredHours(std::int32_t serial, const QString& from, const QString& to,
                                                     QSqlError* error) const
{
    if (!m_hasKeys) {
        *error = QSqlError(QString::fromUtf8("В таблице %1 нет столбцов Serial и Date").arg(m_table), QString(),
                           QSqlError::StatementError);
        return std::nullopt;
    }
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const auto engine = DatabaseTarget::Engine::kSqlite;
    if (!query.exec(QStringLiteral("SELECT COUNT(DISTINCT substr(\"Date\", 1, 13)) FROM %1 WHERE \"Serial\" = %2 AND "
                                   "\"Date\" >= %3 AND \"Date\" <= %4")
                        .arg(m_table)
                        .arg(serial)
                        .arg(SqlLiteral(from, engine), SqlLiteral(to, engine)))
        || !query.next()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

bool ArchiveTable::StoredHours(std::int32_t serial, const QString& from, const QString& to, std::set<QString>* hours,
                               QSqlError* error) const
{
    if (!m_hasKeys) {
        *error = QSqlError(QString::fromUtf8("В таблице %1 нет столбцов Serial и Date").arg(m_table), QString(),
                           QSqlError::StatementError);
        return false;
    }
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    const auto engine = DatabaseTarget::Engine::kSqlite;  // a date text is quoted alike on both engines
    if (!query.exec(
            QStringLiteral("SELECT \"Date\" FROM %1 WHERE \"Serial\" = %2 AND \"Date\" >= %3 AND \"Date\" <= %4")
                .arg(m_table)
                .arg(serial)
                .arg(SqlLiteral(from, engine), SqlLiteral(to, engine)))) {
        *error = query.lastError();
        return false;
    }
    while (query.next()) {
        const QString hour = HourKeyText(query.value(0));
        if (!hour.isEmpty())
            hours->insert(hour);
    }
    return true;
}

bool ArchiveTable::InsertArrays(const std::vector<QVariantList>& rows, qint64* added, QSqlError* error) const
{
    *added = 0;
    if (rows.empty())
        return true;
    if (m_written.empty()) {
        *error = QSqlError(QString::fromUtf8("В таблице %1 нет ни одного столбца архива").arg(m_table), QString(),
                           QSqlError::StatementError);
        return false;
    }
    QSqlQuery query(m_database);
    if (!query.exec(InsertArraysSql(m_table, m_writtenNames, m_writtenTypes, rows))) {
        *error = query.lastError();
        return false;
    }
    *added = query.numRowsAffected();
    return true;
}

bool ArchiveTable::InsertOrIgnore(const QVariantList& row, bool* added, QSqlError* error)
{
    const QString sql = QString(m_insertSql)
                            .replace(QLatin1String("INSERT INTO"), QLatin1String("INSERT OR IGNORE INTO"));
    if (!Prepared(m_insertOrIgnore, sql, error))
        return false;
    for (qsizetype i = 0; i < row.size(); ++i)
        m_insertOrIgnore->bindValue(int(i), row[i]);
    if (!m_insertOrIgnore->exec()) {
        *error = m_insertOrIgnore->lastError();
        return false;
    }
    *added = m_insertOrIgnore->numRowsAffected() > 0;
    return true;
}

QString HourKeyText(const QVariant& databaseDate)
{
    const std::optional<DateTimeStamp> stamp = StampOfDatabaseDate(databaseDate);
    if (!stamp)
        return QString();
    // A text as this program writes it is its own key: its first 13 characters.
    if (databaseDate.typeId() == QMetaType::QString) {
        const QString text = databaseDate.toString();
        if (text.size() >= 13 && text[10] == u' ' && text[0].isDigit())
            return text.left(13);
    }
    return HourKeyText(*stamp);
}

QString HourKeyText(const DateTimeStamp& date)
{
    return DatabaseDateText(date).left(13);
}
