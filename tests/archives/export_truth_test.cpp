// What a whole-archive export says it did must be what the database holds: a database that fills up in
// the middle, an archive a bad line cuts short. The summary counts only committed rows, names the
// archive that stopped and where, and the export is then no success.

#include "archives/archive_database.h"
#include "archives/database_connection.h"
#include "support/export_rig.h"
#include "support/table_checks.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace {

// Every connection the archive database opens gets an SQLite page limit: a disk of that size.
class PageLimit {
public:
    explicit PageLimit(int pages) { SetConnectionSetup({QStringLiteral("PRAGMA max_page_count = %1").arg(pages)}); }
    ~PageLimit() { SetConnectionSetup({}); }
    PageLimit(const PageLimit&) = delete;
    PageLimit& operator=(const PageLimit&) = delete;
};

qint64 StoredRows(const DatabaseTarget& target, int kind)
{
    TestConnection db(target);
    return db.Count(ArchiveKind(kind));
}

void ExpectCountsAreTheTables(const ExportCounts& counts, const DatabaseTarget& target)
{
    qint64 written = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const ArchiveExportCount& archive = counts.archives[kind];
        EXPECT_EQ(archive.written + archive.skipped, StoredRows(target, kind)) << kind;
        EXPECT_EQ(archive.written + archive.skipped + archive.NotStored(), archive.total) << kind;
        EXPECT_EQ(archive.cutShort, archive.NotStored() > 0) << kind;
        written += archive.written;
    }
    EXPECT_EQ(counts.written, written);
}

}  // namespace

TEST(ExportTruth, FullDatabaseEndsTheExportAndCountsOnlyWhatIsStored)
{
    QTemporaryDir folder;
    const DatabaseTarget target = SqliteIn(folder);
    // Fifteen days: the hourly archive is stored in two blocks.
    ExportRig rig(15);
    std::int64_t total = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        total += std::int64_t(rig.MeterRecords(ArchiveKind(kind)).size());
    {
        // Room for the tables and the first block of hourly rows: the second does not fit.
        const PageLimit limit(45);
        EXPECT_FALSE(rig.Export(target));
    }
    const ExportCounts counts = rig.extension.LastCounts();
    EXPECT_GT(counts.written, 0);
    EXPECT_LT(counts.written, total);
    ExpectCountsAreTheTables(counts, target);
    EXPECT_TRUE(counts.archives[kArchiveHourly].cutShort);
    EXPECT_TRUE(counts.archives[kArchiveHourly].stoppedAtKnown);
    // The export ended with the database: the archives after it were not even begun.
    EXPECT_EQ(counts.archives[kArchiveTotals].skipped + counts.archives[kArchiveTotals].written, 0);

    const QStringList boxes = rig.rig.BoxTexts();
    ASSERT_EQ(boxes.size(), 1) << qPrintable(boxes.join(u'\n'));
    EXPECT_TRUE(boxes[0].startsWith(QString::fromUtf8("Ошибка записи в базу данных (0x000D)!\n")))
        << qPrintable(boxes[0]);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("database or disk is full"))) << qPrintable(boxes[0]);
    EXPECT_EQ(rig.rig.LastOperationText(), QString::fromUtf8("Операция завершена НЕ успешно!"));
    const QString text = ExportCountsText(counts);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Записано: %1\n").arg(counts.written))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Часовой архив: записано %1").arg(counts.archives[0].written)))
        << qPrintable(text);

    // With room again the next export adds the rest, each record once.
    ASSERT_TRUE(rig.Export(target)) << qPrintable(rig.rig.BoxTexts().join(u'\n'));
    EXPECT_EQ(rig.extension.LastCounts().skipped, counts.written);
    TestConnection db(target);
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        ExpectTableMatchesMeter(db, ArchiveKind(kind), rig.MeterRecords(ArchiveKind(kind)), kMeterSerial);
}

TEST(ExportTruth, DatabaseThatCannotBeMadeLeavesNoFileBehind)
{
    QTemporaryDir folder;
    const DatabaseTarget target = SqliteIn(folder);
    {
        // Not even room for the tables.
        const PageLimit limit(1);
        ArchiveDatabase database;
        EXPECT_FALSE(database.Open(target));
        EXPECT_NE(database.TakeLastFailure(), kDatabaseNoFailure);
        EXPECT_TRUE(database.LastFailureText().contains(QStringLiteral("full")))
            << qPrintable(database.LastFailureText());
    }
    EXPECT_FALSE(QFile::exists(target.path));
    EXPECT_FALSE(QFile::exists(target.path + QStringLiteral("-journal")));

    // A file that was there stays, though it could not be used.
    QFile foreign(target.path);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray(4096, 'Z'));
    foreign.close();
    ArchiveDatabase database;
    EXPECT_FALSE(database.Open(target));
    EXPECT_TRUE(QFile::exists(target.path));
}

TEST(ExportTruth, ArchiveCutShortByTheLineIsToldWithWhereItStopped)
{
    QTemporaryDir folder;
    const DatabaseTarget target = SqliteIn(folder);
    RigOptions options = ExportRigOptions(3);
    options.timeoutSec = 1;
    ExportRig rig(options);
    rig.rig.driver.SetTimeoutUnitMs(kTimeoutUnitMs);
    const std::vector<MeterRecord> hourly = rig.MeterRecords(kArchiveHourly);
    ASSERT_GT(hourly.size(), 40u);

    // After 30 records every attempt at the next one goes unanswered: the hourly archive stops there,
    // the others are exported whole.
    rig.progress.onRecord = [&](std::int64_t done, std::int64_t) {
        if (done == 30) {
            std::lock_guard<std::mutex> lock(rig.rig.meter.Lock());
            rig.rig.meter.Faults().SetRule(FaultKind::Drop, FaultRule{0.0, 2});
        }
    };
    EXPECT_FALSE(rig.Export(target));
    rig.progress.onRecord = nullptr;
    EXPECT_EQ(rig.rig.LastOperationText(), QString::fromUtf8("Операция завершена НЕ успешно!"));

    const ExportCounts counts = rig.extension.LastCounts();
    ExpectCountsAreTheTables(counts, target);
    const ArchiveExportCount& hours = counts.archives[kArchiveHourly];
    EXPECT_EQ(hours.written, 30);
    EXPECT_TRUE(hours.cutShort);
    ASSERT_TRUE(hours.stoppedAtKnown);
    for (int kind = kArchiveDaily; kind < kValueArchiveCount; ++kind)
        EXPECT_FALSE(counts.archives[kind].cutShort) << kind;
    const QString text = ExportCountsText(counts);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nЧасовой архив: записано 30, уже были в базе 0, не записано %1 "
                                             "(остановлено на %2)")
                                  .arg(hours.total - 30)
                                  .arg(StampText(hours.stoppedAt))))
        << qPrintable(text);
    // The record the walk stopped at is the one after the last stored.
    EXPECT_EQ(DatabaseDateText(hours.stoppedAt), hourly[30].date);

    // The rerun continues where the first one stopped.
    ASSERT_TRUE(rig.Export(target)) << qPrintable(rig.rig.BoxTexts().join(u'\n'));
    EXPECT_EQ(rig.extension.LastCounts().archives[kArchiveHourly].written, hours.total - 30);
    TestConnection db(target);
    ExpectTableMatchesMeter(db, kArchiveHourly, hourly, kMeterSerial);
}
