#include "support/table_checks.h"

#include "archives/database_columns.h"
#include "archives/database_connection.h"
#include "archives/database_schema.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

QString StoredDateText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return value.toString();
}

template <class T>
T FieldAt(const QByteArray& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

// What the column should hold for the record, by the column's source: floats and doubles as they are,
// bytes as small numbers, 16- and 32-bit fields as signed numbers of their width.
void ExpectColumn(const ArchiveColumn& column, const QByteArray& bytes, const QVariant& stored, const QString& where)
{
    switch (column.source) {
        case ColumnSource::Float: {
            // A single-precision column may come back as the shortest decimal of the float: compare as floats.
            const float expected = FieldAt<float>(bytes, column.offset);
            if (std::isnan(expected))
                EXPECT_TRUE(std::isnan(stored.toDouble())) << qPrintable(where);
            else
                EXPECT_EQ(float(stored.toDouble()), expected) << qPrintable(where);
            break;
        }
        case ColumnSource::Double: {
            const double expected = FieldAt<double>(bytes, column.offset);
            if (std::isnan(expected))
                EXPECT_TRUE(std::isnan(stored.toDouble())) << qPrintable(where);
            else
                EXPECT_EQ(stored.toDouble(), expected) << qPrintable(where);
            break;
        }
        case ColumnSource::U8:
            EXPECT_EQ(stored.toLongLong(), FieldAt<std::uint8_t>(bytes, column.offset)) << qPrintable(where);
            break;
        case ColumnSource::U16:
            EXPECT_EQ(stored.toLongLong(), FieldAt<std::int16_t>(bytes, column.offset)) << qPrintable(where);
            break;
        case ColumnSource::U32:
            EXPECT_EQ(stored.toLongLong(), FieldAt<std::int32_t>(bytes, column.offset)) << qPrintable(where);
            break;
        case ColumnSource::NotFilled:
            EXPECT_TRUE(stored.isNull()) << qPrintable(where);
            break;
        case ColumnSource::Serial:
        case ColumnSource::Date:
            break;
    }
}

}  // namespace

TestConnection::TestConnection(const DatabaseTarget& target)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("test-connection-%1").arg(++counter);
    m_db = AddDatabaseConnection(target, m_name);
    EXPECT_TRUE(m_db.open()) << qPrintable(m_db.lastError().text());
}

TestConnection::~TestConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void TestConnection::Exec(const QStringList& statements)
{
    for (const QString& statement : statements) {
        QSqlQuery query(m_db);
        ASSERT_TRUE(query.exec(statement)) << qPrintable(statement) << ": " << qPrintable(query.lastError().text());
    }
}

QString UserTableSql(DatabaseTarget::Engine engine, ArchiveKind kind, const QStringList& left, const QString& extra,
                     bool reversed)
{
    QStringList columns;
    for (const ArchiveColumn& column : ColumnsOf(kind)) {
        if (left.contains(column.name))
            continue;
        const QString definition = QuoteIdentifier(column.name) + u' ' + ColumnSqlType(engine, column.source);
        if (reversed)
            columns.prepend(definition);
        else
            columns << definition;
    }
    if (!extra.isEmpty())
        columns.prepend(extra);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteIdentifier(ArchiveTableName(kind)), columns.join(u", "));
}

qint64 TestConnection::Count(ArchiveKind kind)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QuoteIdentifier(ArchiveTableName(kind))))
        || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

void ExpectTableMatchesMeter(TestConnection& connection, ArchiveKind kind, const std::vector<MeterRecord>& records,
                             std::uint32_t serial, const QStringList& absent)
{
    QSqlQuery query(connection.Db());
    const QString table = QuoteIdentifier(ArchiveTableName(kind));
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY \"Date\"").arg(table)))
        << qPrintable(query.lastError().text());
    const QSqlRecord fields = query.record();
    for (const QString& name : absent)
        EXPECT_EQ(fields.indexOf(name), -1) << qPrintable(name);
    std::size_t row = 0;
    while (query.next()) {
        ASSERT_LT(row, records.size()) << "more rows than the meter has records";
        const MeterRecord& record = records[row++];
        EXPECT_EQ(query.value(QStringLiteral("Serial")).toLongLong(), qint64(serial));
        EXPECT_EQ(StoredDateText(query.value(QStringLiteral("Date"))), record.date);
        int checked = 0;
        for (const ArchiveColumn& column : ColumnsOf(kind)) {
            const int index = fields.indexOf(column.name);
            if (index < 0)
                continue;
            ExpectColumn(column, record.bytes, query.value(index), record.date + u' ' + column.name);
            ++checked;
        }
        EXPECT_EQ(checked + absent.size(), qsizetype(ColumnsOf(kind).size()));
    }
    EXPECT_EQ(row, records.size());
}
