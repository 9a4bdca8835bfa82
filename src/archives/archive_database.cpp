#include "archives/archive_database.h"

#include "archives/archive_range.h"
#include "archives/archive_row_record.h"
#include "archives/archive_table.h"
#include "archives/database_connection.h"
#include "archives/database_schema.h"
#include "archives/sqlite_journal.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <atomic>

namespace {

constexpr std::size_t kRowsPerTransaction = 500;
constexpr qint64 kMaxTransactionMs = 1000;
// The longest stretch of dates StoredHours first counts (an export's block of hours).
constexpr std::int64_t kWholeStretchHours = 1000;

QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("zt5-archive-%1").arg(++counter);
}

// The low 16 bits of the engine's numeric code; the error class when the engine names none by number
// (PostgreSQL's are five-character states).
std::uint16_t FailureCode(const QSqlError& error)
{
    bool numeric = false;
    const int native = error.nativeErrorCode().toInt(&numeric);
    if (numeric && (native & 0xFFFF) != 0)
        return std::uint16_t(native & 0xFFFF);
    return error.type() == QSqlError::NoError ? std::uint16_t(QSqlError::UnknownError) : std::uint16_t(error.type());
}

}  // namespace

QString DatabaseDateText(const DateTimeStamp& date)
{
    const int year = date.year + kBaseYear;
    if (!QDate::isValid(year, date.month, date.day) || date.hour > 23 || date.minute > 59 || date.second > 59)
        return {};
    // Digit by digit: every stored date a block looks up goes through here, and asprintf's reading of its
    // format cost more than the look-up's query.
    char text[] = "yyyy-MM-dd hh:mm:ss";
    const auto put = [&text](int at, int value, int digits) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            text[i] = char('0' + value % 10);
    };
    put(0, year, 4);
    put(5, date.month, 2);
    put(8, date.day, 2);
    put(11, date.hour, 2);
    put(14, date.minute, 2);
    put(17, date.second, 2);
    return QString::fromLatin1(text, sizeof text - 1);
}

ArchiveDatabase::ArchiveDatabase() : m_connectionName(NextConnectionName()) {}

ArchiveDatabase::~ArchiveDatabase()
{
    Close();
}

bool ArchiveDatabase::Open(const DatabaseTarget& target)
{
    Close();
    m_engine = target.engine;
    m_committed.fill(0);
    m_broken = false;
    m_madeFile.clear();
    if (target.engine == DatabaseTarget::Engine::kSqlite && !QFileInfo::exists(target.path))
        m_madeFile = target.path;
    bool opened = Connect(target);
    const QStringList tables = opened ? m_database.tables(QSql::Tables) : QStringList();
    for (int kind = 0; opened && kind < kValueArchiveCount; ++kind)
        opened = PrepareTable(ArchiveKind(kind), tables);
    if (!opened) {
        Close();
        RemoveMadeFile();
        return false;
    }
    return true;
}

bool ArchiveDatabase::Connect(const DatabaseTarget& target)
{
    if (!QSqlDatabase::isDriverAvailable(DatabaseDriverName(target))) {
        Fail(kDatabaseNoDriver,
             QString::fromUtf8("Драйвер базы данных %1 не установлен").arg(DatabaseDriverName(target)));
        return false;
    }
    if (target.engine == DatabaseTarget::Engine::kSqlite) {
        const QFileInfo file(target.path);
        if (!QDir().mkpath(file.absolutePath())) {
            Fail(kDatabaseNoFolder, QString::fromUtf8("Не удалось создать папку %1").arg(file.absolutePath()));
            return false;
        }
    }
    m_database = AddDatabaseConnection(target, m_connectionName);
    if (!m_database.open()) {
        Fail(m_database.lastError());
        return false;
    }
    m_open = true;
    if (target.engine == DatabaseTarget::Engine::kSqlite)
        SetSqliteJournal(m_database, JournalForPath(target.path));
    QString error;
    if (!RunConnectionSetup(m_database, &error)) {
        Fail(kDatabaseNotOpen, error);
        return false;
    }
    return true;
}

