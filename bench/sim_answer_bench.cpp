// The simulated meter's own time for one request: a function-3 read of 125 registers found in the
// bytes of the line, answered from the image and framed for the wire. It must stay far below the
// master's round trip so the simulator is never what a benchmark measures.

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "sim/meter_session.h"
#include "sim/meter_simulator.h"

#include <benchmark/benchmark.h>

namespace {

void AnswerRead125(benchmark::State& state, int framing, const QByteArray& request)
{
    SimOptions options;
    options.address = 1;
    MeterSimulator meter(options);
    SessionSettings settings;
    settings.framing = framing;
    MeterSession session(meter.Slave(), meter.Faults(), settings);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(request.constData());
    for (auto _ : state) {
        session.Feed(bytes, static_cast<int>(request.size()));
        auto actions = session.TakeActions();
        if (actions.size() != 1) {
            state.SkipWithError("no answer");
            break;
        }
        benchmark::DoNotOptimize(actions);
    }
    state.SetItemsProcessed(state.iterations());
}

QByteArray RtuRead125()
{
    std::uint8_t frame[8] = {1, 0x03, 0x00, 0x00, 0x00, 125};
    PutLittleEndian16(frame + 6, Crc16Modbus(frame, 6));
    return QByteArray(reinterpret_cast<const char*>(frame), 8);
}

void BM_SimAnswerRead125Rtu(benchmark::State& state)
{
    AnswerRead125(state, kFramingRtu, RtuRead125());
}

void BM_SimAnswerRead125Ascii(benchmark::State& state)
{
    // ":" 01 03 0000 007D, LRC 7F, CR LF
    AnswerRead125(state, kFramingAscii, QByteArray(":01030000007D7F\r\n"));
}

}  // namespace

BENCHMARK(BM_SimAnswerRead125Rtu);
BENCHMARK(BM_SimAnswerRead125Ascii);
BENCHMARK_MAIN();
