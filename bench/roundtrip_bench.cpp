// One ReadRegisters round trip (19 registers, function 3) through CRovoRedod and its real channel,
// against a meter thread that answers the moment a request is complete: over loopback TCP and over a
// pseudo-terminal. A transaction must not wait out a polling interval once the answer is there.

#include "channel/port_table.h"
#include "protocol/rovo_redod.h"
#include "support/pty_pair.h"
#include "support/scripted_meter.h"

#include "support/benchmark_main.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

// Heap allocations made by the benchmark's own thread while it runs transactions; the meter thread on
// the far side of the line does not count. The send/receive path reuses its buffers, so this stays 0.
namespace {
thread_local bool t_countAllocations = false;
std::atomic<long long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size)
{
    if (t_countAllocations)
        ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

constexpr int kPortNumber = 27;
constexpr int kIdentityBytes = 38;

void RunRoundTrips(benchmark::State& state, CRovoRedod& driver)
{
    std::uint8_t record[kIdentityBytes] = {};
    g_allocations = 0;
    t_countAllocations = true;
    for (auto _ : state) {
        if (!driver.ModbusMaster().ReadRegisters(record, record, kIdentityBytes, record, 1, 2)) {
            state.SkipWithError("the meter did not answer");
            break;
        }
        benchmark::DoNotOptimize(record);
    }
    t_countAllocations = false;
    state.SetItemsProcessed(state.iterations());
    state.counters["allocations_per_tx"] = double(g_allocations.load())
        / double(std::max<long long>(1, state.iterations()));
    state.counters["transactions_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ReadRegistersLoopbackTcp(benchmark::State& state)
{
    ScriptedMeter meter;
    const int port = meter.ListenTcp();
    meter.Start();
    CRovoRedod driver;
    ChannelSettings& settings = driver.TransmitChanel().Settings();
    settings.kind = kChannelIp;
    settings.tcp = 1;
    settings.ipAddress = QStringLiteral("127.0.0.1");
    settings.ipPort = port;
    if (port == 0 || !driver.TransmitChanel().Connect()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    RunRoundTrips(state, driver);
    driver.TransmitChanel().Disconnect();
}

void BM_ReadRegistersPty(benchmark::State& state)
{
    PtyPair pty;
    ScriptedMeter meter;
    meter.ServeFd(pty.MasterFd());
    meter.Start();
    PortTable::Global().Assign(kPortNumber, pty.SlavePath());
    CRovoRedod driver;
    ChannelSettings& settings = driver.TransmitChanel().Settings();
    settings.kind = kChannelDirect;
    settings.portNumber = kPortNumber;
    settings.byteSize = 8;
    if (!pty.IsOpen() || !driver.TransmitChanel().Connect()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    RunRoundTrips(state, driver);
    driver.TransmitChanel().Disconnect();
    PortTable::Global().Assign(kPortNumber, QString());
}

BENCHMARK(BM_ReadRegistersLoopbackTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ReadRegistersPty)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
