#pragma once
// The database side of the export tests: a connection of the test's own, tables made the way a user
// might have made them, and every row laid beside the meter's records.

#include "archives/database_target.h"
#include "meter/archive_descriptors.h"
#include "support/meter_record.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A connection of the test's own to the database an export wrote (closed with the object).
class TestConnection {
public:
    explicit TestConnection(const DatabaseTarget& target);
    ~TestConnection();
    QSqlDatabase& Db() { return m_db; }
    // Runs the statements; fails the test on the first error.
    void Exec(const QStringList& statements);
    qint64 Count(ArchiveKind kind);

private:
    QString m_name;
    QSqlDatabase m_db;
};

// A user's own table for the kind: its columns without `left`, in reverse order when asked, `extra`
// (a column definition) first.
QString UserTableSql(DatabaseTarget::Engine engine, ArchiveKind kind, const QStringList& left,
                     const QString& extra = {}, bool reversed = false);

// Compares every row of the kind's table with the meter's records: the same dates in the same number,
// each present column holding the record's field as the table stores it; the columns in `absent` must
// not be in the table.
void ExpectTableMatchesMeter(TestConnection& connection, ArchiveKind kind, const std::vector<MeterRecord>& records,
                             std::uint32_t serial, const QStringList& absent = {});
