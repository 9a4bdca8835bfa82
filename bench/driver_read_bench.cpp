// Identity and the whole configuration read from the simulated meter over loopback TCP (level 515:
// 38 + 8 + 510 + 6 + 22 + 64 bytes in 8 requests), once by calling the operations directly on this
// thread and once as command 1 through the driver's queue, command thread and notifications. The
// difference is what the threads cost on top of the exchanges; "command_us" is the part spent inside
// the command thread, the rest is handing the command over and waking the caller.

#include "quiet_host.h"
#include "support/benchmark_main.h"
#include "support/driver_rig.h"

#include <benchmark/benchmark.h>
#include <QElapsedTimer>

namespace {

// Times each command between its two busy notifications, to tell the command's own time from the
// hand-over between the threads.
class TimingHost : public QuietHost {
public:
    void BusyChanged() override
    {
        if (m_running.isValid()) {
            commandNs += m_running.nsecsElapsed();
            ++commands;
            m_running.invalidate();
        } else {
            m_running.start();
        }
    }

    qint64 commandNs = 0;
    int commands = 0;

private:
    QElapsedTimer m_running;
};

RigOptions Loopback()
{
    RigOptions options;
    options.threads = false;
    return options;
}

// The meter with a configuration, the channel open, the quiet host attached.
bool Prepare(DriverRig& rig, TimingHost& host)
{
    rig.PutMeterConfiguration(DistinctConfiguration(3, 0));
    if (!rig.Start() || !rig.driver.OpenChannel())
        return false;
    rig.driver.AttachHost(&host);
    return true;
}

void Finish(benchmark::State& state, const DriverRig& rig)
{
    state.SetItemsProcessed(state.iterations());
    state.counters["requests_per_read"] = benchmark::Counter(
        double(rig.server.Requests()) / double(std::max<benchmark::IterationCount>(1, state.iterations())));
}

void BM_ReadIdentityAndConfigurationDirect(benchmark::State& state)
{
    DriverRig rig(Loopback());
    TimingHost host;
    if (!Prepare(rig, host)) {
        state.SkipWithError("no loopback meter");
        return;
    }
    for (auto _ : state) {
        if (!rig.driver.Operations().ReadVersionInfo() || !rig.driver.Operations().ReadAllTunes()) {
            state.SkipWithError("the read failed");
            break;
        }
    }
    Finish(state, rig);
}

void BM_ReadIdentityAndConfigurationThroughThreads(benchmark::State& state)
{
    DriverRig rig(Loopback());
    TimingHost host;
    if (!Prepare(rig, host)) {
        state.SkipWithError("no loopback meter");
        return;
    }
    rig.driver.StartThreads();
    for (auto _ : state) {
        if (!rig.Run(kCommandReadConfiguration) || !rig.driver.IsDeviceConnected()) {
            state.SkipWithError("the read failed");
            break;
        }
    }
    Finish(state, rig);
    state.counters["command_us"] = double(host.commandNs) / 1000.0 / std::max(1, host.commands);
}

BENCHMARK(BM_ReadIdentityAndConfigurationDirect)->UseRealTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_ReadIdentityAndConfigurationThroughThreads)->UseRealTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
