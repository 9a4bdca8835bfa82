#pragma once
// The archive database of one export: the four archive tables in an SQLite file or a PostgreSQL
// database, the duplicate check and the insert of one record. Missing tables are made (with a unique
// index on Serial and Date); tables that are there are used as they are, each column found by name.
//
// The header stays clear of the record layouts, so the code that drives the meter (whose configuration
// headers name their counts alike) can use it.
//
// Two ways to write. A block (StoredHours, then WriteBlock) costs two round trips to a server for any
// number of records: one query for the dates already there, one statement that adds the new rows and
// leaves out what the unique index holds (another writer may have stored them meanwhile); the statement
// is its own transaction. One record at a time (Exists, Write): writes are gathered in transactions of
// a few hundred rows (or a second's worth), begun with the first of them, so a long export does not wait
// for the disk after every record; Close commits the last one. Rows of the open transaction are kept
// until it is committed: when a statement fails (which on PostgreSQL voids the whole transaction) they
// are written again in a new one, so nothing Write accepted is lost.
//
// Lives on one thread: opened, used and closed there.

#include "archives/database_target.h"
#include "meter/archive_descriptors.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <vector>

class ArchiveTable;
struct RangeRecord;
struct TotalsRecord;

// Failure codes of our own, beside the engine's (whose low 16 bits are kept).
enum DatabaseFailure : std::uint16_t {
    kDatabaseNoFailure = 0,
    kDatabaseNoDriver = 0xFFF0,  // the engine's Qt driver is not installed
    kDatabaseNoFolder = 0xFFF1,  // the SQLite file's folder cannot be made
    kDatabaseBadDate = 0xFFF2,   // a date the calendar does not have
    kDatabaseNotOpen = 0xFFF3,
};

class ArchiveDatabase {
public:
    ArchiveDatabase();
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase&) = delete;
    ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

    // Connects, makes what is missing and finds the columns of the four tables. False on failure.
    bool Open(const DatabaseTarget& target);
    // A kind outside 0-3 is never there; a failing check gives false with the failure stored (see Failed).
    bool Exists(int kind, std::uint32_t serial, const DateTimeStamp& date);
    // Adds the record's row; the columns the table lacks are skipped.
    bool Write(int kind, std::span<const std::uint8_t> record, std::uint32_t serial, const DateTimeStamp& date);
    // The hours (HourKeyText) this meter has rows for in the kind's table from `from` to `to`, both
    // included. False with the failure stored (see Failed) when the table cannot be read.
    bool StoredHours(int kind, std::uint32_t serial, const DateTimeStamp& from, const DateTimeStamp& to,
                     std::set<QString>* hours);
    // The values of a record's row, for WriteBlock; empty (the failure stored) for a date the calendar lacks.
    QVariantList RowOf(int kind, std::span<const std::uint8_t> record, std::uint32_t serial, const DateTimeStamp& date);
    // Adds the rows, leaving out those stored already, committed when it returns true; `added` is how
    // many were new. PostgreSQL: in one statement; SQLite: row by row in one transaction. Any failure
    // leaves the database Broken.
    bool WriteBlock(int kind, const std::vector<QVariantList>& rows, qint64* added);
    // Commits what is pending; false (Broken) when the commit failed.
    bool Flush();
    // The newest date this meter has in each table, in one query; empty for a table without its rows
    // (or without the key columns).
    bool NewestDates(std::uint32_t serial, std::array<std::optional<DateTimeStamp>, kValueArchiveCount>* newest);
    // The connection, for tables of its own beside the archives (the collector's log of runs).
    QSqlDatabase& Connection() { return m_database; }
    DatabaseTarget::Engine Engine() const { return m_engine; }

    // The rows this meter has in the kind's table dated from `from` to `to` (both by the hour, both
    // included), oldest first, each made back into a record (the fields the table lacks stay 0). False
    // with the failure stored when the table cannot be read; a row with a date it cannot read is skipped.
    bool ReadRange(int kind, std::uint32_t serial, const TChronoArch& from, const TChronoArch& to,
                   std::vector<RangeRecord>* records);
    // The meters the kind's table has rows of dated from `from` to `to`, by serial number.
    bool ReadSerials(int kind, const TChronoArch& from, const TChronoArch& to, std::vector<std::uint32_t>* serials);
    // The same of the totals archive.
    bool ReadTotals(std::uint32_t serial, const TChronoArch& from, const TChronoArch& to,
                    std::vector<TotalsRecord>* records);
    // Commits what is pending and disconnects; false when the last rows could not be committed.
    bool Close();

    // Whether the last Exists failed rather than found nothing.
    bool Failed() const { return m_lastCallFailed; }
    // The stored failure code, which is then cleared.
    std::uint16_t TakeLastFailure();
    // The engine's own words for the last failure.
    QString LastFailureText() const { return m_failureText; }

    // The table of a kind, once opened.
    const ArchiveTable& Table(ArchiveKind kind) const { return *m_tables[kind]; }
    // Rows written since Open (committed or pending).
    qint64 RowsWritten() const { return m_rowsWritten; }
    // Rows of the kind's table committed since Open: what the database really holds of this export.
    qint64 RowsCommitted(int kind) const { return IsValueArchive(kind) ? m_committed[kind] : 0; }
    // Whether a failure hit the database as a whole (full disk, lost connection, a failed commit) rather
    // than one record: nothing more can be written in this session.
    bool Broken() const { return m_broken; }

private:
    struct PendingRow {
        ArchiveKind kind;
        QVariantList values;
    };

    bool Connect(const DatabaseTarget& target);
    bool PrepareTable(ArchiveKind kind, const QStringList& tables);
    bool Execute(const QString& sql);
    // The rows `select` finds between the two dates' texts, with a failure stored as every look-up does.
    bool ReadRows(int kind, const TChronoArch& from, const TChronoArch& to,
                  const std::function<bool(const QString&, const QString&, QSqlError*)>& select);
    // The date's text for a kind with a table, on an open database; empty (the failure stored) otherwise.
    QString UsableDate(int kind, const DateTimeStamp& date);
    bool CommitIfDue();
    bool Commit();
    bool BeginIfNeeded();
    bool WriteEachRow(int kind, const std::vector<QVariantList>& rows, qint64* added);
    // After a failed statement: a fresh transaction with the pending rows in it again.
    void Recover();
    void Fail(const QSqlError& error);
    void Fail(std::uint16_t code, const QString& text);
    // After a failed Open: the SQLite file this Open made is removed, so no empty database is left.
    void RemoveMadeFile();

    QString m_connectionName;
    QSqlDatabase m_database;
    DatabaseTarget::Engine m_engine = DatabaseTarget::Engine::kSqlite;
    std::array<std::unique_ptr<ArchiveTable>, kValueArchiveCount> m_tables;
    bool m_open = false;
    bool m_inTransaction = false;
    std::vector<PendingRow> m_pending;
    QElapsedTimer m_sinceCommit;
    qint64 m_rowsWritten = 0;
    std::array<qint64, kValueArchiveCount> m_committed{};
    bool m_broken = false;
    QString m_madeFile;
    bool m_lastCallFailed = false;
    std::uint16_t m_failure = kDatabaseNoFailure;
    QString m_failureText;
};

// The date as the Date column holds it: "yyyy-MM-dd hh:mm:ss" with the year byte + 2000; empty when
// the calendar has no such date.
QString DatabaseDateText(const DateTimeStamp& date);
