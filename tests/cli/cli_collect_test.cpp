// zt5ctl collect as the nightly timer runs it, against simulated meters: lines side by side, a line
// shared by two nodes, a silent meter that fails alone, meters known by their own factory numbers, a
// run stopped by SIGINT and resumed without a record twice, every gap of a database filled, records
// dated ahead of the clock and records the meter overwrote before they were read, two collectors at
// once into PostgreSQL, a runs table of an older layout (those need the test run's server).

#include "cli/cli_process.h"
#include "cli/collect_rig.h"
#include "support/bus_relay.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const QString kDay = QStringLiteral("ZT5_Arch_Values_Day");

QJsonObject Json(const CliRun& run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// Every row once, and the hourly rows one after another without a gap.
void ExpectWholeHours(const DatabaseTarget& target, std::uint32_t serial)
{
    const TableCounts hours = CountRows(target, kHourTable, serial);
    EXPECT_GT(hours.rows, 24) << serial;
    EXPECT_EQ(hours.distinctDates, hours.rows) << serial;
    EXPECT_EQ(hours.spanHours, hours.rows) << serial;
}

// A line shared by two nodes in turn. Here both nodes reach the same meter: the second finds its factory
// number taken by the first in this run and fails before its archives are read, naming both nodes.
// "Котельная 1" holds another number in the node base than its meter gives.
TEST(CliCollect, LinesSideBySideASharedLineInTurnASilentMeterFailsAlone)
{
    SimProcess first(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 1001));
    SimProcess serial(SimMeterArguments(QStringLiteral("pty"), 1002));
    // One client at a time: two meters of one line read at once would find the second connection shut.
    SimProcess shared(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 1003)
                      + QStringList{QStringLiteral("--max-clients"), QStringLiteral("1")});
    ASSERT_FALSE(first.Place().isEmpty());
    ASSERT_FALSE(serial.Place().isEmpty());
    ASSERT_FALSE(shared.Place().isEmpty());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Котельная 1"), first.Place(), 1, 2, 999);
    rig.AddPtyNode(QStringLiteral("ЦТП на RS-232"), serial.Place());
    rig.AddTcpNode(QStringLiteral("Шлюз, прибор А"), shared.Place());
    rig.AddTcpNode(QStringLiteral("Шлюз, прибор Б"), shared.Place());
    // Nobody answers address 9 on the first meter's line.
    rig.AddTcpNode(QStringLiteral("Молчит"), first.Place(), 9, 1);
    ASSERT_TRUE(rig.Save());
    const DatabaseTarget target = TargetOf(rig.SqliteTarget());

    const CliRun run = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("json")}
            + rig.Place(rig.SqliteTarget()),
        60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QJsonObject summary = Json(run);
    EXPECT_EQ(summary[QStringLiteral("meters")].toInt(), 5) << run.out.toStdString();
    EXPECT_EQ(summary[QStringLiteral("meters_ok")].toInt(), 3) << run.out.toStdString();
    EXPECT_EQ(summary[QStringLiteral("meters_failed")].toInt(), 2);
    for (std::uint32_t number : {1001u, 1002u, 1003u})
        ExpectWholeHours(target, number);
    const qint64 perMeter = CountRows(target, kHourTable, 1001).rows + CountRows(target, kDay, 1001).rows;
    EXPECT_EQ(CountRows(target, kHourTable, 1002).rows + CountRows(target, kDay, 1002).rows, perMeter);

    // The second node of the shared line: its meter answered with the number the first one's gave.
    QJsonObject gatewayB;
    QJsonObject boiler;
    for (const QJsonValue& value : summary[QStringLiteral("results")].toArray()) {
        if (value.toObject()[QStringLiteral("node")].toString() == QStringLiteral("Шлюз, прибор Б"))
            gatewayB = value.toObject();
        if (value.toObject()[QStringLiteral("node")].toString() == QStringLiteral("Котельная 1"))
            boiler = value.toObject();
    }
    EXPECT_EQ(gatewayB[QStringLiteral("written")].toInt(), 0);
    EXPECT_EQ(gatewayB[QStringLiteral("already_there")].toInt(), 0);
    EXPECT_EQ(gatewayB[QStringLiteral("error")].toString(),
              QStringLiteral("Заводской номер 1003 в этом опросе уже у прибора узла \"Шлюз, прибор А\": архивы не "
                             "прочитаны, чтобы не смешать записи двух приборов"));
    // Stored under the meter's own number, the node base's beside it.
    EXPECT_EQ(boiler[QStringLiteral("serial")].toInt(), 1001);
    EXPECT_EQ(boiler[QStringLiteral("node_serial")].toInt(), 999);
    EXPECT_EQ(boiler[QStringLiteral("notes")].toArray(),
              QJsonArray{QStringLiteral("заводской номер прибора 1001, в базе узлов 999")});
    EXPECT_EQ(CountRows(target, kHourTable, 999).rows, 0);
    EXPECT_EQ(CollectRunValues(target, QStringLiteral("Котельная 1"), QStringLiteral("NodeSerial")),
              QStringList{QStringLiteral("999")});

    const QStringList runs = CollectRunRows(target);
    ASSERT_EQ(runs.size(), 5) << runs.join(u'\n').toStdString();
    int failed = 0;
    for (const QString& row : runs) {
        if (row.startsWith(QStringLiteral("Молчит|")) || row.startsWith(QStringLiteral("Шлюз, прибор Б|1003|"))) {
            EXPECT_FALSE(row.section(u'|', 4).isEmpty()) << row.toStdString();
            ++failed;
        } else {
            EXPECT_TRUE(row.section(u'|', 4).isEmpty()) << row.toStdString();
        }
    }
    EXPECT_EQ(failed, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Молчит: ошибка"))) << run.err.toStdString();

    // The next night: nothing new in the meters, nothing read twice; only the named nodes when named.
    const CliRun again = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--node"), QStringLiteral("Котельная 1"),
                    QStringLiteral("--node"), QStringLiteral("ЦТП на RS-232")}
            + rig.Place(rig.SqliteTarget()),
        60000);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    // Every date the meters hold was looked up, none read again.
    EXPECT_EQ(again.out,
              QStringLiteral("Приборов: 2, успешно: 2, с ошибкой: 0\nЗаписано: 0, уже были в базе: %1\n"
                             "Узел Котельная 1: заводской номер прибора 1001, в базе узлов 999\n")
                  .arg(StoredRecords(target, 1001) + StoredRecords(target, 1002)));
    for (std::uint32_t number : {1001u, 1002u, 1003u})
        ExpectWholeHours(target, number);
    EXPECT_EQ(CollectRunRows(target).size(), 7);

    // --kind ip leaves out the serial line.
    const CliRun ip = RunZt5Ctl(QStringList{QStringLiteral("collect"), QStringLiteral("--kind"), QStringLiteral("ip"),
                                            QStringLiteral("--jobs"), QStringLiteral("1")}
                                    + rig.Place(rig.SqliteTarget()),
                                60000);
    EXPECT_EQ(ip.exitCode, 1);
    EXPECT_TRUE(ip.out.startsWith(QStringLiteral("Приборов: 4, успешно: 2, с ошибкой: 2\n"))) << ip.out.toStdString();
}