bool ArchiveDatabase::PrepareTable(ArchiveKind kind, const QStringList& tables)
{
    const QString name = ArchiveTableName(kind);
    const bool made = !tables.contains(name);
    // Another writer (a second collector) may make the table at the same moment: its table will do.
    if (made && !Execute(CreateTableSql(m_engine, kind)) && !m_database.tables(QSql::Tables).contains(name))
        return false;
    QSqlError error;
    m_tables[kind] = std::make_unique<ArchiveTable>();
    if (!m_tables[kind]->Open(m_database, kind, &error)) {
        Fail(error);
        return false;
    }
    // A table that was here gets the unique index too: it may be another writer's, made a moment ago and
    // still without its index, and a plain index taking the name first would leave both writers unguarded.
    // Only a table that lacks the key columns or holds duplicates goes with a plain index, or none.
    if (!made) {
        if (!QSqlQuery(m_database).exec(CreateSerialDateIndexSql(kind, true)))
            QSqlQuery(m_database).exec(CreateSerialDateIndexSql(kind, false));
        return true;
    }
    // The same race for the index: once the other writer's index is there, IF NOT EXISTS finds it.
    return Execute(CreateSerialDateIndexSql(kind, true)) || Execute(CreateSerialDateIndexSql(kind, true));
}

bool ArchiveDatabase::Execute(const QString& sql)
{
    QSqlQuery query(m_database);
    if (query.exec(sql))
        return true;
    Fail(query.lastError());
    return false;
}

bool ArchiveDatabase::Exists(int kind, std::uint32_t serial, const DateTimeStamp& date)
{
    m_lastCallFailed = false;
    if (!IsValueArchive(kind))
        return false;
    m_lastCallFailed = true;
    const QString text = UsableDate(kind, date);
    if (text.isEmpty())
        return false;
    QSqlError error;
    const std::optional<bool> found = m_tables[kind]->Exists(std::int32_t(serial), text, &error);
    if (!found) {
        Fail(error);
        m_broken = true;
        Recover();
        return false;
    }
    m_lastCallFailed = false;
    return *found;
}

bool ArchiveDatabase::Write(int kind, std::span<const std::uint8_t> record, std::uint32_t serial,
                            const DateTimeStamp& date)
{
    const QString text = UsableDate(kind, date);
    if (text.isEmpty())
        return false;
    ArchiveTable& table = *m_tables[kind];
    PendingRow row{ArchiveKind(kind), table.RowValues(record, std::int32_t(serial), text)};
    if (!BeginIfNeeded())
        return false;
    QSqlError error;
    if (!table.Insert(row.values, &error)) {
        Fail(error);
        // Only a row another writer stored first is this record's own trouble.
        if (!IsDuplicateRowError(error))
            m_broken = true;
        Recover();
        return false;
    }
    m_pending.push_back(std::move(row));
    ++m_rowsWritten;
    return CommitIfDue();
}

bool ArchiveDatabase::ReadRange(int kind, std::uint32_t serial, const TChronoArch& from, const TChronoArch& to,
                                std::vector<RangeRecord>* records)
{
    return ReadRows(kind, from, to, [&](const QString& first, const QString& last, QSqlError* error) {
        return m_tables[kind]->SelectRange(std::int32_t(serial), first, last, records, error);
    });
}

bool ArchiveDatabase::ReadTotals(std::uint32_t serial, const TChronoArch& from, const TChronoArch& to,
                                 std::vector<TotalsRecord>* records)
{
    return ReadRows(kArchiveTotals, from, to, [&](const QString& first, const QString& last, QSqlError* error) {
        return m_tables[kArchiveTotals]->SelectTotals(std::int32_t(serial), first, last, records, error);
    });
}

bool ArchiveDatabase::ReadSerials(int kind, const TChronoArch& from, const TChronoArch& to,
                                  std::vector<std::uint32_t>* serials)
{
    return ReadRows(kind, from, to, [&](const QString& first, const QString& last, QSqlError* error) {
        std::vector<std::int32_t> found;
        if (!m_tables[kind]->SerialsBetween(first, last, &found, error))
            return false;
        for (std::int32_t serial : found)
            serials->push_back(std::uint32_t(serial));
        return true;
    });
}

