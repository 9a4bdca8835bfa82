// CTransmitChanel::ReadData: gathering an answer frame from the transport of the channel's kind.

#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/channel_transport.h"
#include "channel/wire_framing.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kGoOn = -1;

}  // namespace

int CTransmitChanel::ReadData(std::uint8_t* dest, int capacity, std::uint16_t& outLength, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    if (!dest || capacity < 0)
        capacity = 0;
    if (capacity > 0)
        std::memset(dest, 0, static_cast<std::size_t>(capacity));
    outLength = 0;
    std::memset(m_receive, 0, sizeof m_receive);
    m_receiveLength = 0;

    ChannelTransport* transport = Transport();
    if (!transport) {
        Report("Ошибка выполнения CTransmitChanel::ReadData!");
        return kReadFailed;
    }

    for (;;) {
        if (m_links.owner && m_links.owner->StopRequested())
            return kReadStopped;
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= timeoutMs)
            return TimeoutResult();
        // The transport waits at most for what is left of the caller's time-out.
        const int left = static_cast<int>(timeoutMs - elapsed);
        int result = ReadMore(*transport, left);
        if (result == kGoOn)
            result = ExamineSettled(*transport, dest, capacity, outLength,
                                    static_cast<int>(timeoutMs - clock.elapsed()));
        if (result != kGoOn)
            return result;
    }
}

int CTransmitChanel::ExamineSettled(ChannelTransport& transport, std::uint8_t* dest, int capacity,
                                    std::uint16_t& outLength, int leftMs)
{
    for (;;) {
        const int result = ExamineReceived(transport, dest, capacity, outLength);
        if (result != kGoOn
            || !AnswerLengthReached(m_links.settings.framing, m_receive, m_receiveLength, m_transmit, m_transmitLength))
            return result;
        // A frame as long as the answer and no answer in it (a bad checksum, say). If the line stays quiet,
        // that was all the meter sent: waiting out the time-out would only delay the retry.
        const std::uint16_t before = m_receiveLength;
        const int gap = std::clamp(transport.QuietGapMs(), 0, std::max(leftMs, 0));
        const int more = ReadMore(transport, gap);
        if (m_receiveLength != before)
            continue;  // it goes on (noise ahead of the answer): look again
        if (more == kReadTimeoutEmpty || more == kReadTimeoutGarbage)
            return kReadTimeoutGarbage;
        return more;
    }
}

int CTransmitChanel::ReadMore(ChannelTransport& transport, int timeoutMs)
{
    int received = m_receiveLength;
    const int result = transport.Read(m_receive + m_receiveLength, kExchangeBufferSize - m_receiveLength, received,
                                      timeoutMs);
    m_receiveLength = static_cast<std::uint16_t>(std::clamp<int>(received, m_receiveLength, kExchangeBufferSize));
    if (result == kTransportOk)
        return kGoOn;
    if (result == kTransportTimeout)
        return TimeoutResult();
    return result;
}

// A line that echoes the request and a meter that stays silent is silence, not a damaged answer.
int CTransmitChanel::TimeoutResult() const
{
    const bool onlyEcho = m_receiveLength <= m_transmitLength
        && std::memcmp(m_receive, m_transmit, m_receiveLength) == 0;
    return onlyEcho ? kReadTimeoutEmpty : kReadTimeoutGarbage;
}

int CTransmitChanel::ExamineReceived(ChannelTransport& transport, std::uint8_t* dest, int capacity,
                                     std::uint16_t& outLength)
{
    if (transport.LineDropped(m_receive, m_receiveLength))
        return kReadFailed;
    if (m_receiveLength > capacity) {
        Report("Возможно переполнение буфера в CTransmitChanel::ReadData!\r\n");
        return kReadFailed;
    }
    int length = 0;
    switch (RecogniseAnswer(m_links.settings.framing, m_receive, m_receiveLength, m_transmit, m_transmitLength,
                            m_links.settings.answerLengthCheck != 0, dest, capacity, length)) {
        case Recognition::kComplete:
            outLength = static_cast<std::uint16_t>(length);
            return kReadFrame;
        case Recognition::kNotYet:
            return kGoOn;
        case Recognition::kUnknownFraming:
            break;
    }
    Report("Ошибка выполнения CTransmitChanel::ReadData!\r\n");
    return kReadFailed;
}
