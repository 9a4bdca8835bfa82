#pragma once
// One archive table as the export meets it: which of its kind's columns the table has (looked up by
// exact, case-sensitive name, so a table with extra, missing or reordered columns still gets every
// value it has room for), the two prepared statements of one record (the duplicate check and the insert,
// prepared when first used), and the block statements: the dates of a span in one query, the rows of a
// block in one insert.

#include "archives/database_columns.h"
#include "archives/database_target.h"
#include "meter/archive_descriptors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <vector>

struct RangeRecord;
struct TotalsRecord;

class ArchiveTable {
public:
    // Finds the table's columns; false with the engine's error when the table cannot be read.
    bool Open(const QSqlDatabase& database, ArchiveKind kind, QSqlError* error);

    // The position in the table of each column of the kind's list, in list order; absent when the table
    // has no column of that name.
    const std::vector<std::optional<int>>& Positions() const { return m_positions; }

    // Whether a row for this meter and date is there; empty on failure.
    std::optional<bool> Exists(std::int32_t serial, const QString& date, QSqlError* error);
    // The values of one row, in the order of the insert's placeholders.
    QVariantList RowValues(std::span<const std::uint8_t> record, std::int32_t serial, const QString& date) const;
    bool Insert(const QVariantList& row, QSqlError* error);

    // Whether the table has both "Serial" and "Date", which every look-up by meter and date needs.
    bool HasKeys() const { return m_hasKeys; }
    // The hours ("yyyy-MM-dd hh", see HourKeyText) this meter has rows for from `from` to `to` (texts as the
    // Date column holds them, both included): one query.
    // SQLite only: how many different hours this meter has rows for from `from` to `to`, counted by the
    // engine (one query that hands out no rows; the hour is the first 13 characters of the Date text).
    std::optional<qint64> CountStoredHours(std::int32_t serial, const QString& from, const QString& to,
                                           QSqlError* error) const;
    bool StoredHours(std::int32_t serial, const QString& from, const QString& to, std::set<QString>* hours,
                     QSqlError* error) const;
    // PostgreSQL: adds the rows (RowValues) in one statement, leaving out those the unique index already
    // holds; `added` is how many it really added.
    bool InsertArrays(const std::vector<QVariantList>& rows, qint64* added, QSqlError* error) const;
    // SQLite: adds one row unless the unique index holds it already (a prepared statement: no text to
    // make and read back); `added` tells which.
    bool InsertOrIgnore(const QVariantList& row, bool* added, QSqlError* error);
    // The rows of this meter dated from `from` to `to` (both included; texts as the Date column holds
    // them), oldest first, made back into records. A row whose date cannot be read is skipped.
    bool SelectRange(std::int32_t serial, const QString& from, const QString& to, std::vector<RangeRecord>* records,
                     QSqlError* error) const;
    // The meters with rows dated from `from` to `to`, by serial number.
    bool SerialsBetween(const QString& from, const QString& to, std::vector<std::int32_t>* serials,
                        QSqlError* error) const;
    // The same of the totals archive's table.
    bool SelectTotals(std::int32_t serial, const QString& from, const QString& to, std::vector<TotalsRecord>* records,
                      QSqlError* error) const;

private:
    // Each row made back into `recordSize` bytes (zero where the table has no column), with its date.
    using RowSink = std::function<void(const TChronoArch&, std::span<const std::uint8_t>)>;
    bool SelectRows(std::int32_t serial, const QString& from, const QString& to, std::size_t recordSize,
                    const RowSink& sink, QSqlError* error) const;
    bool HasColumn(const QString& name) const;
    bool Prepared(std::optional<QSqlQuery>& query, const QString& sql, QSqlError* error);

    ArchiveKind m_kind = kArchiveHourly;
    QString m_table;
    std::vector<std::optional<int>> m_positions;
    std::vector<const ArchiveColumn*> m_written;  // present and filled, in list order
    QString m_insertSql;
    QString m_writtenNames;      // their quoted names, comma-separated
    QStringList m_writtenTypes;  // their PostgreSQL types, for the block insert
    bool m_hasKeys = false;      // "Serial" and "Date" are both there
    QSqlDatabase m_database;
    std::optional<QSqlQuery> m_exists;
    std::optional<QSqlQuery> m_insert;
    std::optional<QSqlQuery> m_insertOrIgnore;
};

// The hour a date of the Date column stands for, "yyyy-MM-dd hh": how the block look-ups compare dates
// (minutes and seconds of a stored row may differ from the requested ones); empty for a date it cannot read.
QString HourKeyText(const QVariant& databaseDate);
QString HourKeyText(const DateTimeStamp& date);
