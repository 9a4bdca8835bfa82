// export-db through zt5ctl against a simulated meter process: every finished record lands in the SQLite
// file named, a second run adds nothing, and a database that cannot be used is told in the system's words.

#include "cli_process.h"

#include "sim/configuration_area.h"
#include "sim/meter_archives.h"
#include "sim/meter_simulator.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace {

const QStringList kArchiveOptions = {QStringLiteral("--archive-end"), QStringLiteral("2024-02-26T12"),
                                     QStringLiteral("--archive-days"), QStringLiteral("2"), QStringLiteral("--seed"),
                                     QStringLiteral("3")};

// What the same meter holds, counted in this process: records of the four archives.
qint64 MeterRecordCount()
{
    SimOptions options;
    bool help = false;
    EXPECT_TRUE(ParseSimOptions(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kArchiveOptions,
                                options, &help)
                    .isEmpty());
    MeterSimulator meter(options);
    std::lock_guard<std::mutex> lock(meter.Lock());
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(meter.Image());
    qint64 records = 0;
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        records += meter.Archives().RangeOf(ArchiveKind(kind), reportTime, meter.Clock().Now()).written;
    return records;
}

qint64 RowsIn(const QString& path)
{
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cli-export-check"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        for (const char* table : {"Hour", "Day", "Month", "Itog"}) {
            QSqlQuery query(db);
            const QString sql = QStringLiteral("SELECT COUNT(*) FROM \"ZT5_Arch_Values_%1\"");
            EXPECT_TRUE(query.exec(sql.arg(QLatin1String(table))));
            if (query.next())
                rows += query.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cli-export-check"));
    return rows;
}

}  // namespace

TEST(CliExportDb, WholeArchiveOnceIntoTheNamedFile)
{
    SimProcess sim(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kArchiveOptions);
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archives.sqlite"));
    const QStringList words{QStringLiteral("export-db"), QStringLiteral("--tcp"), sim.Place(),
                            QStringLiteral("--database"), QStringLiteral("sqlite:") + path,
                            QStringLiteral("--workdir"), folder.path()};
    const qint64 expected = MeterRecordCount();
    ASSERT_GT(expected, 40);

    const CliRun first = RunZt5Ctl(words);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Записано: %1\n").arg(expected))) << first.out.toStdString();
    EXPECT_EQ(RowsIn(path), expected);

    const CliRun second = RunZt5Ctl(words);
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("Записано: 0\nУже были в базе: %1\n").arg(expected)))
        << second.out.toStdString();
    EXPECT_EQ(RowsIn(path), expected);
}

TEST(CliExportDb, UnusableDatabaseIsToldAndNothingIsRead)
{
    const CliRun bad = RunZt5Ctl({QStringLiteral("export-db"), QStringLiteral("--demo"), QStringLiteral("--database"),
                                  QStringLiteral("mysql://x/y")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Неверная строка подключения к базе данных"))) << bad.err.toStdString();

    const CliRun unreachable = RunZt5Ctl({QStringLiteral("export-db"), QStringLiteral("--demo"),
                                          QStringLiteral("--database"),
                                          QStringLiteral("postgresql://u@127.0.0.1:%1/db").arg(ClosedTcpPort())});
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_TRUE(unreachable.out.isEmpty());
    EXPECT_TRUE(unreachable.err.contains(QStringLiteral("Ошибка при открытии файла базы данных (0x")))
        << unreachable.err.toStdString();
}
