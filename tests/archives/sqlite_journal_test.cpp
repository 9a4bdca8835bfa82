// The SQLite archive database's journal on real files: on a local file system a reader (the trends
// page) reads while a writer (a collector) commits, and a file turned to WAL goes back to the rollback
// journal where the file system is a network one.

#include "archives/archive_database.h"
#include "archives/archive_range.h"
#include "archives/database_connection.h"
#include "archives/sqlite_journal.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <linux/magic.h>

#include <vector>

namespace {

constexpr std::uint32_t kSerial = 170001;

QString Pragma(QSqlDatabase& database, const char* name)
{
    QSqlQuery query(database);
    return query.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) && query.next() ? query.value(0).toString()
                                                                                            : QString();
}

// `count` hourly rows of zeroed records from `first` on, stored as one block.
bool WriteHours(ArchiveDatabase& database, TChronoArch first, int count)
{
    const std::vector<std::uint8_t> record(256, 0);
    std::vector<QVariantList> rows;
    for (int i = 0; i < count; ++i, first = NextHour(first))
        rows.push_back(database.RowOf(kArchiveHourly, record, kSerial, StampOf(first)));
    qint64 added = 0;
    return database.WriteBlock(kArchiveHourly, rows, &added) && added == count;
}

}  // namespace

TEST(SqliteJournal, AReaderReadsWhileAWriterCommitsAndANetworkFileKeepsTheRollbackJournal)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    ASSERT_EQ(JournalForPath(target.path), SqliteJournal::kWriteAheadLog);
    ArchiveDatabase writer;
    ASSERT_TRUE(writer.Open(target));
    EXPECT_EQ(Pragma(writer.Connection(), "journal_mode"), QStringLiteral("wal"));
    EXPECT_EQ(Pragma(writer.Connection(), "synchronous"), QStringLiteral("1"));  // NORMAL
    const TChronoArch day{1, 3, 24, 0};
    ASSERT_TRUE(WriteHours(writer, day, 24));

    // The reader stops in the middle of its rows, its read open; the writer commits the next day meanwhile
    // (with the rollback journal the commit would wait for the reader and give up "database is locked").
    ArchiveDatabase reader;
    ASSERT_TRUE(reader.Open(target));
    QSqlQuery reading(reader.Connection());
    reading.setForwardOnly(true);
    ASSERT_TRUE(reading.exec(QStringLiteral("SELECT \"Date\" FROM \"ZT5_Arch_Values_Hour\" ORDER BY \"Date\"")));
    ASSERT_TRUE(reading.next());
    EXPECT_TRUE(WriteHours(writer, TChronoArch{2, 3, 24, 0}, 24)) << writer.LastFailureText().toStdString();
    // The reader goes on with what was there when it began.
    int seen = 1;
    while (reading.next())
        ++seen;
    EXPECT_EQ(seen, 24);
    reading.finish();
    std::vector<RangeRecord> records;
    ASSERT_TRUE(reader.ReadRange(kArchiveHourly, kSerial, day, TChronoArch{2, 3, 24, 23}, &records));
    EXPECT_EQ(records.size(), 48u);
    reader.Close();
    writer.Close();

    // A file made in WAL mode on a local disk and now on a network share goes back to the rollback journal.
    EXPECT_EQ(JournalForFileSystem(NFS_SUPER_MAGIC), SqliteJournal::kRollback);
    EXPECT_EQ(JournalForFileSystem(long(CIFS_SUPER_MAGIC)), SqliteJournal::kRollback);
    {
        QSqlDatabase plain = AddDatabaseConnection(target, QStringLiteral("journal-test"));
        ASSERT_TRUE(plain.open());
        EXPECT_EQ(Pragma(plain, "journal_mode"), QStringLiteral("wal"));
        SetSqliteJournal(plain, SqliteJournal::kRollback);
        EXPECT_EQ(Pragma(plain, "journal_mode"), QStringLiteral("delete"));
        plain.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journal-test"));
    EXPECT_FALSE(QFile::exists(target.path + QStringLiteral("-wal")));
}
