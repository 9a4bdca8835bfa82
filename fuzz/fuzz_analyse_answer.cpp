// An answer of any bytes against a request of any bytes: the check accepts, rejects with a text, or
// tells a stale 0x48 answer, and reads nothing outside either. The input is the framing, the request's
// length, the request, then the answer.

#include "fuzz_input.h"
#include "protocol/modbus_answer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int framing = input.Byte() % 6;
    const std::vector<std::uint8_t> request = input.Bytes(input.Byte());
    const std::vector<std::uint8_t> answer = input.Rest();
    const AnswerCheck check = AnalyseAnswer(request.data(), int(request.size()), answer.data(), int(answer.size()),
                                            framing);
    // Every rejection says why.
    if (check.verdict == kAnswerReject && check.message.isEmpty())
        std::abort();
    if (!answer.empty())
        ExceptionCodeText(answer[0]);
    return 0;
}
