// Transactions per second of a Modbus client reading the same block of 125 registers (function 3) from
// the same simulated meter, this program's against libmodbus's:
//   ours      CModbusMaster over CTransmitChanel, as the driver runs them, without a host attached;
//   monitored the same with a host that takes every exchange-monitor line (the desktop program's case);
//   libmodbus modbus_read_registers, its debug output off.
// Over loopback Modbus TCP (MBAP framing) and over a pseudo-terminal in Modbus RTU. The meter answers
// at once, so the figure is the clients' and the line's own cost per transaction. BM_Paired* run both
// clients in turns and give the ratio; on a loaded machine that is the figure to trust.

#include "channel/port_table.h"
#include "protocol/rovo_redod.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include "quiet_host.h"
#include "support/benchmark_main.h"

#include <benchmark/benchmark.h>

#if ZT5_HAVE_LIBMODBUS
#include <modbus.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int kRegisters = 125;
constexpr int kPortNumber = 28;

// The simulated meter on its own line: loopback TCP in MBAP framing, or its pseudo-terminal in RTU.
struct MeterOnLine {
    explicit MeterOnLine(bool tcp) : meter(Options(tcp)), server(meter) { started = server.Start(&error); }
    static SimOptions Options(bool tcp)
    {
        SimOptions options;
        options.endpoint = tcp ? SimOptions::Endpoint::Tcp : SimOptions::Endpoint::Pty;
        options.framing = tcp ? kFramingModbusTcp : kFramingRtu;
        options.address = 1;
        return options;
    }
    MeterSimulator meter;
    SimServer server;
    QString error;
    bool started = false;
};

// Takes the exchange-monitor lines, formatted as in the program, and shows nothing.
class DiscardingHost : public QuietHost {
public:
    void AppendLogLine(const QString& line) override { characters += line.size(); }

    qint64 characters = 0;
};

