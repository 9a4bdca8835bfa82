// zt5ctl watch over many meters: one round (--once) over 40 simulated meters on 8 lines, 5 meters of
// their own addresses on each line (an RS-485 bus behind a TCP gateway), every meter holding each answer
// for the line time at 9600 baud; no broker, no metrics page: the round itself is measured.
//   BM_WatchRound   wall time of the run over the busiest line's summed line time (a round can take no
//                   less than the busiest line needs); also the round as the watcher reports it.

#include "sim_meters.h"
#include "support/benchmark_main.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kLines = 8;
constexpr int kMetersPerLine = 5;

void BM_WatchRound(benchmark::State& state)
{
    QTemporaryDir work;
    SimLines lines;
    if (!lines.Start(kLines, kMetersPerLine, 400000, work.path())) {
        state.SkipWithError("a meter, a line or the node base did not start");
        return;
    }
    double wall = 0;
    double longest = 0;
    double round = 0;
    int answered = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lines.Reset();
        state.ResumeTiming();
        QProcess watcher;
        QElapsedTimer clock;
        clock.start();
        watcher.start(QStringLiteral(ZT5CTL_PATH),
                      {QStringLiteral("watch"), QStringLiteral("--once"), QStringLiteral("--workdir"), work.path(),
                       QStringLiteral("--settings"), work.filePath(QStringLiteral("settings.ini"))});
        if (!watcher.waitForFinished(10 * 60 * 1000) || watcher.exitCode() != 0) {
            std::fprintf(stderr, "%s\n", watcher.readAllStandardError().right(2000).constData());
            state.SkipWithError("the round failed");
            return;
        }
        wall += double(clock.nsecsElapsed()) / 1e9;
        longest += lines.LongestLineSeconds();
        // "Опрос: приборов 40, ответили 40, 1.2 с"
        const QRegularExpressionMatch said = QRegularExpression(QStringLiteral("ответили (\\d+), ([0-9.]+) с"))
                                                 .match(QString::fromUtf8(watcher.readAllStandardError()));
        answered = said.captured(1).toInt();
        round += said.captured(2).toDouble();
    }
    const double runs = double(state.iterations());
    state.counters["meters_ok"] = answered;
    state.counters["wall_s"] = wall / runs;
    state.counters["round_s"] = round / runs;
    state.counters["longest_line_s"] = longest / runs;
    state.counters["ratio"] = wall / longest;
}
BENCHMARK(BM_WatchRound)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
