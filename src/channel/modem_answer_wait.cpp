#include "channel/modem_answer_wait.h"

#include "channel/channel_owner.h"
#include "channel/channel_types.h"
#include "channel/serial_port.h"

#include <QElapsedTimer>

#include <algorithm>

bool IsCompleteModemAnswer(const QByteArray& answer)
{
    if (answer.startsWith("\r\n"))
        return answer.size() > 2 && answer.endsWith("\r\n");
    return answer.size() > 1 && answer.endsWith('\r');
}

int ClassifyModemAnswer(const QByteArray& answer, const char* expected1, const char* expected2)
{
    if ((expected1 && answer.contains(expected1)) || (expected2 && answer.contains(expected2)))
        return kModemOk;
    if (answer.contains("\r\nERROR\r\n") || answer.contains("4\r"))
        return kModemError;
    return kModemUnexpected;
}

int WaitModemAnswer(CCommPortClass& port, const ChannelOwner* owner, const QByteArray& command, const char* expected1,
                    const char* expected2, int timeoutMs, QByteArray* answer)
{
    std::uint8_t buffer[kExchangeBufferSize];
    int length = 0;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (owner && owner->StopRequested())
            return kModemStopped;
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= timeoutMs)
            return kModemNoAnswer;
        // Each read waits only for what is left of the whole time-out, so the wait never overruns it.
        const int left = static_cast<int>(std::max<qint64>(1, timeoutMs - elapsed));
        const int read = port.Read(buffer + length, kExchangeBufferSize - length, length, left);
        if (read == kTransportTimeout)
            continue;
        if (read == kTransportStopped)
            return kModemStopped;
        if (read != kTransportOk)
            return kModemPortFailure;

        const QByteArray received(reinterpret_cast<const char*>(buffer), length);
        const qsizetype echo = command.isEmpty() ? -1 : received.indexOf(command);
        const QByteArray reply = echo < 0 ? received : received.mid(echo + command.size());
        if (!IsCompleteModemAnswer(reply))
            continue;
        if (answer)
            *answer = reply;
        return ClassifyModemAnswer(reply, expected1, expected2);
    }
}
