// Transactions per second of a Modbus client reading the same block of 125 registers (function 3) from
// the same simulated meter, this program's against libmodbus's:
//   ours      CModbusMaster over CTransmitChanel, as the driver runs them, without a host attached;
//   monitored the same with a host that takes every exchange-monitor line (the desktop program's case);
//   libmodbus modbus_read_registers, its debug output off.
// Over loopback Modbus TCP (MBAP framing) and over a pseudo-terminal in Modbus RTU. The meter answers
// at once, so the figure is the clients' and the line's own cost per transaction; run the benchmarks
// side by side and compare transactions_per_s.

#include "channel/port_table.h"
#include "protocol/rovo_redod.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include "support/benchmark_main.h"

#include <benchmark/benchmark.h>

#if ZT5_HAVE_LIBMODBUS
#include <modbus.h>
#endif

#include <cerrno>
#include <cstdint>

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

// Takes every notification and shows nothing, so the monitor lines are formatted as in the program.
class DiscardingHost : public DriverHost {
public:
    int ShowMessageBox(const QString&, const QString&, unsigned) override { return MessageAnswer::kOk; }
    void AppendLogLine(const QString& line) override { characters += line.size(); }
    void SetConnectionText(const QString&) override {}
    void SetOperationText(const QString&) override {}
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester*) override {}
    void CommandFinished(CommandRequester*, int) override {}

    qint64 characters = 0;
};

void Count(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations());
    state.counters["transactions_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void RunOurs(benchmark::State& state, bool tcp, bool monitored)
{
    MeterOnLine line(tcp);
    if (!line.started) {
        state.SkipWithError(line.error.toStdString().c_str());
        return;
    }
    CRovoRedod driver;
    DiscardingHost host;
    ChannelSettings& settings = driver.TransmitChanel().Settings();
    if (tcp) {
        settings.kind = kChannelIp;
        settings.tcp = 1;
        settings.framing = kFramingModbusTcp;
        settings.ipAddress = QStringLiteral("127.0.0.1");
        settings.ipPort = line.server.BoundPort();
    } else {
        PortTable::Global().Assign(kPortNumber, line.server.PtyPath());
        settings.kind = kChannelDirect;
        settings.framing = kFramingRtu;
        settings.portNumber = kPortNumber;
        settings.byteSize = 8;
    }
    if (!driver.TransmitChanel().Connect()) {
        state.SkipWithError("the channel did not open");
        return;
    }
    if (monitored)
        driver.AttachHost(&host);
    std::uint16_t block[kRegisters] = {};
    for (auto _ : state) {
        if (!driver.ModbusMaster().ReadRegisters(block, block, sizeof block, block, 1, 2)) {
            state.SkipWithError("the meter did not answer");
            break;
        }
        benchmark::DoNotOptimize(block);
    }
    driver.AttachHost(nullptr);
    driver.TransmitChanel().Disconnect();
    if (!tcp)
        PortTable::Global().Assign(kPortNumber, QString());
    Count(state);
}

void BM_OursTcp(benchmark::State& state) { RunOurs(state, true, false); }
void BM_OursRtuPty(benchmark::State& state) { RunOurs(state, false, false); }
void BM_OursMonitoredTcp(benchmark::State& state) { RunOurs(state, true, true); }
void BM_OursMonitoredRtuPty(benchmark::State& state) { RunOurs(state, false, true); }

#if ZT5_HAVE_LIBMODBUS
void RunLibmodbus(benchmark::State& state, bool tcp)
{
    MeterOnLine line(tcp);
    if (!line.started) {
        state.SkipWithError(line.error.toStdString().c_str());
        return;
    }
    modbus_t* context = tcp ? modbus_new_tcp("127.0.0.1", line.server.BoundPort())
                            : modbus_new_rtu(line.server.PtyPath().toLocal8Bit().constData(), 115200, 'N', 8, 1);
    if (!context || modbus_set_slave(context, 1) != 0 || modbus_connect(context) != 0) {
        state.SkipWithError("libmodbus did not connect");
        if (context)
            modbus_free(context);
        return;
    }
    std::uint16_t block[kRegisters] = {};
    for (auto _ : state) {
        if (modbus_read_registers(context, 0, kRegisters, block) != kRegisters) {
            state.SkipWithError(modbus_strerror(errno));
            break;
        }
        benchmark::DoNotOptimize(block);
    }
    modbus_close(context);
    modbus_free(context);
    Count(state);
}
#else
void RunLibmodbus(benchmark::State& state, bool)
{
    state.SkipWithError("built without libmodbus (pkg-config found no libmodbus)");
}
#endif

void BM_LibmodbusTcp(benchmark::State& state) { RunLibmodbus(state, true); }
void BM_LibmodbusRtuPty(benchmark::State& state) { RunLibmodbus(state, false); }

// Each pair alternates, so a change of load on the machine hits both alike.
BENCHMARK(BM_OursTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LibmodbusTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OursMonitoredTcp)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OursRtuPty)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LibmodbusRtuPty)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OursMonitoredRtuPty)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
