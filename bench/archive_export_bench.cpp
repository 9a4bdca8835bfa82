// The whole-archive export from the simulated meter over loopback TCP into SQLite and PostgreSQL:
//   BM_Export*            records per second, the meter answering at once (the program's own cost);
//   BM_DatabaseRecord/N   one duplicate check and one insert into a table already holding N rows;
//   BM_ExportAtLineSpeed  export time over the pure wire time of the bytes exchanged, the meter holding
//                         each answer for the time a 115200-baud line takes (ten bits a byte);
//   BM_ExportMemory/D     peak resident memory of an export of D days of archive.
// PostgreSQL runs are made when ZT5_BENCH_POSTGRESQL holds a connection text (the test script's server:
// tests/archives/postgresql_server.sh start DIR, then the text in DIR/connection).

#include "archives/archive_database.h"
#include "archives/archive_export.h"
#include "archives/database_connection.h"
#include "support/benchmark_main.h"
#include "support/driver_rig.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>

namespace {

// Takes every notification and shows nothing; counts the wire bytes of each exchange-log line
// ("(0021) ... Out ..." carries the block's length first) and the transfers.
class CountingHost : public DriverHost {
public:
    int ShowMessageBox(const QString&, const QString&, unsigned) override { return MessageAnswer::kOk; }
    void AppendLogLine(const QString& line) override
    {
        if (!line.startsWith(u'(') || line.size() < 6)
            return;
        const int bytes = line.mid(1, 4).toInt();
        wireBytes += bytes;
        if (line.contains(QStringLiteral(" Out ")))
            ++transfers;
        else
            simulatorHoldMs += std::ceil(double(bytes + lastOut) * 10 * 1000 / 115200.0) + 2;  // sim's hold rule
        lastOut = line.contains(QStringLiteral(" Out ")) ? bytes : 0;
    }
    void SetConnectionText(const QString&) override {}
    void SetOperationText(const QString&) override {}
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester*) override {}
    void CommandFinished(CommandRequester*, int) override {}

    qint64 wireBytes = 0;
    qint64 transfers = 0;
    double simulatorHoldMs = 0;

private:
    int lastOut = 0;
};

RigOptions Archive(int days, int baudDelay = 0, std::uint8_t functionSet = CModbusMaster::kStandardFunctions)
{
    RigOptions options;
    options.threads = false;
    options.timeoutSec = 3;
    options.archives.days = days;
    options.archives.fixedEnd = true;
    options.archives.end = TChronoArch{26, 2, 24, 12};
    options.baudDelay = baudDelay;
    options.functionSet = functionSet;
    return options;
}

bool PostgresqlTarget(DatabaseTarget* target)
{
    const QString text = qEnvironmentVariable("ZT5_BENCH_POSTGRESQL");
    QString error;
    return !text.isEmpty() && ParseDatabaseTarget(text, target, &error);
}

