// export-db through zt5ctl against a simulated meter process: every finished record lands in the SQLite
// file named, a second run adds nothing, a database that cannot be used is told in the system's words, and
// a record the meter answers only with another record's date is left out, named, and read the next time.

#include "cli_process.h"

#include "sim/configuration_area.h"
#include "sim/meter_archives.h"
#include "sim/meter_simulator.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <mutex>

#include <signal.h>
#include <sys/resource.h>

namespace {

const QStringList kExportArchiveOptions = {QStringLiteral("--archive-end"),  QStringLiteral("2024-02-26T12"),
                                           QStringLiteral("--archive-days"), QStringLiteral("2"),
                                           QStringLiteral("--seed"),         QStringLiteral("3")};

// What the same meter holds, looked at in this process.
std::array<MeterArchives::Range, kValueArchiveCount> MeterRanges(
    const QStringList& archiveOptions = kExportArchiveOptions)
{
    SimOptions options;
    bool help = false;
    EXPECT_TRUE(ParseSimOptions(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + archiveOptions,
                                options, &help)
                    .isEmpty());
    MeterSimulator meter(options);
    std::lock_guard<std::mutex> lock(meter.Lock());
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(meter.Image());
    std::array<MeterArchives::Range, kValueArchiveCount> ranges;
    for (int kind = 0; kind < kValueArchiveCount; ++kind)
        ranges[kind] = meter.Archives().RangeOf(ArchiveKind(kind), reportTime, meter.Clock().Now());
    return ranges;
}

// Records of the four archives.
qint64 MeterRecordCount(const QStringList& archiveOptions = kExportArchiveOptions)
{
    qint64 records = 0;
    for (const MeterArchives::Range& range : MeterRanges(archiveOptions))
        records += range.written;
    return records;
}

qint64 RowsIn(const QString& path,
              const QStringList& tables = {QStringLiteral("Hour"), QStringLiteral("Day"), QStringLiteral("Month"),
                                           QStringLiteral("Itog")})
{
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cli-export-check"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        for (const QString& table : tables) {
            QSqlQuery query(db);
            const QString sql = QStringLiteral("SELECT COUNT(*) FROM \"ZT5_Arch_Values_%1\"");
            EXPECT_TRUE(query.exec(sql.arg(table)));
            if (query.next())
                rows += query.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cli-export-check"));
    return rows;
}

// The meter of these tests, misbehaving as `fault` says ("drop=8%").
QStringList FaultySim(const QString& fault)
{
    return QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--fault"), fault}
    + kExportArchiveOptions;
}

// export-db from the meter at `place` into the SQLite file `path`, the work folder in `folder`, then `more`.
QStringList ExportWords(const QString& place, const QString& path, const QTemporaryDir& folder, const QStringList& more)
{
    return QStringList{QStringLiteral("export-db"),
                       QStringLiteral("--tcp"),
                       place,
                       QStringLiteral("--database"),
                       QStringLiteral("sqlite:") + path,
                       QStringLiteral("--workdir"),
                       folder.path()}
    + more;
}

// The number after `label` in the output ("Записано: 12" -> 12); -1 when not there.
qint64 NumberAfter(const QString& out, const QString& label)
{
    const int at = out.indexOf(label);
    if (at < 0)
        return -1;
    QString digits;
    for (int i = at + int(label.size()); i < out.size() && out[i].isDigit(); ++i)
        digits += out[i];
    return digits.isEmpty() ? -1 : digits.toLongLong();
}

}  // namespace

