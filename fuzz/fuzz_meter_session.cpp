// The simulated meter's slave side against whatever a peer sends, in every framing: the bytes come in
// pieces, the line goes quiet now and then, and the meter answers or stays silent. It must never read
// or write outside its buffers, never hold more than its bound, and every answer it gives must be a
// sound frame of the line's framing (no faults are planned here).
//
// Input: a mode byte (framing, whether the line can be dropped), then pieces, each a length byte and
// that many bytes; a piece of length 0 is a silence.

#include "channel/channel_types.h"
#include "channel/wire_framing.h"
#include "fuzz_input.h"
#include "sim/meter_session.h"
#include "sim/meter_simulator.h"

#include <cstdlib>
#include <memory>

namespace {

bool SoundAnswer(int framing, const QByteArray& wire)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(wire.constData());
    const int length = static_cast<int>(wire.size());
    std::uint8_t unit[kExchangeBufferSize];
    int unitLength = 0;
    FrameBounds bounds;
    switch (framing) {
        case kFramingAscii:
            return FindAsciiFrame(bytes, length, bounds) && bounds.start == 0 && bounds.end == length - 1
                && DecodeAsciiFrame(bytes, bounds, unit, sizeof unit, unitLength);
        case kFramingPpp:
            return FindStuffedFrame(bytes, length, bounds)
                && UnstuffFrame(bytes, bounds, unit, sizeof unit, unitLength);
        case kFramingModbusTcp:
            return MbapPayloadLength(bytes, length) == length - 6;
        default:
            return RtuChecksumOk(bytes, length, framing == kFramingRtuX25);
    }
}

MeterSimulator& Meter()
{
    // One meter for the whole run, as one meter serves every peer of a server.
    static MeterSimulator meter([] {
        SimOptions options;
        options.address = 1;
        return options;
    }());
    return meter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static constexpr int kFramings[] = {kFramingRtu, kFramingAscii, kFramingPpp, kFramingModbusTcp, kFramingRtuX25};
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    SessionSettings settings;
    settings.framing = kFramings[mode % 5];
    settings.closeAllowed = (mode & 0x80) != 0;
    MeterSimulator& meter = Meter();
    MeterSession session(meter.Slave(), meter.Faults(), settings);

    for (int pieces = 0; pieces < 64; ++pieces) {
        const std::size_t length = input.Byte();
        const std::vector<std::uint8_t> piece = input.Bytes(length);
        if (length == 0 && piece.empty())
            session.LineQuiet();
        else
            session.Feed(piece.data(), static_cast<int>(piece.size()));
        for (const SimAction& action : session.TakeActions()) {
            if (action.type == SimAction::Send && !SoundAnswer(settings.framing, action.bytes))
                std::abort();
            if (action.type == SimAction::Close && !settings.closeAllowed)
                std::abort();
        }
        if (piece.empty() && length != 0)
            break;  // the input is used up
    }
    session.LineQuiet();
    for (const SimAction& action : session.TakeActions()) {
        if (action.type == SimAction::Send && !SoundAnswer(settings.framing, action.bytes))
            std::abort();
    }
    return 0;
}