void Count(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations());
    state.counters["transactions_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// This program's client: the driver's channel and Modbus master, on a meter of its own.
class OurClient {
public:
    OurClient(bool tcp, bool monitored) : m_line(tcp), m_tcp(tcp), m_monitored(monitored) {}
    ~OurClient()
    {
        m_driver.AttachHost(nullptr);
        m_driver.TransmitChanel().Disconnect();
        if (!m_tcp)
            PortTable::Global().Assign(kPortNumber, QString());
    }
    // Empty when the channel is open, else why not.
    std::string Open()
    {
        if (!m_line.started)
            return m_line.error.toStdString();
        ChannelSettings& settings = m_driver.TransmitChanel().Settings();
        if (m_tcp) {
            settings.kind = kChannelIp;
            settings.tcp = 1;
            settings.framing = kFramingModbusTcp;
            settings.ipAddress = QStringLiteral("127.0.0.1");
            settings.ipPort = m_line.server.BoundPort();
        } else {
            PortTable::Global().Assign(kPortNumber, m_line.server.PtyPath());
            settings.kind = kChannelDirect;
            settings.framing = kFramingRtu;
            settings.portNumber = kPortNumber;
            settings.byteSize = 8;
        }
        if (!m_driver.TransmitChanel().Connect())
            return "the channel did not open";
        if (m_monitored)
            m_driver.AttachHost(&m_host);
        return {};
    }
    bool Read(std::uint16_t* block)
    {
        return m_driver.ModbusMaster().ReadRegisters(block, block, 2 * kRegisters, block, 1, 2);
    }

private:
    MeterOnLine m_line;
    bool m_tcp;
    bool m_monitored;
    CRovoRedod m_driver;
    DiscardingHost m_host;
};

#if ZT5_HAVE_LIBMODBUS
// libmodbus's client on a meter of its own.
class LibmodbusClient {
public:
    explicit LibmodbusClient(bool tcp) : m_line(tcp), m_tcp(tcp) {}
    ~LibmodbusClient()
    {
        if (m_context) {
            modbus_close(m_context);
            modbus_free(m_context);
        }
    }
    std::string Open()
    {
        if (!m_line.started)
            return m_line.error.toStdString();
        m_context = m_tcp ? modbus_new_tcp("127.0.0.1", m_line.server.BoundPort())
                          : modbus_new_rtu(m_line.server.PtyPath().toLocal8Bit().constData(), 115200, 'N', 8, 1);
        if (!m_context || modbus_set_slave(m_context, 1) != 0 || modbus_connect(m_context) != 0)
            return std::string("libmodbus did not connect: ") + modbus_strerror(errno);
        return {};
    }
    bool Read(std::uint16_t* block) { return modbus_read_registers(m_context, 0, kRegisters, block) == kRegisters; }

private:
    MeterOnLine m_line;
    bool m_tcp;
    modbus_t* m_context = nullptr;
};
#endif

template <class Client>
void RunClient(benchmark::State& state, Client& client)
{
    if (const std::string error = client.Open(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::uint16_t block[kRegisters] = {};
    for (auto _ : state) {
        if (!client.Read(block)) {
            state.SkipWithError("the meter did not answer");
            break;
        }
        benchmark::DoNotOptimize(block);
    }
    Count(state);
}

void RunOurs(benchmark::State& state, bool tcp, bool monitored)
{
    OurClient client(tcp, monitored);
    RunClient(state, client);
}

void BM_OursTcp(benchmark::State& state)
{
    RunOurs(state, true, false);
}
void BM_OursRtuPty(benchmark::State& state)
{
    RunOurs(state, false, false);
}
void BM_OursMonitoredTcp(benchmark::State& state)
{
    RunOurs(state, true, true);
}
void BM_OursMonitoredRtuPty(benchmark::State& state)
{
    RunOurs(state, false, true);
}

#if ZT5_HAVE_LIBMODBUS
void RunLibmodbus(benchmark::State& state, bool tcp)
{
    LibmodbusClient client(tcp);
    RunClient(state, client);
}

double Median(std::vector<double>& values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Ours and libmodbus in turns, one transaction each per iteration, each on a meter of its own: a change
// of load on the machine strikes both alike. The ratios are ours over libmodbus in transactions per
// second (above 1: ours is faster), from the total and from the median time of a transaction.
void RunPaired(benchmark::State& state, bool tcp)
{
    OurClient ours(tcp, false);
    LibmodbusClient theirs(tcp);
    std::string error = ours.Open();
    if (error.empty())
        error = theirs.Open();
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    using Clock = std::chrono::steady_clock;
    std::vector<double> ourTimes;
    std::vector<double> theirTimes;
    std::uint16_t block[kRegisters] = {};
    bool oursFirst = true;
    for (auto _ : state) {
        // Who goes first changes every time, so neither always finds the caches the other left.
        double ourSeconds = 0;
        double theirSeconds = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (turn == 0) == oursFirst;
            const Clock::time_point start = Clock::now();
            const bool read = oursNow ? ours.Read(block) : theirs.Read(block);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (!read) {
                state.SkipWithError("a meter did not answer");
                return;
            }
            (oursNow ? ourSeconds : theirSeconds) = seconds;
        }
        oursFirst = !oursFirst;
        ourTimes.push_back(ourSeconds);
        theirTimes.push_back(theirSeconds);
    }
    const double ourTotal = std::accumulate(ourTimes.begin(), ourTimes.end(), 0.0);
    const double theirTotal = std::accumulate(theirTimes.begin(), theirTimes.end(), 0.0);
    state.counters["ours_tx_per_s"] = double(ourTimes.size()) / ourTotal;
    state.counters["libmodbus_tx_per_s"] = double(theirTimes.size()) / theirTotal;
    state.counters["ratio"] = theirTotal / ourTotal;
    const double ourMedian = Median(ourTimes);
    const double theirMedian = Median(theirTimes);
    state.counters["ours_median_us"] = ourMedian * 1e6;
    state.counters["libmodbus_median_us"] = theirMedian * 1e6;
    state.counters["ratio_median"] = theirMedian / ourMedian;
}
#else
void RunLibmodbus(benchmark::State& state, bool)
{
    state.SkipWithError("built without libmodbus (pkg-config found no libmodbus)");
}

void RunPaired(benchmark::State& state, bool tcp)
{
    RunLibmodbus(state, tcp);
}
#endif

void BM_LibmodbusTcp(benchmark::State& state)
{
    RunLibmodbus(state, true);
}
void BM_LibmodbusRtuPty(benchmark::State& state)
{
    RunLibmodbus(state, false);
}
void BM_PairedTcp(benchmark::State& state)
{
    RunPaired(state, true);
}
void BM_PairedRtuPty(benchmark::State& state)
{
    RunPaired(state, false);
}

BENCHMARK(BM_OursTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LibmodbusTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OursMonitoredTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PairedTcp)->UseRealTime()->MinTime(4.0);
BENCHMARK(BM_OursRtuPty)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LibmodbusRtuPty)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OursMonitoredRtuPty)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PairedRtuPty)->UseRealTime()->MinTime(4.0);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
