// The whole-archive export into a real PostgreSQL server (started by the test run on a loopback port,
// see postgresql_server.sh): tables made with their mixed-case names, every record once with the meter's
// values, nothing added the second time, a stop in the middle, a user's table with other columns.

#include "archives/archive_database.h"
#include "archives/archive_range.h"
#include "support/block_write_checks.h"
#include "support/counting_proxy.h"
#include "support/export_rig.h"
#include "support/table_checks.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cmath>

namespace {

// A database of its own for one test on the server of the test run, dropped at the end.
class PostgresqlExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QByteArray state = qgetenv("ZT5_TEST_POSTGRESQL");
        if (state.isEmpty())
            GTEST_SKIP() << "runs under ctest, which starts the server (ZT5_TEST_POSTGRESQL names its state folder)";
        QFile file(QString::fromLocal8Bit(state) + QStringLiteral("/connection"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no server: " << file.fileName().toStdString();
        QString error;
        ASSERT_TRUE(ParseDatabaseTarget(QString::fromUtf8(file.readAll().trimmed()), &m_server, &error))
            << qPrintable(error);
        static std::atomic<int> counter{0};
        m_name = QStringLiteral("zt5_export_%1_%2").arg(::getpid()).arg(++counter);
        TestConnection server(m_server);
        server.Exec({QStringLiteral("CREATE DATABASE %1").arg(m_name)});
        target = m_server;
        target.database = m_name;
    }

    void TearDown() override
    {
        if (m_name.isEmpty())
            return;
        TestConnection server(m_server);
        server.Exec({QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name)});
    }

    DatabaseTarget target;

private:
    DatabaseTarget m_server;
    QString m_name;
};

}  // namespace

TEST_F(PostgresqlExport, EveryRecordOnceWithTheMetersValues)
{
    ExportRig rig;
    ASSERT_TRUE(rig.Export(target)) << qPrintable(rig.rig.Messages().join(u'\n'));
    TestConnection db(target);
    // The names kept their case: the tables answer only to the quoted names.
    QSqlQuery names(db.Db());
    ASSERT_TRUE(
        names.exec(QStringLiteral("SELECT relname FROM pg_class WHERE relkind = 'r' AND "
                                  "relname LIKE 'ZT5_Arch_Values_%' ORDER BY relname")));
    QStringList tables;
    while (names.next())
        tables << names.value(0).toString();
    EXPECT_EQ(tables,
              QStringList({QStringLiteral("ZT5_Arch_Values_Day"), QStringLiteral("ZT5_Arch_Values_Hour"),
                           QStringLiteral("ZT5_Arch_Values_Itog"), QStringLiteral("ZT5_Arch_Values_Month")}));
    std::int64_t total = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const std::vector<MeterRecord> records = rig.MeterRecords(ArchiveKind(kind));
        ExpectTableMatchesMeter(db, ArchiveKind(kind), records, kMeterSerial);
        total += std::int64_t(records.size());
    }
    EXPECT_EQ(rig.progress.lastDone, total);

    const int before = rig.rig.server.Requests();
    ASSERT_TRUE(rig.Export(target));
    EXPECT_LT(rig.rig.server.Requests() - before, 12);
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        EXPECT_EQ(db.Count(ArchiveKind(kind)), qint64(rig.MeterRecords(ArchiveKind(kind)).size()));
}

TEST_F(PostgresqlExport, UserTablesAndAStopInTheMiddle)
{
    {
        // The totals without "SI_1" and with a column of the user's own.
        TestConnection db(target);
        db.Exec({UserTableSql(DatabaseTarget::Engine::kPostgresql, kArchiveTotals, {QStringLiteral("SI_1")},
                              QStringLiteral("\"Id\" SERIAL PRIMARY KEY"))});
    }
    ExportRig rig;
    EXPECT_FALSE(rig.ExportStoppedAfter(target, 30));
    {
        TestConnection db(target);
        const qint64 hourly = db.Count(kArchiveHourly);
        EXPECT_GE(hourly, 30);
        std::vector<MeterRecord> records = rig.MeterRecords(kArchiveHourly);
        ASSERT_LT(hourly, qint64(records.size()));
        records.resize(std::size_t(hourly));
        ExpectTableMatchesMeter(db, kArchiveHourly, records, kMeterSerial);
    }
    ASSERT_TRUE(rig.Export(target));
    TestConnection db(target);
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const QStringList absent = kind == kArchiveTotals ? QStringList{QStringLiteral("SI_1")} : QStringList{};
        ExpectTableMatchesMeter(db, ArchiveKind(kind), rig.MeterRecords(ArchiveKind(kind)), kMeterSerial, absent);
    }
}