TEST(CliExportDb, WholeArchiveOnceIntoTheNamedFile)
{
    SimProcess sim(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kExportArchiveOptions);
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archives.sqlite"));
    const QStringList words{
        QStringLiteral("export-db"),      QStringLiteral("--tcp"),     sim.Place(),  QStringLiteral("--database"),
        QStringLiteral("sqlite:") + path, QStringLiteral("--workdir"), folder.path()};
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
    EXPECT_EQ(unreachable.exitCode, 5);
    EXPECT_TRUE(unreachable.out.isEmpty());
    EXPECT_TRUE(unreachable.err.contains(QStringLiteral("Ошибка при открытии файла базы данных (0x")))
        << unreachable.err.toStdString();
    EXPECT_TRUE(unreachable.err.contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << unreachable.err.toStdString();

    // The database is tried before the line: a meter that is not there either is never waited for.
    const CliRun both = RunZt5Ctl({QStringLiteral("export-db"), QStringLiteral("--tcp"),
                                   QStringLiteral("127.0.0.1:%1").arg(ClosedTcpPort()), QStringLiteral("--database"),
                                   QStringLiteral("postgresql://u@127.0.0.1:%1/db").arg(ClosedTcpPort())});
    EXPECT_EQ(both.exitCode, 5);
    EXPECT_TRUE(both.err.contains(QStringLiteral("Ошибка при открытии файла базы данных (0x")))
        << both.err.toStdString();
    // Nothing was said of the line: it was never tried.
    EXPECT_FALSE(both.err.contains(QString::fromUtf8("Информация"))) << both.err.toStdString();
    EXPECT_FALSE(both.err.contains(QString::fromUtf8("Прибор"))) << both.err.toStdString();
}

TEST(CliExportDb, DiskFillingUpIsToldAndTheSummaryIsWhatIsStored)
{
    // Twenty days: more than the file may take.
    const QStringList archive = QStringList(kExportArchiveOptions)
        << QStringLiteral("--archive-days") << QStringLiteral("20");
    SimProcess sim(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + archive);
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archives.sqlite"));
    QProcess process;
    // A file may grow to 120,000 bytes here: the empty tables fit (with the pages the write-ahead log keeps
    // of them), the archives do not. The signal a process gets at the limit is ignored, so the write fails
    // as on a full disk.
    process.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{120000, 120000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(QStringLiteral(ZT5CTL_PATH),
                  {QStringLiteral("export-db"), QStringLiteral("--tcp"), sim.Place(), QStringLiteral("--database"),
                   QStringLiteral("sqlite:") + path, QStringLiteral("--workdir"), folder.path()});
    ASSERT_TRUE(process.waitForStarted(10000));
    const CliRun run = FinishProcess(process);
    EXPECT_EQ(run.exitCode, 5) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8("Ошибка записи в базу данных (0x"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("full")) || run.err.contains(QStringLiteral("I/O")))
        << run.err.toStdString();
    const qint64 written = NumberAfter(run.out, QString::fromUtf8("Записано: "));
    ASSERT_GE(written, 0) << run.out.toStdString();
    EXPECT_LT(written, MeterRecordCount(archive));
    EXPECT_EQ(written, RowsIn(path));
    EXPECT_EQ(NumberAfter(run.out, QString::fromUtf8("Часовой архив: записано ")),
              RowsIn(path, {QStringLiteral("Hour")}))
        << run.out.toStdString();

    // With room again the export finishes, each record once.
    const CliRun rest = RunZt5Ctl({QStringLiteral("export-db"), QStringLiteral("--tcp"), sim.Place(),
                                   QStringLiteral("--database"), QStringLiteral("sqlite:") + path,
                                   QStringLiteral("--workdir"), folder.path()});
    EXPECT_EQ(rest.exitCode, 0) << rest.err.toStdString();
    EXPECT_EQ(RowsIn(path), MeterRecordCount(archive));
}

TEST(CliExportDb, ArchiveCutShortByTheLineExitsWithWhereItStopped)
{
    // One answer in twelve is lost and there is one attempt a record: some archive stops short.
    SimProcess sim(FaultySim(QStringLiteral("drop=8%")));
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archives.sqlite"));
    const QStringList words = ExportWords(
        sim.Place(), path, folder,
        {QStringLiteral("--attempts"), QStringLiteral("1"), QStringLiteral("--timeout"), QStringLiteral("1")});
    CliRun run;
    // The first lost answer may be one of the connection's own: then the run is refused before any
    // archive, and the next one tries again.
    for (int tries = 0; tries < 10; ++tries) {
        run = RunZt5Ctl(words, 120000);
        if (run.out.contains(QString::fromUtf8("Записано: ")))
            break;
    }
    ASSERT_TRUE(run.out.contains(QString::fromUtf8("Записано: "))) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("(остановлено на "))) << run.out.toStdString();
    EXPECT_EQ(NumberAfter(run.out, QString::fromUtf8("Записано: ")), RowsIn(path));
    const char* const names[] = {"Часовой", "Суточный", "Месячный", "Итоговый"};
    const char* const tables[] = {"Hour", "Day", "Month", "Itog"};
    for (int kind = 0; kind < 4; ++kind) {
        EXPECT_EQ(NumberAfter(run.out, QString::fromUtf8(names[kind]) + QString::fromUtf8(" архив: записано ")),
                  RowsIn(path, {QLatin1String(tables[kind])}))
            << run.out.toStdString();
    }
}

