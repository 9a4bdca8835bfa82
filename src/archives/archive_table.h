#pragma once
// One archive table as the export meets it: which of its kind's columns the table has (looked up by
// exact, case-sensitive name, so a table with extra, missing or reordered columns still gets every
// value it has room for), and the two prepared statements the export runs on it, the duplicate check
// and the insert.

#include "archives/archive_descriptors.h"
#include "archives/database_columns.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct RangeRecord;

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
    // The rows of this meter dated from `from` to `to` (both included; texts as the Date column holds
    // them), oldest first, made back into records. A row whose date cannot be read is skipped.
    bool SelectRange(std::int32_t serial, const QString& from, const QString& to, std::vector<RangeRecord>* records,
                     QSqlError* error) const;

private:
    bool HasColumn(const QString& name) const;

    ArchiveKind m_kind = kArchiveHourly;
    QString m_table;
    std::vector<std::optional<int>> m_positions;
    std::vector<const ArchiveColumn*> m_written;  // present and filled, in list order
    bool m_hasKeys = false;  // "Serial" and "Date" are both there
    QSqlDatabase m_database;
    std::optional<QSqlQuery> m_exists;
    std::optional<QSqlQuery> m_insert;
};
