// CTransmitChanel::ReadData: gathering an answer frame from the transport of the channel's kind.

#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/modem_message_scan.h"
#include "channel/usb_transport.h"
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

    switch (m_settings.kind) {
    case kChannelUsb:
    case kChannelDirect:
    case kChannelModem:
    case kChannelIp:
    case kChannelSharedMemory:
        break;
    default:
        Report("Ошибка выполнения CTransmitChanel::ReadData!");
        return kReadFailed;
    }

    for (;;) {
        if (m_owner && m_owner->StopRequested())
            return kReadStopped;
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= timeoutMs)
            return TimeoutResult();
        // The transport waits at most for what is left of the caller's time-out.
        const int left = static_cast<int>(timeoutMs - elapsed);
        int result = m_settings.kind == kChannelUsb ? ReadMoreUsb(left) : ReadMore(left);
        if (result == kGoOn)
            result = ExamineSettled(dest, capacity, outLength, static_cast<int>(timeoutMs - clock.elapsed()));
        if (result != kGoOn)
            return result;
    }
}

int CTransmitChanel::ExamineSettled(std::uint8_t* dest, int capacity, std::uint16_t& outLength, int leftMs)
{
    for (;;) {
        const int result = ExamineReceived(dest, capacity, outLength);
        if (result != kGoOn
            || !AnswerLengthReached(m_settings.framing, m_receive, m_receiveLength, m_transmit, m_transmitLength))
            return result;
        // A frame as long as the answer and no answer in it (a bad checksum, say). If the line stays quiet,
        // that was all the meter sent: waiting out the time-out would only delay the retry.
        const std::uint16_t before = m_receiveLength;
        const int gap = std::clamp(QuietGapMs(), 0, std::max(leftMs, 0));
        const int more = m_settings.kind == kChannelUsb ? ReadMoreUsb(gap) : ReadMore(gap);
        if (m_receiveLength != before)
            continue;  // it goes on (noise ahead of the answer): look again
        if (more == kReadTimeoutEmpty || more == kReadTimeoutGarbage)
            return kReadTimeoutGarbage;
        return more;
    }
}

int CTransmitChanel::QuietGapMs() const
{
    // 3.5 characters of 11 bits: 0.33 ms at 115200 baud, 4 ms at 9600; never below what a read can
    // tell apart. A socket, a shared block or USB hands a frame on at once, in one piece or a few close
    // behind each other; a modem passes it on in its own blocks, with pauses of its own.
    constexpr int kMinimumMs = 2;
    constexpr int kChunkedMs = 3;
    constexpr int kModemMs = 20;
    if (m_settings.kind == kChannelModem)
        return kModemMs;
    if (m_settings.kind != kChannelDirect)
        return kChunkedMs;
    const int baud = std::max<int>(m_settings.baudRate, 1);
    return std::max(kMinimumMs, (35 * 11 * 1000 / 10 + baud - 1) / baud);
}

int CTransmitChanel::ReadMore(int timeoutMs)
{
    ChannelTransport* transport = nullptr;
    switch (m_settings.kind) {
    case kChannelIp:
        transport = &m_ipSocket;
        break;
    case kChannelSharedMemory:
        transport = &m_mapFile;
        break;
    default:
        transport = &m_serialPort;
        break;
    }
    int received = m_receiveLength;
    const int result = transport->Read(m_receive + m_receiveLength, kExchangeBufferSize - m_receiveLength, received,
                                       timeoutMs);
    m_receiveLength = static_cast<std::uint16_t>(std::clamp<int>(received, m_receiveLength, kExchangeBufferSize));
    if (result == kTransportOk)
        return kGoOn;
    if (result == kTransportTimeout)
        return TimeoutResult();
    return result;
}

int CTransmitChanel::ReadMoreUsb(int timeoutMs)
{
    int result = kUsbNotOpen;
    if (m_usb) {
        int received = m_receiveLength;
        result = m_usb->Read(m_receive + m_receiveLength, kExchangeBufferSize - m_receiveLength, received, timeoutMs);
        m_receiveLength = static_cast<std::uint16_t>(std::clamp<int>(received, m_receiveLength, kExchangeBufferSize));
    }
    switch (result) {
    case kUsbOk:
        return kGoOn;
    case kUsbTimeout:
        return TimeoutResult();
    case kUsbStopped:
        return kReadStopped;
    default:
        // The USB link returns its failures without telling anyone; result 4 promises the user was told.
        Report("Не удалось прочитать данные из USB порта!");
        return kReadFailed;
    }
}

// A line that echoes the request and a meter that stays silent is silence, not a damaged answer.
int CTransmitChanel::TimeoutResult() const
{
    const bool onlyEcho = m_receiveLength <= m_transmitLength
                          && std::memcmp(m_receive, m_transmit, m_receiveLength) == 0;
    return onlyEcho ? kReadTimeoutEmpty : kReadTimeoutGarbage;
}

int CTransmitChanel::ExamineReceived(std::uint8_t* dest, int capacity, std::uint16_t& outLength)
{
    if (m_settings.kind == kChannelModem) {
        if (const char* message = FindModemMessage(m_receive, m_receiveLength)) {
            m_settings.modemConnected = 0;
            ReportToOwner(m_owner, QString::fromUtf8("Сообщение от модема: ") + QString::fromUtf8(message)
                                       + QStringLiteral("\r\n"));
            return kReadFailed;
        }
    }
    if (m_receiveLength > capacity) {
        Report("Возможно переполнение буфера в CTransmitChanel::ReadData!\r\n");
        return kReadFailed;
    }
    int length = 0;
    switch (RecogniseAnswer(m_settings.framing, m_receive, m_receiveLength, m_transmit, m_transmitLength,
                            m_settings.answerLengthCheck != 0, dest, capacity, length)) {
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