TEST(CliCollect, UsageErrorsAndAnUnusableDatabase)
{
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Узел"), QStringLiteral("127.0.0.1:%1").arg(ClosedTcpPort()));
    ASSERT_TRUE(rig.Save());
    const QStringList place = rig.Place(rig.SqliteTarget());
    const CliRun unknown = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--node"), QStringLiteral("Нет такого")} + place);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("\"Нет такого\" не найден"))) << unknown.err.toStdString();
    const CliRun kind = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--kind"), QStringLiteral("usb")} + place);
    EXPECT_EQ(kind.exitCode, 2);
    const CliRun line = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:1")} + place);
    EXPECT_EQ(line.exitCode, 2);
    const CliRun format = RunZt5Ctl(
        QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("csv")} + place);
    EXPECT_EQ(format.exitCode, 2);
    // No meter is asked when the database cannot be used; a refused line fails its meter alone.
    const CliRun database = RunZt5Ctl(QStringList{QStringLiteral("collect")}
                                      + rig.Place(QStringLiteral("sqlite:/proc/no/such/Data.sqlite")));
    EXPECT_EQ(database.exitCode, 5);
    EXPECT_TRUE(database.err.contains(QStringLiteral("Ошибка при открытии файла базы данных")))
        << database.err.toStdString();
    EXPECT_TRUE(database.out.isEmpty());
    const CliRun refused = RunZt5Ctl(QStringList{QStringLiteral("collect")} + place);
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.out.startsWith(QStringLiteral("Приборов: 1, успешно: 0, с ошибкой: 1\n")))
        << refused.out.toStdString();
    EXPECT_EQ(CollectRunRows(TargetOf(rig.SqliteTarget())).size(), 1);

    // A base with no meter to read (a fresh installation's nightly run): nothing fails, the database is made.
    CollectRig empty;
    ASSERT_TRUE(empty.Save());
    const CliRun none = RunZt5Ctl(QStringList{QStringLiteral("collect")} + empty.Place(empty.SqliteTarget()));
    EXPECT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.startsWith(QStringLiteral("Приборов: 0, успешно: 0, с ошибкой: 0\n")))
        << none.out.toStdString();
    EXPECT_TRUE(none.err.contains(QStringLiteral("Нет приборов для опроса")));
    EXPECT_TRUE(QFile::exists(empty.Work().filePath(QStringLiteral("Data.sqlite"))));
}

