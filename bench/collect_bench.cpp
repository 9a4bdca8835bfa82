// zt5ctl collect over many meters: 40 simulated meters on 8 lines, 5 meters of their own addresses on
// each line (an RS-485 bus behind a TCP gateway: support/bus_relay.h), every meter holding each answer
// for the line time at 9600 baud and one day of archive the database does not have yet.
//   BM_Collect/jobs:8   the lines side by side: wall time over the longest line's summed line time
//                       (the best a collector can do is to keep the busiest line busy all the time);
//   BM_Collect/jobs:1   the same lines one after another, for comparison (ratio over the same limit).
// The database is a new SQLite file each run; the line time, not the database, is what costs here.

#include "channel/channel_types.h"
#include "nodes/node_base.h"
#include "support/benchmark_main.h"
#include "support/bus_relay.h"

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

namespace {

constexpr int kLines = 8;
constexpr int kMetersPerLine = 5;
constexpr int kBaud = 9600;

// One simulated meter in a process of its own; Port() is its TCP port, 0 when it did not start.
class Meter {
public:
    Meter(int address, std::uint32_t serial)
    {
        m_process.start(QStringLiteral(ZT5_SIM_PATH),
                        {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--address"),
                         QString::number(address), QStringLiteral("--serial-number"), QString::number(serial),
                         QStringLiteral("--archive-days"), QStringLiteral("1"), QStringLiteral("--archive-end"),
                         QStringLiteral("2024-02-26T12"), QStringLiteral("--baud-delay"), QString::number(kBaud)});
        const QDeadlineTimer deadline(10000);
        while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        m_port = QString::fromUtf8(m_process.readLine()).trimmed().section(u':', 1).toInt();
    }
    ~Meter()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    int Port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

// The node base of the lines: node "Линия L, прибор A" at the gateway's port and address A.
bool WriteNodeBase(const QString& work, const std::vector<std::unique_ptr<BusRelay>>& lines)
{
    NodeBase base;
    for (int line = 0; line < int(lines.size()); ++line) {
        for (int address = 1; address <= kMetersPerLine; ++address) {
            NodeEntry entry;
            entry.record = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
            entry.record.SetName(QStringLiteral("Линия %1, прибор %2").arg(line + 1).arg(address));
            entry.record.SetIpAddress(QStringLiteral("127.0.0.1"));
            entry.record.SetIpPort(lines[std::size_t(line)]->Port());
            entry.record.SetIpProtocol(NodeRecord::kIpProtocolTcp);
            entry.record.SetNetworkAddress(address);
            entry.record.SetFunctionSet(1);
            base.Append(entry);
        }
    }
    UserMessage failure;
    return QDir(work).mkpath(QStringLiteral("Base")) && base.Save(work, &failure);
}

void BM_Collect(benchmark::State& state)
{
    std::vector<std::unique_ptr<Meter>> meters;
    std::vector<std::unique_ptr<BusRelay>> lines;
    for (int line = 0; line < kLines; ++line) {
        std::vector<int> ports;
        for (int address = 1; address <= kMetersPerLine; ++address) {
            meters.push_back(std::make_unique<Meter>(address, std::uint32_t(300000 + line * 100 + address)));
            ports.push_back(meters.back()->Port());
        }
        lines.push_back(std::make_unique<BusRelay>(ports, kBaud));
        if (lines.back()->Port() < 0 || std::count(ports.begin(), ports.end(), 0) > 0) {
            state.SkipWithError("a meter or a line did not start");
            return;
        }
    }
    QTemporaryDir work;
    if (!WriteNodeBase(work.path(), lines)) {
        state.SkipWithError("could not write the node base");
        return;
    }
    double wall = 0;
    double longest = 0;
    double summed = 0;
    int ok = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(work.filePath(QStringLiteral("Data.sqlite")));
        for (auto& line : lines)
            line->Reset();
        state.ResumeTiming();
        QProcess collector;
        QElapsedTimer clock;
        clock.start();
        collector.start(
            QStringLiteral(ZT5CTL_PATH),
            {QStringLiteral("collect"), QStringLiteral("--jobs"), QString::number(state.range(0)),
             QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--workdir"), work.path(),
             QStringLiteral("--settings"), work.filePath(QStringLiteral("settings.ini")), QStringLiteral("--database"),
             QStringLiteral("sqlite:") + work.filePath(QStringLiteral("Data.sqlite"))});
        if (!collector.waitForFinished(30 * 60 * 1000) || collector.exitCode() != 0) {
            state.SkipWithError("the collector failed");
            std::fprintf(stderr, "%s\n", collector.readAllStandardError().right(2000).constData());
            return;
        }
        wall += double(clock.nsecsElapsed()) / 1e9;
        ok = QJsonDocument::fromJson(collector.readAllStandardOutput()).object()[QStringLiteral("meters_ok")].toInt();
        double slowest = 0;
        for (auto& line : lines) {
            slowest = std::max(slowest, line->LineSeconds());
            summed += line->LineSeconds();
        }
        longest += slowest;
    }
    const double runs = double(state.iterations());
    state.counters["meters_ok"] = ok;
    state.counters["wall_s"] = wall / runs;
    state.counters["longest_line_s"] = longest / runs;
    state.counters["all_lines_s"] = summed / runs;
    state.counters["ratio"] = wall / longest;
}
BENCHMARK(BM_Collect)->ArgName("jobs")->Arg(8)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
