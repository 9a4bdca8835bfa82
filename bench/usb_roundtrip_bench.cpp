// One function-3 round trip through CTransmitChanel of kind USB and its HID link, against a played meter
// that answers from the simulated meter the moment a message is complete: 19 registers (one report
// each way) and 125 registers (one report out, five back). What the link adds over the meter's own
// answer time (sim_answer_bench) is cutting and gathering reports; it must not wait out a polling slice
// once the answer is there.

#include "base/checksums.h"
#include "channel/transmit_channel.h"
#include "channel/usb_hid_link.h"
#include "sim/meter_session.h"
#include "sim/meter_simulator.h"
#include "support/played_hid_device.h"

#include "support/benchmark_main.h"

#include <benchmark/benchmark.h>

#include <mutex>

namespace {

void UsbRoundTrip(benchmark::State& state, int registers)
{
    MeterSimulator simulated(SimOptions{});
    MeterSession session(simulated.Slave(), simulated.Faults(), SessionSettings{});
    auto meter = std::make_shared<PlayedHidDevice>("/dev/hidraw0", QStringLiteral("B1"));
    meter->answer = [&](const QByteArray& message) {
        std::lock_guard<std::mutex> lock(simulated.Lock());
        session.Feed(reinterpret_cast<const std::uint8_t*>(message.constData()), static_cast<int>(message.size()));
        session.LineQuiet();
        const std::vector<SimAction> actions = session.TakeActions();
        return actions.empty() ? QByteArray() : actions.front().bytes;
    };
    auto backend = std::make_unique<PlayedHidBackend>();
    backend->Plug(meter);

    CTransmitChanel channel;
    channel.SetUsbTransport(std::make_unique<UsbHidLink>(std::move(backend)));
    channel.Settings().kind = kChannelUsb;
    channel.Usb()->Enumerate(kUsbVendorId, kUsbProductId, QString::fromUtf8(kUsbManufacturer),
                             QString::fromUtf8(kUsbProduct));
    if (!channel.Connect()) {
        state.SkipWithError("the played meter did not open");
        return;
    }

    std::uint8_t request[8] = {1, 0x03, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(registers)};
    PutLittleEndian16(request + 6, Crc16Modbus(request, 6));
    std::uint8_t answer[kExchangeBufferSize];
    for (auto _ : state) {
        std::uint16_t length = 0;
        if (!channel.WriteData(request, sizeof request)
            || channel.ReadData(answer, kExchangeBufferSize, length, 3000) != kReadFrame) {
            state.SkipWithError("no answer");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
    channel.Disconnect();
}

}  // namespace

BENCHMARK_CAPTURE(UsbRoundTrip, read19, 19)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(UsbRoundTrip, read125, 125)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
