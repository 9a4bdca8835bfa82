// zt5ctl collect and what the meters' dates tell, against simulated meters into real SQLite files and
// the test run's PostgreSQL: every gap of a database filled, records dated ahead of the computer's clock
// stored and named, records a ring overwrote before they were read counted, and a runs table of an
// older layout written into.

#include "cli/cli_process.h"
#include "cli/collect_rig.h"
#include "sim/meter_archives.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {

CliRun Collect(const CollectRig& rig, const QString& database)
{
    return RunZt5Ctl(QStringList{QStringLiteral("collect")} + rig.Place(database), 60000);
}

QString HourText(const QDateTime& time)
{
    return time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

// Three meters of ten, two and two days up to 26.02.2024 12:00, the second of them years ahead instead:
//   - "С пробелами": two days in the middle are stored first, as the trends page or a period table stores
//     them; the collector fills the older and the newer hours around them;
//   - "Часы спешат": its records are stored and named; once its clock is set right (the archive starts
//     again at the right time) the records of now are read, though the future ones are the newest stored;
//   - "Кольцо": 200 days later its hourly ring holds only its last 4416 hours; the hours between the
//     newest stored one and its first record are told as lost.
// The database starts with the runs table of an older program, which gets the later columns.
TEST(CliCollectGaps, EveryGapFilledRecordsAheadOfTheClockNamedOverwrittenOnesCounted)
{
    const int aheadYear = QDate::currentDate().year() + 2;
    SimProcess holes(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 5001, 10));
    SimProcess ahead(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 5002)
                     + QStringList{QStringLiteral("--archive-end"), QStringLiteral("%1-06-01T12").arg(aheadYear)});
    SimProcess ring(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 5003));
    ASSERT_FALSE(holes.Place().isEmpty());
    ASSERT_FALSE(ahead.Place().isEmpty());
    ASSERT_FALSE(ring.Place().isEmpty());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("С пробелами"), holes.Place());
    rig.AddTcpNode(QStringLiteral("Часы спешат"), ahead.Place());
    rig.AddTcpNode(QStringLiteral("Кольцо"), ring.Place());
    ASSERT_TRUE(rig.Save());
    const DatabaseTarget target = TargetOf(rig.SqliteTarget());

    const CliRun period = RunZt5Ctl(
        QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                    QStringLiteral("2024-02-20"), QStringLiteral("--to"), QStringLiteral("2024-02-21"),
                    QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--tcp"), holes.Place()}
        + rig.Place(rig.SqliteTarget()));
    ASSERT_EQ(period.exitCode, 0) << period.err.toStdString();
    ASSERT_EQ(CountRows(target, kHourTable, 5001).rows, 48);
    ASSERT_TRUE(ExecuteSql(target, QLatin1String(kFirstCollectRunsSql)));

    const CliRun first = Collect(rig, rig.SqliteTarget());
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    // Ten days of hours, 16.02.2024 13:00 to 26.02.2024 12:00, each once.
    const TableCounts filled = CountRows(target, kHourTable, 5001);
    EXPECT_EQ(filled.rows, 240);
    EXPECT_EQ(filled.distinctDates, 240);
    EXPECT_EQ(filled.spanHours, 240);
    const qint64 aheadRecords = StoredRecords(target, 5002);
    EXPECT_GT(aheadRecords, 48);
    EXPECT_TRUE(first.out.contains(QStringLiteral("Узел Часы спешат: в приборе есть записи с датами позже часов "
                                                  "компьютера более чем на сутки: %1, последняя 01.06.%2 12:00:00\n")
                                       .arg(aheadRecords)
                                       .arg(aheadYear)))
        << first.out.toStdString();
    EXPECT_FALSE(first.out.contains(QStringLiteral("Узел С пробелами"))) << first.out.toStdString();
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Часы спешат"), QStringLiteral("NewestFutureDate")),
              QStringList{QStringLiteral("%1-06-01 12:00:00").arg(aheadYear)});
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Кольцо"), QStringLiteral("NewestFutureDate")),
              QStringList{QStringLiteral("NULL")});

    // The meter's clock set right; the ring meter 200 days on.
    const QDateTime ringEnd(QDate(2024, 9, 13), QTime(12, 0), Qt::UTC);
    SimProcess setRight(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 5002));
    SimProcess ringLater(
        SimMeterArguments(QStringLiteral("127.0.0.1:0"), 5003, 200)
        + QStringList{QStringLiteral("--archive-end"), ringEnd.toString(QStringLiteral("yyyy-MM-ddTHH"))});
    CollectRig later;
    later.AddTcpNode(QStringLiteral("Часы спешат"), setRight.Place());
    later.AddTcpNode(QStringLiteral("Кольцо"), ringLater.Place());
    ASSERT_TRUE(later.Save());
    const CliRun second = Collect(later, rig.SqliteTarget());
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const TableCounts both = CountRows(target, kHourTable, 5002);
    EXPECT_EQ(both.rows, 96);
    EXPECT_EQ(both.distinctDates, 96);
    EXPECT_FALSE(second.out.contains(QStringLiteral("позже часов компьютера"))) << second.out.toStdString();

    const int capacity = MeterArchives::kCapacity[kArchiveHourly];
    const QDateTime ringFirst = ringEnd.addSecs(-3600LL * (capacity - 1));
    const QDateTime stored(QDate(2024, 2, 26), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(second.out.section(u'\n', 2),
              QStringLiteral("Узел Кольцо: часовой архив: в приборе перезаписаны до чтения %1 ч, с %2 по %3\n")
                  .arg(stored.secsTo(ringFirst) / 3600 - 1)
                  .arg(HourText(stored.addSecs(3600)), HourText(ringFirst.addSecs(-3600))));
    const TableCounts ringHours = CountRows(target, kHourTable, 5003);
    EXPECT_EQ(ringHours.rows, 48 + capacity);
    EXPECT_EQ(ringHours.distinctDates, ringHours.rows);
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Кольцо"), QStringLiteral("Notes")).join(u'|'),
              QStringLiteral("NULL|") + second.out.section(u'\n', 2, 2).section(QStringLiteral(": "), 1));
}