TEST(CliCollect, StoppedRunKeepsWhatItStoredAndTheNextOneGoesOnFromThere)
{
    // A slow line: about 0.15 s a record, so the run is still reading when it is stopped.
    SimProcess meter(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 2001)
                     + QStringList{QStringLiteral("--baud-delay"), QStringLiteral("19200")});
    ASSERT_FALSE(meter.Place().isEmpty());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Медленный"), meter.Place());
    ASSERT_TRUE(rig.Save());
    const DatabaseTarget target = TargetOf(rig.SqliteTarget());
    auto process = StartZt5Ctl(QStringList{QStringLiteral("collect")} + rig.Place(rig.SqliteTarget()));
    // Stopped once the first block is stored (after a few seconds of reading).
    for (int i = 0; i < 300 && CountRows(target, kHourTable, 2001).rows == 0; ++i)
        QThread::msleep(50);
    ASSERT_GT(CountRows(target, kHourTable, 2001).rows, 0);
    ::kill(pid_t(process->processId()), SIGINT);
    const CliRun stopped = FinishProcess(*process, 20000);
    ASSERT_TRUE(stopped.finished);
    EXPECT_EQ(stopped.exitCode, 130);
    const qint64 kept = CountRows(target, kHourTable, 2001).rows;
    EXPECT_GT(kept, 0);
    const qint64 keptRecords = StoredRecords(target, 2001);
    const QStringList runs = CollectRunRows(target);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].section(u'|', 4).startsWith(QStringLiteral("Опрос прерван"))) << runs[0].toStdString();
    EXPECT_EQ(runs[0].section(u'|', 2, 2).toLongLong(), kept) << runs[0].toStdString();

    const CliRun resumed = RunZt5Ctl(QStringList{QStringLiteral("collect")} + rig.Place(rig.SqliteTarget()), 60000);
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    ExpectWholeHours(target, 2001);
    EXPECT_GT(CountRows(target, kHourTable, 2001).rows, kept);
    // What the stopped run stored was found there, nothing written twice.
    EXPECT_TRUE(resumed.out.contains(QStringLiteral("Записано: %1, уже были в базе: %2\n")
                                         .arg(StoredRecords(target, 2001) - keptRecords)
                                         .arg(keptRecords)))
        << resumed.out.toStdString();
}

