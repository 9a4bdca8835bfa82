// The whole-archive export from the simulated meter into SQLite and PostgreSQL:
//   BM_Export*/rows:N     records per second over loopback TCP, the meter answering at once (the
//                         program's own cost), into tables empty or already holding N rows of other meters;
//   BM_DatabaseRecord/N   one duplicate check and one insert into a table already holding N rows;
//   BM_ExportRoundTrips   server round trips per record of a whole PostgreSQL export, counted by a relay
//                         between the program and the server (connecting and making the tables included);
//   BM_ExportLong/E       180 days (4 686 records) into SQLite (0) or PostgreSQL (1);
//   BM_ExportAtLineSpeed  export time over the time the line itself needs, the meter on a pseudo-terminal
//                         holding each answer for the line time at the given baud rate (--baud-delay);
//   BM_ExportMemory/D     peak resident memory of an export of D days of archive;
//   BM_ExportAtLineSpeedDamaged  the 9600-baud export over a line that damages one answer in ten, over
//                         the line time of every exchange it made, repeats included.
// PostgreSQL runs are made when ZT5_BENCH_POSTGRESQL holds a connection text (the test script's server:
// tests/archives/postgresql_server.sh start DIR, then the text in DIR/connection).

#include "archives/archive_database.h"
#include "archives/archive_export.h"
#include "archives/database_connection.h"
#include "quiet_host.h"
#include "sim/line_time.h"
#include "support/benchmark_main.h"
#include "support/counting_proxy.h"
#include "support/driver_rig.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace {

constexpr std::uint32_t kMeterSerial = 170001;  // the simulated meter's factory number

// Adds up, from the exchange-log lines ("(0021) COM31 Out ..." carries the block's length first), what
// the line needs for each exchange: the request and every block received up to the next request.
class LineTimeHost : public QuietHost {
public:
    explicit LineTimeHost(int baud) : m_baud(baud) {}
    void AppendLogLine(const QString& line) override
    {
        if (!line.startsWith(u'(') || line.size() < 6)
            return;
        const int bytes = line.mid(1, 4).toInt();
        if (line.contains(QStringLiteral(" Out "))) {
            Flush();
            m_out = bytes;
            ++transfers;
        } else {
            m_in += bytes;
        }
    }

    // The line time of every exchange so far, in seconds (RTU framing: with the gap).
    double LineSeconds()
    {
        Flush();
        return std::chrono::duration<double>(m_line).count();
    }
    void Reset()
    {
        m_line = {};
        m_out = m_in = 0;
        transfers = 0;
    }

    qint64 transfers = 0;

private:
    void Flush()
    {
        if (m_out > 0)
            m_line += ExchangeLineTime(m_out, m_in, m_baud, true);
        m_out = m_in = 0;
    }

    int m_baud;
    std::chrono::nanoseconds m_line{0};
    int m_out = 0;
    int m_in = 0;
};

RigOptions Archive(int days, int baudDelay = 0, std::uint8_t functionSet = CModbusMaster::kStandardFunctions,
                   RigLine line = RigLine::kTcp)
{
    RigOptions options;
    options.threads = false;
    options.timeoutSec = 3;
    options.archives.days = days;
    options.archives.fixedEnd = true;
    options.archives.end = TChronoArch{26, 2, 24, 12};
    options.baudDelay = baudDelay;
    options.functionSet = functionSet;
    options.line = line;
    return options;
}

bool PostgresqlTarget(DatabaseTarget* target)
{
    const QString text = qEnvironmentVariable("ZT5_BENCH_POSTGRESQL");
    QString error;
    return !text.isEmpty() && ParseDatabaseTarget(text, target, &error);
}

const char* const kTables[] = {"ZT5_Arch_Values_Hour", "ZT5_Arch_Values_Day", "ZT5_Arch_Values_Month",
                               "ZT5_Arch_Values_Itog"};

