#include "archives/sqlite_journal.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <sys/vfs.h>

namespace {

// statfs(2) f_type of the network file systems (linux/magic.h).
constexpr long kNfs = 0x6969;
constexpr long kSmb = 0x517B;
constexpr long kCifs = 0xFF534D42;
constexpr long kSmb2 = 0xFE534D42;

// Runs a journal_mode pragma; the mode the file has afterwards, empty when it failed.
QString JournalMode(QSqlDatabase& database, const QString& pragma)
{
    QSqlQuery query(database);
    return query.exec(pragma) && query.next() ? query.value(0).toString().toLower() : QString();
}

}  // namespace

SqliteJournal JournalForFileSystem(long fileSystemType)
{
    switch (fileSystemType) {
        case kNfs:
        case kSmb:
        case kCifs:
        case kSmb2:
            return SqliteJournal::kRollback;
        default:
            return SqliteJournal::kWriteAheadLog;
    }
}

SqliteJournal JournalForPath(const QString& path)
{
    struct statfs system {};
    const QByteArray folder = QFileInfo(path).absolutePath().toLocal8Bit();
    if (::statfs(folder.constData(), &system) != 0)
        return SqliteJournal::kWriteAheadLog;
    // f_type is unsigned on some ABIs: compare its low 32 bits.
    return JournalForFileSystem(long(static_cast<unsigned long>(system.f_type) & 0xFFFFFFFFul));
}

void SetSqliteJournal(QSqlDatabase& database, SqliteJournal journal)
{
    if (journal == SqliteJournal::kWriteAheadLog) {
        // NORMAL is safe only with the log: with the rollback journal a power cut could damage the file.
        if (JournalMode(database, QStringLiteral("PRAGMA journal_mode=WAL")) == QLatin1String("wal"))
            QSqlQuery(database).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        return;
    }
    if (JournalMode(database, QStringLiteral("PRAGMA journal_mode")) == QLatin1String("wal"))
        JournalMode(database, QStringLiteral("PRAGMA journal_mode=DELETE"));
}
