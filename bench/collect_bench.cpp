// zt5ctl collect over many meters: 40 simulated meters on 8 lines, 5 meters of their own addresses on
// each line (an RS-485 bus behind a TCP gateway: support/bus_relay.h), every meter holding each answer
// for the line time at 9600 baud and one day of archive the database does not have yet.
//   BM_Collect/jobs:8   the lines side by side: wall time over the longest line's summed line time
//                       (the best a collector can do is to keep the busiest line busy all the time);
//   BM_Collect/jobs:1   the same lines one after another, for comparison (ratio over the same limit).
// The database is a new SQLite file each run; the line time, not the database, is what costs here.
//   BM_CollectComplete  the nightly run when nothing is new: 4 meters on lines of their own, answering at
//                       once, each with a full hourly ring (184 days), into an SQLite file that already
//                       holds all of it. The median wall time and processor time of a run (`zt5ctl
//                       collect` as a process); with ZT5_BENCH_COLLECT_BEFORE naming another zt5ctl (the
//                       program before a change), that one runs in turns with this build's, each on a
//                       database file it filled itself, and `ratio` / `cpu_ratio` are this build's medians
//                       over the other's.

#include "sim_meters.h"
#include "support/benchmark_main.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kLines = 8;
constexpr int kMetersPerLine = 5;

// The processor time (user + system) of the children waited for so far, in seconds.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One `zt5ctl collect` of the work folder's node base into `database`; its wall time in seconds, or a
// negative figure when it failed (its stderr's end then goes to stderr). `out` gets its summary, `cpu`
// the processor time it took.
double RunCollector(const QString& program, const QString& work, const QString& database, const QStringList& more = {},
                    QByteArray* out = nullptr, double* cpu = nullptr)
{
    const double cpuBefore = ChildrenCpuSeconds();
    QProcess collector;
    QElapsedTimer clock;
    clock.start();
    collector.start(program,
                    QStringList{QStringLiteral("collect"), QStringLiteral("--format"), QStringLiteral("json"),
                                QStringLiteral("--workdir"), work, QStringLiteral("--settings"),
                                work + QStringLiteral("/settings.ini"), QStringLiteral("--database"),
                                QStringLiteral("sqlite:") + database}
                        + more);
    if (!collector.waitForFinished(30 * 60 * 1000) || collector.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", collector.readAllStandardError().right(2000).constData());
        return -1;
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (cpu)
        *cpu = ChildrenCpuSeconds() - cpuBefore;
    if (out)
        *out = collector.readAllStandardOutput();
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_Collect(benchmark::State& state)
{
    QTemporaryDir work;
    SimLines lines;
    if (!lines.Start(kLines, kMetersPerLine, 300000, work.path())) {
        state.SkipWithError("a meter, a line or the node base did not start");
        return;
    }
    double wall = 0;
    double longest = 0;
    double summed = 0;
    int ok = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(work.filePath(QStringLiteral("Data.sqlite")));
        lines.Reset();
        state.ResumeTiming();
        QByteArray summary;
        const double seconds = RunCollector(QStringLiteral(ZT5CTL_PATH), work.path(),
                                            work.filePath(QStringLiteral("Data.sqlite")),
                                            {QStringLiteral("--jobs"), QString::number(state.range(0))}, &summary);
        if (seconds < 0) {
            state.SkipWithError("the collector failed");
            return;
        }
        wall += seconds;
        ok = QJsonDocument::fromJson(summary).object()[QStringLiteral("meters_ok")].toInt();
        longest += lines.LongestLineSeconds();
        summed += lines.AllLinesSeconds();
    }
    const double runs = double(state.iterations());
    state.counters["meters_ok"] = ok;
    state.counters["wall_s"] = wall / runs;
    state.counters["longest_line_s"] = longest / runs;
    state.counters["all_lines_s"] = summed / runs;
    state.counters["ratio"] = wall / longest;
}
BENCHMARK(BM_Collect)->ArgName("jobs")->Arg(8)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

constexpr int kCompleteMeters = 4;
constexpr int kCompleteDays = 184;  // the hourly ring's 4416 records

void BM_CollectComplete(benchmark::State& state)
{
    std::vector<std::unique_ptr<Meter>> meters;
    std::vector<int> ports;
    for (int i = 0; i < kCompleteMeters; ++i) {
        meters.push_back(std::make_unique<Meter>(1, std::uint32_t(310000 + i), kCompleteDays, 0));
        ports.push_back(meters.back()->Port());
    }
    QTemporaryDir work;
    if (std::count(ports.begin(), ports.end(), 0) > 0 || !WriteNodeBase(work.path(), ports, 1)) {
        state.SkipWithError("a meter did not start");
        return;
    }
    struct Program {
        QString path;
        QString database;
        std::vector<double> runs;
        std::vector<double> cpu;
    };
    std::vector<Program> programs{{QStringLiteral(ZT5CTL_PATH), work.filePath(QStringLiteral("after.sqlite")), {}, {}}};
    const QString before = qEnvironmentVariable("ZT5_BENCH_COLLECT_BEFORE");
    if (!before.isEmpty())
        programs.push_back({before, work.filePath(QStringLiteral("before.sqlite")), {}, {}});
    // Each program fills its own database first, with every record of every meter.
    for (const Program& program : programs) {
        if (RunCollector(program.path, work.path(), program.database) < 0) {
            state.SkipWithError("the first collect failed");
            return;
        }
    }
    std::size_t turn = 0;
    for (auto _ : state) {
        // In turns, each going first as often as the other.
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program& program = programs[(i + turn) % programs.size()];
            QByteArray out;
            double cpu = 0;
            const double seconds = RunCollector(program.path, work.path(), program.database, {}, &out, &cpu);
            const QJsonObject summary = QJsonDocument::fromJson(out).object();
            // Every meter read, nothing new: the database was complete.
            if (seconds < 0 || summary[QStringLiteral("meters_ok")].toInt() != kCompleteMeters
                || summary[QStringLiteral("records_written")].toInt() != 0) {
                state.SkipWithError("the collector failed or found records to write");
                return;
            }
            program.runs.push_back(seconds);
            program.cpu.push_back(cpu);
        }
        ++turn;
    }
    state.counters["meters"] = kCompleteMeters;
    state.counters["median_s"] = Median(programs[0].runs);
    state.counters["cpu_median_s"] = Median(programs[0].cpu);
    if (programs.size() > 1) {
        state.counters["before_median_s"] = Median(programs[1].runs);
        state.counters["before_cpu_median_s"] = Median(programs[1].cpu);
        state.counters["ratio"] = Median(programs[0].runs) / Median(programs[1].runs);
        state.counters["cpu_ratio"] = Median(programs[0].cpu) / Median(programs[1].cpu);
    }
}
BENCHMARK(BM_CollectComplete)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