// A runs table of an older program that the collector's user may write but not alter (another role owns
// it): the rows go with the columns it has. Once the user owns it, the later columns are added.
TEST_F(PostgresqlCollect, OlderRunsTableGetsTheLaterColumnsOrTheRowsThatFit)
{
    SimProcess meter(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 6001, 1));
    ASSERT_FALSE(meter.Place().isEmpty());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Старая таблица"), meter.Place(), 1, 2, 6000);
    ASSERT_TRUE(rig.Save());
    AsSuperuser(QLatin1String(kFirstCollectRunsSql));
    AsSuperuser(QStringLiteral("GRANT SELECT, INSERT ON \"CollectRuns\" TO \"%1\"").arg(target.user));

    const CliRun fitting = Collect(rig, text);
    EXPECT_EQ(fitting.exitCode, 0) << fitting.err.toStdString();
    EXPECT_EQ(CollectRunRows(target),
              QStringList{QStringLiteral("Старая таблица|6001|%1|0|").arg(StoredRecords(target, 6001))});
    EXPECT_TRUE(CollectRunValues(target, QStringLiteral("Старая таблица"), QStringLiteral("NodeSerial")).isEmpty());

    AsSuperuser(QStringLiteral("ALTER TABLE \"CollectRuns\" OWNER TO \"%1\"").arg(target.user));
    const CliRun altered = Collect(rig, text);
    EXPECT_EQ(altered.exitCode, 0) << altered.err.toStdString();
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Старая таблица"), QStringLiteral("NodeSerial")),
              (QStringList{QStringLiteral("6000"), QStringLiteral("NULL")}));
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Старая таблица"), QStringLiteral("Notes")),
              (QStringList{QStringLiteral("NULL"), QStringLiteral("заводской номер прибора 6001, в базе узлов 6000")}));
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Старая таблица"), QStringLiteral("NewestFutureDate")),
              (QStringList{QStringLiteral("NULL"), QStringLiteral("NULL")}));
}

}  // namespace