// Runs each statement on the target; false when one fails.
bool Execute(const DatabaseTarget& target, const QStringList& statements, bool transaction = false)
{
    bool done = true;
    {
        QSqlDatabase db = AddDatabaseConnection(target, QStringLiteral("bench-sql"));
        done = db.open() && (!transaction || db.transaction());
        for (const QString& sql : statements)
            done = done && QSqlQuery(db).exec(sql);
        if (transaction)
            done = done && db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-sql"));
    return done;
}

// Empties the target: the SQLite file goes, the PostgreSQL tables are dropped.
void Clear(const DatabaseTarget& target)
{
    if (target.engine == DatabaseTarget::Engine::kSqlite) {
        QFile::remove(target.path);
        return;
    }
    QStringList drops;
    for (const char* table : kTables)
        drops << QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(QLatin1String(table));
    Execute(target, drops);
}

// Takes the simulated meter's rows out again, leaving the other meters' rows in place.
bool RemoveMeterRows(const DatabaseTarget& target)
{
    QStringList deletes;
    for (const char* table : kTables)
        deletes
            << QStringLiteral("DELETE FROM \"%1\" WHERE \"Serial\" = %2").arg(QLatin1String(table)).arg(kMeterSerial);
    return Execute(target, deletes);
}

// Makes the tables and fills the hourly one with `rows` rows of other meters in one statement, in one
// transaction.
bool Fill(const DatabaseTarget& target, qint64 rows)
{
    {
        ArchiveDatabase made;
        if (!made.Open(target))
            return false;
    }
    if (rows == 0)
        return true;
    const bool postgresql = target.engine == DatabaseTarget::Engine::kPostgresql;
    const QString insert = QStringLiteral("INSERT INTO \"ZT5_Arch_Values_Hour\" (\"Serial\", \"Date\", \"t1_1\") ");
    const QString sql = postgresql
        ? insert
            + QStringLiteral(
                "SELECT x % 997 + 1, TIMESTAMP '2000-01-01' + x * INTERVAL '1 hour', x "
                "FROM generate_series(1, %1) AS x")
        : QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) ") + insert
            + QStringLiteral("SELECT x % 997 + 1, datetime('2000-01-01', '+' || x || ' hours'), x FROM c");
    return Execute(target, {sql.arg(rows)}, true);
}

// Exports the simulated meter's whole archive into `target`, whose hourly table starts with `rows`
// rows of other meters; every iteration starts from the meter's rows removed.
void RunExports(benchmark::State& state, const DatabaseTarget& target, const RigOptions& options, qint64 rows = 0)
{
    DriverRig rig(options);
    LineTimeHost host(options.baudDelay);
    Clear(target);
    if (!Fill(target, rows)) {
        state.SkipWithError("could not fill the table");
        return;
    }
    if (!rig.Start()) {
        state.SkipWithError("no meter on the line");
        return;
    }
    rig.driver.AttachHost(&host);
    std::int64_t records = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool emptied = RemoveMeterRows(target);
        host.Reset();
        state.ResumeTiming();
        if (!emptied) {
            state.SkipWithError("could not remove the meter's rows");
            return;
        }
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
        const double lineSeconds = host.LineSeconds();
        state.counters["line_s"] = lineSeconds;
        state.counters["over_limit"] = seconds / double(state.iterations()) / lineSeconds;
        state.counters["transfers"] = double(host.transfers);
    }
}

void BM_ExportSqlite(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    RunExports(state, target, Archive(30), state.range(0));
}
BENCHMARK(BM_ExportSqlite)
    ->ArgName("rows")
    ->Arg(0)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_ExportPostgresql(benchmark::State& state)
{
    DatabaseTarget target;
    if (!PostgresqlTarget(&target)) {
        state.SkipWithError("ZT5_BENCH_POSTGRESQL not set");
        return;
    }
    RunExports(state, target, Archive(30), state.range(0));
}
BENCHMARK(BM_ExportPostgresql)
    ->ArgName("rows")
    ->Arg(0)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// Tells on stderr what the export shows the user, so a failed run says why.
class TellingHost : public QuietHost {
public:
    int ShowMessageBox(const QString& text, const QString&, unsigned) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return MessageAnswer::kOk;
    }
};