TEST(CliExportDb, RecordAnsweredOnlyWithAnotherDateIsLeftOutAndTold)
{
    // The first three reads of a record find another master's record in the answer area: with three
    // attempts the first hourly record never comes back under its own date.
    const QStringList standard{QStringLiteral("--functions"), QStringLiteral("standard"), QStringLiteral("--attempts"),
                               QStringLiteral("3")};
    SimProcess sim(FaultySim(QStringLiteral("swap=3x")));
    ASSERT_FALSE(sim.Place().isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("archives.sqlite"));
    const QStringList words = ExportWords(sim.Place(), path, folder, standard);
    const QString first = StampText(StampOf(MeterRanges()[kArchiveHourly].first));

    const CliRun run = RunZt5Ctl(words);
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("не записано 1 (ответ с чужой датой: %1)\n").arg(first)))
        << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8("Записей не записано: 1 - прибор отвечал на их запросы записями за "
                                                   "другие даты (возможно, его опрашивает и другая программа): "
                                                   "часовой архив %1")
                                     .arg(first)))
        << run.err.toStdString();
    EXPECT_EQ(RowsIn(path), MeterRecordCount() - 1);

    // The meter answers right again: the next export fills the gap.
    const CliRun again = RunZt5Ctl(words);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QString::fromUtf8("Записано: 1\n"))) << again.out.toStdString();
    EXPECT_EQ(RowsIn(path), MeterRecordCount());

    // A stretch read off such a meter for the trends fails the same way, naming the date.
    SimProcess range(FaultySim(QStringLiteral("swap=3x")));
    ASSERT_FALSE(range.Place().isEmpty());
    const TChronoArch from = MeterRanges()[kArchiveHourly].first;
    const CliRun stretch = RunZt5Ctl(
        QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                    QString::asprintf("%d-%.2d-%.2dT%.2d", from.year + 2000, from.month, from.day, from.hour),
                    QStringLiteral("--to"), QString::asprintf("%d-%.2d-%.2d", from.year + 2000, from.month, from.day),
                    QStringLiteral("--tcp"), range.Place(), QStringLiteral("--database"),
                    QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("stretch.sqlite")),
                    QStringLiteral("--format"), QStringLiteral("csv")}
        + standard);
    EXPECT_EQ(stretch.exitCode, 1) << stretch.err.toStdString();
    EXPECT_TRUE(stretch.err.contains(QString::fromUtf8("Записей не записано: 1 - ")
                                     + QString::fromUtf8("прибор отвечал на их запросы записями за другие даты")))
        << stretch.err.toStdString();
    EXPECT_TRUE(stretch.err.contains(QString::fromUtf8("часовой архив %1").arg(first))) << stretch.err.toStdString();
}
