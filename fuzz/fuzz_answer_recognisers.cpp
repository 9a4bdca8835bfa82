// Whatever a line brings back after a request, in any framing: the channel's recogniser finds one
// frame or asks for more, and never reads or writes outside its buffers. The input is the framing, the
// length-check flag and the request's wire bytes, then what was received.

#include "channel/channel_types.h"
#include "channel/modem_message_scan.h"
#include "channel/wire_framing.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const int framing = mode % 6;  // RTU, ASCII, stuffed, transparent, MBAP, RTU/X.25
    const bool lengthCheck = (mode & 0x80) != 0;
    const std::vector<std::uint8_t> sent = input.Bytes(input.Byte());
    const std::vector<std::uint8_t> received = input.Rest();

    // As the channel calls it: the whole exchange buffer to put the answer in...
    std::vector<std::uint8_t> out(kExchangeBufferSize);
    int length = -1;
    if (RecogniseAnswer(framing, received.data(), int(received.size()), sent.data(), int(sent.size()), lengthCheck,
                        out.data(), int(out.size()), length)
            == Recognition::kComplete
        && (length < 0 || length > int(out.size())))
        std::abort();
    // ...and with hardly any room, which must be refused rather than overrun.
    std::vector<std::uint8_t> small(mode % 8);
    RecogniseAnswer(framing, received.data(), int(received.size()), sent.data(), int(sent.size()), lengthCheck,
                    small.data(), int(small.size()), length);

    FindModemMessage(received.data(), int(received.size()));
    ExpectedRtuAnswerLength(sent.data(), int(sent.size()));
    return 0;
}