TEST_F(PostgresqlExport, RangeReadsBackThisMetersRowsInTheStretchOldestFirst)
{
    // Rows written out of order, one of another meter, one either side of the stretch.
    const auto record = [](float t, std::uint16_t vnr) {
        ArchiveRecord made{};
        made.pipes[0].t = t;
        made.pipes[1].V = std::nanf("");
        made.inputs[0].VNR = vnr;
        made.inputFlags[0] = 0x8001;
        return made;
    };
    const struct {
        std::uint32_t serial;
        DateTimeStamp date;
        ArchiveRecord values;
    } rows[] = {
        {kMeterSerial, {24, 2, 24, 5, 17, 3}, record(5.5f, 40000)},
        {kMeterSerial, {24, 2, 24, 4, 17, 3}, record(4.5f, 4)},
        {kMeterSerial + 1, {24, 2, 24, 4, 17, 3}, record(99.0f, 9)},
        {kMeterSerial, {24, 2, 24, 3, 59, 59}, record(3.5f, 3)},
        {kMeterSerial, {24, 2, 24, 6, 0, 0}, record(6.5f, 6)},
    };
    ArchiveDatabase database;
    ASSERT_TRUE(database.Open(target)) << qPrintable(database.LastFailureText());
    for (const auto& row : rows) {
        const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(&row.values), sizeof row.values);
        ASSERT_TRUE(database.Write(kArchiveHourly, bytes, row.serial, row.date));
    }
    std::vector<RangeRecord> found;
    ASSERT_TRUE(
        database.ReadRange(kArchiveHourly, kMeterSerial, TChronoArch{24, 2, 24, 4}, TChronoArch{24, 2, 24, 5}, &found))
        << qPrintable(database.LastFailureText());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_TRUE(found[0].date == (TChronoArch{24, 2, 24, 4}));
    EXPECT_TRUE(found[1].date == (TChronoArch{24, 2, 24, 5}));
    EXPECT_EQ(+found[0].record.pipes[0].t, 4.5f);
    EXPECT_EQ(+found[1].record.pipes[0].t, 5.5f);
    EXPECT_EQ(+found[1].record.inputs[0].VNR, 40000);
    EXPECT_EQ(+found[1].record.inputFlags[0], 0x8001);
    EXPECT_TRUE(std::isnan(found[1].record.pipes[1].V));
    EXPECT_TRUE(database.Close());
}

TEST_F(PostgresqlExport, ATargetThatIsNotThereIsToldInTheEnginesWords)
{
    DatabaseTarget missingDatabase = target;
    missingDatabase.database = QStringLiteral("zt5_no_such_database");
    DatabaseTarget missingRole = target;
    missingRole.user = QStringLiteral("zt5_no_such_role");
    for (const auto& [wrong, reason] : {std::pair{missingDatabase, "database \"zt5_no_such_database\" does not exist"},
                                        std::pair{missingRole, "role \"zt5_no_such_role\" does not exist"}}) {
        ExportRig rig;
        EXPECT_FALSE(rig.Export(wrong));
        const QStringList boxes = rig.rig.BoxTexts();
        ASSERT_EQ(boxes.size(), 1);
        const QStringList lines = boxes[0].split(u'\n');
        ASSERT_GE(lines.size(), 2) << qPrintable(boxes[0]);
        EXPECT_EQ(lines[0], QString::fromUtf8("Ошибка при открытии файла базы данных (0x0001)!"));
        EXPECT_TRUE(boxes[0].contains(QLatin1String(reason))) << qPrintable(boxes[0]);
        EXPECT_TRUE(rig.rig.Messages().join(u'\n').contains(QLatin1String(reason)));
        EXPECT_EQ(rig.rig.server.Requests(), 0);
    }
}

TEST_F(PostgresqlExport, BlockValuesReadBackExactly)
{
    ExpectBlockValuesReadBackExactly(target);
}

TEST_F(PostgresqlExport, OverlappingBlocksStoreEachRowOnce)
{
    ExpectOverlappingBlocksStoreEachRowOnce(target);
}

// Counted on the wire between the program and the server: a block of any length is one query for the
// stored dates and one statement for the new rows.
TEST_F(PostgresqlExport, ABlockCostsTwoRoundTrips)
{
    CountingProxy relay(target.host.toLatin1().constData(), target.port);
    ASSERT_GT(relay.Port(), 0);
    DatabaseTarget relayed = target;
    relayed.port = relay.Port();
    ArchiveDatabase database;
    ASSERT_TRUE(database.Open(relayed)) << qPrintable(database.LastFailureText());
    std::vector<QVariantList> rows;
    std::vector<std::uint8_t> record(256, 0);
    TChronoArch date{1, 1, 25, 0};
    const DateTimeStamp first = StampOf(date);
    for (int i = 0; i < 200; ++i, date = NextHour(date))
        rows.push_back(database.RowOf(kArchiveHourly, record, kMeterSerial, StampOf(date)));
    relay.ResetCount();
    std::set<QString> stored;
    ASSERT_TRUE(database.StoredHours(kArchiveHourly, kMeterSerial, first, StampOf(date), &stored));
    qint64 added = 0;
    ASSERT_TRUE(database.WriteBlock(kArchiveHourly, rows, &added));
    EXPECT_EQ(added, 200);
    EXPECT_EQ(relay.RoundTrips(), 2);
    database.Close();
    TestConnection db(target);
    EXPECT_EQ(db.Count(kArchiveHourly), 200);
}