// Empties the target: the SQLite file goes, the PostgreSQL tables are dropped.
void Clear(const DatabaseTarget& target)
{
    if (target.engine == DatabaseTarget::Engine::kSqlite) {
        QFile::remove(target.path);
        return;
    }
    {
        QSqlDatabase db = AddDatabaseConnection(target, QStringLiteral("bench-clear"));
        if (db.open()) {
            for (const char* table : {"Hour", "Day", "Month", "Itog"}) {
                const QString name = QStringLiteral("ZT5_Arch_Values_") + QLatin1String(table);
                QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(name));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-clear"));
}

void RunExports(benchmark::State& state, const DatabaseTarget& target, const RigOptions& options)
{
    DriverRig rig(options);
    CountingHost host;
    if (!rig.Start()) {
        state.SkipWithError("no loopback meter");
        return;
    }
    rig.driver.AttachHost(&host);
    std::int64_t records = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Clear(target);
        host.wireBytes = 0;
        host.transfers = 0;
        host.simulatorHoldMs = 0;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        ArchiveExport exporter(target);
        if (!exporter.ExportWholeArchive(rig.driver) || exporter.Counts().written == 0) {
            state.SkipWithError("export failed");
            return;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        records += exporter.Counts().written;
    }
    state.SetItemsProcessed(records);
    state.counters["records"] = double(records) / double(state.iterations());
    state.counters["records_per_s"] = double(records) / seconds;
    if (options.baudDelay > 0) {
        const double wireSeconds = double(host.wireBytes) * 10 / options.baudDelay;
        const double lastSeconds = seconds / double(state.iterations());
        state.counters["wire_s"] = wireSeconds;
        state.counters["over_wire"] = lastSeconds / wireSeconds;
        state.counters["over_sim_hold"] = lastSeconds / (host.simulatorHoldMs / 1000);
        state.counters["transfers"] = double(host.transfers);
    }
}

void BM_ExportSqlite(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    RunExports(state, target, Archive(int(state.range(0))));
}
BENCHMARK(BM_ExportSqlite)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ExportPostgresql(benchmark::State& state)
{
    DatabaseTarget target;
    if (!PostgresqlTarget(&target)) {
        state.SkipWithError("ZT5_BENCH_POSTGRESQL not set");
        return;
    }
    RunExports(state, target, Archive(int(state.range(0))));
}
BENCHMARK(BM_ExportPostgresql)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ExportAtLineSpeed(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    RunExports(state, target, Archive(1, 115200, std::uint8_t(state.range(0))));
}
BENCHMARK(BM_ExportAtLineSpeed)->ArgName("function_set")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseRealTime();

// Fills the hourly table with `rows` rows of other meters in one statement, in one transaction.
bool Fill(const DatabaseTarget& target, qint64 rows)
{
    {
        ArchiveDatabase made;
        if (!made.Open(target))
            return false;
    }
    bool filled = true;
    {
        const bool postgresql = target.engine == DatabaseTarget::Engine::kPostgresql;
        QSqlDatabase db = AddDatabaseConnection(target, QStringLiteral("bench-fill"));
        const QString insert = QStringLiteral("INSERT INTO \"ZT5_Arch_Values_Hour\" (\"Serial\", \"Date\", \"t1_1\") ");
        const QString sql = postgresql
            ? insert + QStringLiteral("SELECT x % 997 + 1, TIMESTAMP '2000-01-01' + x * INTERVAL '1 hour', x "
                                      "FROM generate_series(1, %1) AS x")
            : QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) ") + insert
                + QStringLiteral("SELECT x % 997 + 1, datetime('2000-01-01', '+' || x || ' hours'), x FROM c");
        filled = db.open() && db.transaction() && QSqlQuery(db).exec(sql.arg(rows))
            && db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
    return filled;
}

void DatabaseRecords(benchmark::State& state, const DatabaseTarget& target)
{
    Clear(target);
    if (!Fill(target, state.range(0))) {
        state.SkipWithError("could not fill the table");
        return;
    }
    ArchiveDatabase database;
    if (!database.Open(target)) {
        state.SkipWithError("could not open");
        return;
    }
    std::uint8_t record[256] = {};  // a zeroed answer slot
    TChronoArch date{1, 1, 30, 0};
    for (auto _ : state) {
        const DateTimeStamp stamp = StampOf(date);
        if (database.Exists(kArchiveHourly, 170001, stamp)
            || !database.Write(kArchiveHourly, record, 170001, stamp)) {
            state.SkipWithError("duplicate check or insert failed");
            break;
        }
        date = NextHour(date);
    }
    database.Close();
    state.SetItemsProcessed(state.iterations());
}

void BM_DatabaseRecordSqlite(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    DatabaseRecords(state, target);
}
BENCHMARK(BM_DatabaseRecordSqlite)->ArgName("rows")->Arg(0)->Arg(1000000)->Unit(benchmark::kMicrosecond)
    ->Iterations(20000);

void BM_DatabaseRecordPostgresql(benchmark::State& state)
{
    DatabaseTarget target;
    if (!PostgresqlTarget(&target)) {
        state.SkipWithError("ZT5_BENCH_POSTGRESQL not set");
        return;
    }
    DatabaseRecords(state, target);
}
BENCHMARK(BM_DatabaseRecordPostgresql)->ArgName("rows")->Arg(0)->Arg(1000000)->Unit(benchmark::kMicrosecond)
    ->Iterations(5000);

// Peak resident memory of this process, in kB; writing 5 to clear_refs starts the peak afresh.
long PeakRssKb(bool reset)
{
    if (reset)
        std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
    }
    return -1;
}

void BM_ExportMemory(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    PeakRssKb(true);
    const long before = PeakRssKb(false);
    RunExports(state, target, Archive(int(state.range(0))));
    state.counters["peak_rss_kb"] = double(PeakRssKb(false));
    state.counters["peak_growth_kb"] = double(PeakRssKb(false) - before);
}
BENCHMARK(BM_ExportMemory)->ArgName("days")->Arg(20)->Arg(180)->Unit(benchmark::kMillisecond)->Iterations(1)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