TEST_F(PostgresqlCollect, TwoCollectorsAtOnceStoreEachRecordOnce)
{
    SimProcess one(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 3001)
                   + QStringList{QStringLiteral("--baud-delay"), QStringLiteral("115200")});
    SimProcess two(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 3002)
                   + QStringList{QStringLiteral("--baud-delay"), QStringLiteral("115200")});
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Первый"), one.Place());
    rig.AddTcpNode(QStringLiteral("Второй"), two.Place());
    ASSERT_TRUE(rig.Save());
    auto a = StartZt5Ctl(QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("json")}
                         + rig.Place(text));
    auto b = StartZt5Ctl(QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("json")}
                         + rig.Place(text));
    const CliRun first = FinishProcess(*a, 60000);
    const CliRun second = FinishProcess(*b, 60000);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const qint64 written = Json(first)[QStringLiteral("records_written")].toInteger()
        + Json(second)[QStringLiteral("records_written")].toInteger();
    qint64 stored = 0;
    for (std::uint32_t number : {3001u, 3002u}) {
        ExpectWholeHours(target, number);
        for (const QString& table :
             {kHourTable, kDay, QStringLiteral("ZT5_Arch_Values_Month"), QStringLiteral("ZT5_Arch_Values_Itog")}) {
            const TableCounts counts = CountRows(target, table, number);
            EXPECT_EQ(counts.rows, counts.distinctDates) << table.toStdString();
            stored += counts.rows;
        }
    }
    // Every stored row was written by exactly one of the two.
    EXPECT_EQ(written, stored);
    EXPECT_EQ(CollectRunRows(target).size(), 4);
}

// Two meters of their own addresses on one bus line; the connection to the server is lost while the
// first is read: it fails with the database's words, the second is read over a new connection, and
// the next run completes the first without a record twice.
TEST_F(PostgresqlCollect, LostConnectionFailsTheMeterInHandAndTheLineGoesOn)
{
    SimProcess slow(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 4001)
                    + QStringList{QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("--baud-delay"),
                                  QStringLiteral("19200")});
    SimProcess next(SimMeterArguments(QStringLiteral("127.0.0.1:0"), 4002)
                    + QStringList{QStringLiteral("--address"), QStringLiteral("2")});
    BusRelay bus({slow.Place().section(u':', 1).toInt(), next.Place().section(u':', 1).toInt()}, 19200);
    ASSERT_GT(bus.Port(), 0);
    const QString line = QStringLiteral("127.0.0.1:%1").arg(bus.Port());
    CollectRig rig;
    rig.AddTcpNode(QStringLiteral("Первый на шине"), line, 1);
    rig.AddTcpNode(QStringLiteral("Второй на шине"), line, 2);
    ASSERT_TRUE(rig.Save());
    auto process = StartZt5Ctl(QStringList{QStringLiteral("collect")} + rig.Place(text));
    for (int i = 0; i < 300 && CountRows(target, kHourTable, 4001).rows == 0; ++i)
        QThread::msleep(50);
    ASSERT_GT(CountRows(target, kHourTable, 4001).rows, 0);
    DropConnections();
    const CliRun run = FinishProcess(*process, 60000);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Приборов: 2, успешно: 1, с ошибкой: 1"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Первый на шине"))) << run.out.toStdString();
    ExpectWholeHours(target, 4002);
    const QStringList runs = CollectRunRows(target);
    EXPECT_EQ(runs.size(), 2) << runs.join(u'\n').toStdString();

    const CliRun again = RunZt5Ctl(QStringList{QStringLiteral("collect")} + rig.Place(text), 60000);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    ExpectWholeHours(target, 4001);
    EXPECT_EQ(CountRows(target, kHourTable, 4001).rows, CountRows(target, kHourTable, 4002).rows);
}

}  // namespace