bool ArchiveDatabase::ReadRows(int kind, const TChronoArch& from, const TChronoArch& to,
                               const std::function<bool(const QString&, const QString&, QSqlError*)>& select)
{
    m_lastCallFailed = true;
    const QString first = UsableDate(kind, StampOf(from, 0, 0));
    const QString last = UsableDate(kind, StampOf(to, 59, 59));
    if (first.isEmpty() || last.isEmpty())
        return false;
    QSqlError error;
    if (!select(first, last, &error)) {
        Fail(error);
        Recover();
        return false;
    }
    m_lastCallFailed = false;
    return true;
}

QString ArchiveDatabase::UsableDate(int kind, const DateTimeStamp& date)
{
    if (!IsValueArchive(kind) || !m_open) {
        Fail(kDatabaseNotOpen, QString());
        return {};
    }
    const QString text = DatabaseDateText(date);
    if (text.isEmpty())
        Fail(kDatabaseBadDate, QString());
    return text;
}

bool ArchiveDatabase::BeginIfNeeded()
{
    if (m_inTransaction)
        return true;
    if (!m_database.transaction()) {
        Fail(m_database.lastError());
        m_broken = true;
        return false;
    }
    m_inTransaction = true;
    m_sinceCommit.start();
    return true;
}

bool ArchiveDatabase::CommitIfDue()
{
    if (m_pending.size() < kRowsPerTransaction && m_sinceCommit.elapsed() < kMaxTransactionMs)
        return true;
    return Commit();
}

bool ArchiveDatabase::StoredHours(int kind, std::uint32_t serial, const DateTimeStamp& from, const DateTimeStamp& to,
                                  std::set<QString>* hours)
{
    m_lastCallFailed = true;
    const QString first = UsableDate(kind, from);
    const QString last = UsableDate(kind, to);
    if (first.isEmpty() || last.isEmpty())
        return false;
    QSqlError error;
    // A stretch of hours the table holds whole (a complete database, in the hourly archive) is told by a
    // count: its few thousand dates then never leave the engine.
    const std::int64_t span = std::int64_t(HourDifference(ChronoOf(to), ChronoOf(from))) + 1;
    if (m_engine == DatabaseTarget::Engine::kSqlite && span > 1 && span <= kWholeStretchHours) {
        const std::optional<qint64> count = m_tables[kind]->CountStoredHours(std::int32_t(serial), first, last, &error);
        if (count && *count == span) {
            for (TChronoArch hour = ChronoOf(from); HourDifference(hour, ChronoOf(to)) <= 0; hour = NextHour(hour))
                hours->insert(HourKeyText(StampOf(hour)));
            m_lastCallFailed = false;
            return true;
        }
    }
    if (!m_tables[kind]->StoredHours(std::int32_t(serial), first, last, hours, &error)) {
        Fail(error);
        m_broken = true;
        Recover();
        return false;
    }
    m_lastCallFailed = false;
    return true;
}

QVariantList ArchiveDatabase::RowOf(int kind, std::span<const std::uint8_t> record, std::uint32_t serial,
                                    const DateTimeStamp& date)
{
    const QString text = UsableDate(kind, date);
    return text.isEmpty() ? QVariantList() : m_tables[kind]->RowValues(record, std::int32_t(serial), text);
}

bool ArchiveDatabase::WriteBlock(int kind, const std::vector<QVariantList>& rows, qint64* added)
{
    *added = 0;
    if (!IsValueArchive(kind) || !m_open) {
        Fail(kDatabaseNotOpen, QString());
        return false;
    }
    if (m_engine == DatabaseTarget::Engine::kSqlite)
        return WriteEachRow(kind, rows, added);
    // Rows of single writes go first, in their own transaction.
    if (m_inTransaction && !Commit())
        return false;
    QSqlError error;
    if (!m_tables[kind]->InsertArrays(rows, added, &error)) {
        Fail(error);
        m_broken = true;
        return false;
    }
    m_committed[kind] += *added;
    m_rowsWritten += *added;
    return true;
}

