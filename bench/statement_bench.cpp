// The month's statement from an archive database that holds it (the simulated meter's November 2026,
// daily records and the totals archive, for 100 meters):
//   BM_StatementMonth/format:N   one meter's daily statement read, built and made into a file's bytes,
//                                N = 0 PDF, 1 XLSX, 2 CSV, 3 HTML (goal: 0.3 s each);
//   BM_StatementAll/engine:N     zt5ctl statement day --all over the 100 meters into a folder of PDF
//                                files, the whole process, N = 0 SQLite, 1 PostgreSQL when
//                                ZT5_BENCH_POSTGRESQL names a server (goal: 30 s on two cores).

#include "archives/archive_database.h"
#include "archives/record_bytes.h"
#include "sim/archive_generator.h"
#include "statement/statement_format.h"
#include "statement/statement_source.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t kFirstSerial = 170001;
constexpr int kMeters = 100;
constexpr TChronoArch kFirstDay{1, 11, 26, 0};
constexpr TChronoArch kLastDay{30, 11, 26, 23};
constexpr ReportTime kReportTime{0, 1};

template <class Record>
bool Store(ArchiveDatabase& database, ArchiveKind kind, const Record& record, std::uint32_t serial)
{
    const QByteArray bytes = RecordToBytes(record);
    const DateTimeStamp date{record.date.day, record.date.month, record.date.year, record.date.hour, 0, 0};
    return database.Write(
        kind, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())), serial,
        date);
}

// The month of every meter (one generator: the meters differ by number only), written once.
bool Fill(const DatabaseTarget& target)
{
    ArchiveDatabase database;
    if (!database.Open(target))
        return false;
    const ArchiveGenerator generator(1);
    std::vector<ArchiveRecord> days;
    std::vector<TotalsRecord> totals{generator.Totals(PreviousDay(TChronoArch{1, 11, 26, 0}))};
    for (TChronoArch day{1, 11, 26, 0}; DayNumber(day) <= DayNumber(kLastDay); day = NextDay(day)) {
        days.push_back(generator.ValueRecord(kArchiveDaily, day, kReportTime));
        totals.push_back(generator.Totals(day));
    }
    bool written = true;
    for (int meter = 0; meter < kMeters && written; ++meter) {
        for (const ArchiveRecord& day : days)
            written = written && Store(database, kArchiveDaily, day, kFirstSerial + meter);
        for (const TotalsRecord& record : totals)
            written = written && Store(database, kArchiveTotals, record, kFirstSerial + meter);
    }
    return database.Close() && written;
}

struct Databases {
    QTemporaryDir folder;
    DatabaseTarget sqlite;
    std::optional<DatabaseTarget> postgresql;
    bool ready = false;

    Databases()
    {
        sqlite.path = folder.filePath(QStringLiteral("Data.sqlite"));
        ready = Fill(sqlite);
        DatabaseTarget server;
        QString error;
        const QString text = qEnvironmentVariable("ZT5_BENCH_POSTGRESQL");
        if (ready && !text.isEmpty() && ParseDatabaseTarget(text, &server, &error) && Fill(server))
            postgresql = server;
    }
};

const Databases& Shared()
{
    static const Databases databases;
    return databases;
}

StatementSource November(std::uint32_t serial)
{
    StatementSource source;
    source.kind = kArchiveDaily;
    source.from = kFirstDay;
    source.to = kLastDay;
    source.input = 0;
    source.serial = serial;
    source.madeDate = QStringLiteral("01.12.2026");
    return source;
}

void BM_StatementMonth(benchmark::State& state)
{
    const auto format = StatementFormat(state.range(0));
    if (!Shared().ready) {
        state.SkipWithError("the database was not filled");
        return;
    }
    qint64 size = 0;
    for (auto _ : state) {
        StatementSource source = November(kFirstSerial);
        QString error;
        QByteArray bytes;
        if (!ReadStatementRecords(Shared().sqlite, &source, &error)
            || !StatementBytes(BuildStatement(source), format, DecimalSeparator::Comma, &bytes, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        size = bytes.size();
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_StatementMonth)->ArgName("format")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_StatementAll(benchmark::State& state)
{
    const bool server = state.range(0) == 1;
    if (!Shared().ready || (server && !Shared().postgresql)) {
        state.SkipWithError(server ? "no PostgreSQL server (ZT5_BENCH_POSTGRESQL)" : "the database was not filled");
        return;
    }
    const DatabaseTarget& target = server ? *Shared().postgresql : Shared().sqlite;
    const QString database = server ? qEnvironmentVariable("ZT5_BENCH_POSTGRESQL")
                                    : QStringLiteral("sqlite:") + target.path;
    qint64 files = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        QProcess zt5ctl;
        zt5ctl.start(
            QStringLiteral(ZT5CTL_PATH),
            {QStringLiteral("--database"), database, QStringLiteral("--workdir"), out.filePath(QStringLiteral("wd")),
             QStringLiteral("statement"), QStringLiteral("day"), QStringLiteral("--all"), QStringLiteral("--month"),
             QStringLiteral("2026-11"), QStringLiteral("-o"), out.filePath(QStringLiteral("statements"))});
        if (!zt5ctl.waitForFinished(120000) || zt5ctl.exitCode() != 0) {
            state.SkipWithError(zt5ctl.readAllStandardError().constData());
            return;
        }
        files = QDir(out.filePath(QStringLiteral("statements"))).entryList(QDir::Files).size();
    }
    state.counters["files"] = double(files);
}
BENCHMARK(BM_StatementAll)
    ->ArgName("engine")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    // The PDF's painter needs the fonts of a GUI application; nothing is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Shared();  // the databases are filled before any clock runs
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