// 180 days of archive (4 686 records) into each engine, so that connecting and making the tables weigh
// less beside the records: SQLite (0) and PostgreSQL (1).
void BM_ExportLong(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    if (state.range(0) != 0 && !PostgresqlTarget(&target)) {
        state.SkipWithError("ZT5_BENCH_POSTGRESQL not set");
        return;
    }
    RunExports(state, target, Archive(180));
}
BENCHMARK(BM_ExportLong)
    ->ArgName("postgresql")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// The export of BM_ExportPostgresql once, through a relay that counts the round trips to the server.
void BM_ExportRoundTrips(benchmark::State& state)
{
    DatabaseTarget server;
    if (!PostgresqlTarget(&server)) {
        state.SkipWithError("ZT5_BENCH_POSTGRESQL not set");
        return;
    }
    CountingProxy proxy(server.host.toLatin1().constData(), server.port);
    DatabaseTarget relayed = server;
    relayed.host = QStringLiteral("127.0.0.1");
    relayed.port = proxy.Port();
    Clear(server);
    DriverRig rig(Archive(30));
    TellingHost host;
    if (proxy.Port() < 0 || !Fill(server, 0) || !rig.Start()) {
        state.SkipWithError("no relay or no meter");
        return;
    }
    rig.driver.AttachHost(&host);
    std::int64_t records = 0;
    std::int64_t trips = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool emptied = RemoveMeterRows(server);
        proxy.ResetCount();
        state.ResumeTiming();
        ArchiveExport exporter(relayed);
        if (!emptied || !exporter.ExportWholeArchive(rig.driver) || exporter.Counts().written == 0) {
            state.SkipWithError("export failed");
            return;
        }
        records += exporter.Counts().written;
        trips += proxy.RoundTrips();
    }
    state.counters["records"] = double(records) / double(state.iterations());
    state.counters["round_trips"] = double(trips) / double(state.iterations());
    state.counters["round_trips_per_record"] = double(trips) / double(records);
}
BENCHMARK(BM_ExportRoundTrips)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// One day of archive with identity, configuration and descriptors, the meter holding every answer for
// the line time: standard functions and the meter's 0x48, at 9600 and 115200 baud (0: the meter answers
// at once, which shows the program's own time for the same export), RTU over loopback
// TCP and over a pseudo-terminal (the serial port's read path; the kernel hands pty bytes on through a
// worker thread, which on a busy machine waits for a core in each direction).
void BM_ExportAtLineSpeed(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    const RigLine line = state.range(2) != 0 ? RigLine::kPty : RigLine::kTcp;
    RunExports(state, target, Archive(1, int(state.range(0)), std::uint8_t(state.range(1)), line));
}
BENCHMARK(BM_ExportAtLineSpeed)
    ->ArgNames({"baud", "function_set", "pty"})
    ->ArgsProduct({{0, 9600, 115200}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// BM_ExportAtLineSpeed/baud:9600 over a line that damages one answer in ten (the meter's corrupt=0.1,
// one seed): the line limit counts every exchange made, the repeated ones included, so the figure shows
// what a damaged answer costs beyond sending it again. A damaged answer is decided as soon as it is whole
// and the line quiet, and asked for again at once, not after the answer time-out (3 s here).
void BM_ExportAtLineSpeedDamaged(benchmark::State& state)
{
    QTemporaryDir folder;
    DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("Data.sqlite"));
    RigOptions options = Archive(1, 9600, std::uint8_t(state.range(0)));
    options.attempts = 5;
    options.faults.SetRule(FaultKind::Corrupt, FaultRule{0.1, 0});
    RunExports(state, target, options);
}
BENCHMARK(BM_ExportAtLineSpeedDamaged)
    ->ArgName("function_set")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

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
        if (database.Exists(kArchiveHourly, kMeterSerial, stamp)
            || !database.Write(kArchiveHourly, record, kMeterSerial, stamp)) {
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
BENCHMARK(BM_DatabaseRecordSqlite)
    ->ArgName("rows")
    ->Arg(0)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond)
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
BENCHMARK(BM_DatabaseRecordPostgresql)
    ->ArgName("rows")
    ->Arg(0)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond)
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
BENCHMARK(BM_ExportMemory)
    ->ArgName("days")
    ->Arg(20)
    ->Arg(180)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