// SQLite has no server to reach: the rows go through a prepared statement (no text to make and read
// back), in one transaction committed with the block, so that other writers of the file (the other
// lines of a collector) are not locked out while the next block is read off the meter.
bool ArchiveDatabase::WriteEachRow(int kind, const std::vector<QVariantList>& rows, qint64* added)
{
    for (const QVariantList& values : rows) {
        if (!BeginIfNeeded())
            return false;
        bool isNew = false;
        QSqlError error;
        if (!m_tables[kind]->InsertOrIgnore(values, &isNew, &error)) {
            Fail(error);
            m_broken = true;
            Recover();
            return false;
        }
        if (isNew) {
            m_pending.push_back(PendingRow{ArchiveKind(kind), values});
            ++m_rowsWritten;
            ++*added;
        }
    }
    return Flush();
}

bool ArchiveDatabase::Flush()
{
    return !m_inTransaction || Commit();
}

bool ArchiveDatabase::NewestDates(std::uint32_t serial,
                                  std::array<std::optional<DateTimeStamp>, kValueArchiveCount>* newest)
{
    newest->fill(std::nullopt);
    if (!m_open) {
        Fail(kDatabaseNotOpen, QString());
        return false;
    }
    QStringList parts;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        if (m_tables[kind]->HasKeys())
            parts << QStringLiteral("SELECT %1, MAX(\"Date\") FROM %2 WHERE \"Serial\" = %3")
                         .arg(kind)
                         .arg(QuoteIdentifier(ArchiveTableName(ArchiveKind(kind))))
                         .arg(std::int32_t(serial));
    }
    if (parts.isEmpty())
        return true;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!query.exec(parts.join(QStringLiteral(" UNION ALL ")))) {
        Fail(query.lastError());
        m_broken = true;
        Recover();
        return false;
    }
    while (query.next()) {
        const int kind = query.value(0).toInt();
        if (IsValueArchive(kind) && !query.value(1).isNull())
            (*newest)[kind] = StampOfDatabaseDate(query.value(1));
    }
    return true;
}

bool ArchiveDatabase::Commit()
{
    m_inTransaction = false;
    m_sinceCommit.start();
    if (m_database.commit()) {
        for (const PendingRow& row : m_pending)
            ++m_committed[row.kind];
        m_pending.clear();
        return true;
    }
    Fail(m_database.lastError());
    m_broken = true;
    m_database.rollback();
    m_rowsWritten -= qint64(m_pending.size());
    m_pending.clear();
    return false;
}

void ArchiveDatabase::Recover()
{
    if (!m_inTransaction)
        return;
    m_database.rollback();
    m_inTransaction = m_database.transaction();
    for (const PendingRow& row : m_pending) {
        QSqlError ignored;
        if (!m_tables[row.kind]->Insert(row.values, &ignored)) {
            // The connection itself is gone: what was pending cannot be kept.
            m_broken = true;
            m_database.rollback();
            m_inTransaction = m_database.transaction();
            m_rowsWritten -= qint64(m_pending.size());
            m_pending.clear();
            return;
        }
    }
}

bool ArchiveDatabase::Close()
{
    bool committed = true;
    if (m_open) {
        if (m_inTransaction)
            committed = Commit();
        for (auto& table : m_tables)
            table.reset();
        m_database.close();
        m_open = false;
    }
    if (m_database.isValid() || QSqlDatabase::contains(m_connectionName)) {
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    return committed;
}

void ArchiveDatabase::RemoveMadeFile()
{
    if (m_madeFile.isEmpty())
        return;
    QFile::remove(m_madeFile);
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(m_madeFile + QLatin1String(suffix));
    m_madeFile.clear();
}

std::uint16_t ArchiveDatabase::TakeLastFailure()
{
    const std::uint16_t code = m_failure;
    m_failure = kDatabaseNoFailure;
    return code;
}

void ArchiveDatabase::Fail(const QSqlError& error)
{
    Fail(FailureCode(error), error.text());
}

void ArchiveDatabase::Fail(std::uint16_t code, const QString& text)
{
    m_failure = code;
    m_failureText = text;
}
