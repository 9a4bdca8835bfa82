#include "meter_session.h"

#include "line_time.h"

#include "base/checksums.h"
#include "channel/channel_types.h"
#include "channel/modbus_functions.h"
#include "channel/wire_framing.h"

namespace {

constexpr int kAnswerCapacity = 300;
// The longest request unit the meter takes (address to last data byte), and with its RTU checksum.
constexpr int kMaxRequestUnit = ModbusSlave::kMaxRequestUnit;
constexpr int kMaxRtuRequest = kMaxRequestUnit + 2;
// A line that never completes a frame must not grow the buffer for ever.
constexpr int kMaxPending = 2 * kExchangeBufferSize;

// Length of an RTU request from its header: -1 when more bytes are needed to tell, -2 when the function
// has no length rule of its own (the frame then ends where the line goes quiet).
int RtuRequestLength(const std::uint8_t* bytes, int length)
{
    if (length < 2)
        return -1;
    switch (bytes[1]) {
        case Modbus::kReadHoldingRegisters:
        case Modbus::kReadInputRegisters:
            return 8;
        case Modbus::kWriteMultipleRegisters:
            return length < 7 ? -1 : 7 + ((bytes[6] + 1) & ~1) + 2;
        case Modbus::kReadWrite48:
            return length < 12 ? -1 : 14 + ((GetBigEndian16(bytes + 10) + 1) & ~1) + 2;
        default:
            return -2;
    }
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

MeterSession::MeterSession(ModbusSlave& slave, FaultPlan& faults, const SessionSettings& settings)
    : m_slave(slave), m_faults(faults), m_settings(settings)
{}

void MeterSession::Feed(const std::uint8_t* bytes, int length)
{
    if (m_closing)
        return;
    m_buffer.append(reinterpret_cast<const char*>(bytes), length);
    bool took = true;
    while (took && !m_buffer.isEmpty()) {
        switch (m_settings.framing) {
            case kFramingAscii:
                took = TakeAscii();
                break;
            case kFramingPpp:
                took = TakeStuffed();
                break;
            case kFramingModbusTcp:
                took = TakeMbap();
                break;
            default:
                took = TakeRtu(false);
                break;
        }
    }
    if (m_buffer.size() > kMaxPending)
        m_buffer.remove(0, m_buffer.size() - kMaxPending);
}

bool MeterSession::NeedsFrameGap() const
{
    return !m_buffer.isEmpty() && (m_settings.framing == kFramingRtu || m_settings.framing == kFramingRtuX25);
}

void MeterSession::LineQuiet()
{
    // Whatever is left after a silence cannot become a frame any more in RTU; the delimited framings
    // keep their bytes, since their scanners skip to the next start flag anyway.
    if (!NeedsFrameGap())
        return;
    while (!m_buffer.isEmpty() && TakeRtu(true)) {}
    m_buffer.clear();
}

bool MeterSession::TakeRtu(bool quiet)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_buffer.constData());
    int length = RtuRequestLength(bytes, static_cast<int>(m_buffer.size()));
    if (length == -2 && quiet)
        length = static_cast<int>(m_buffer.size());
    // A header that promises more than any request the meter takes is noise, and so, after a silence,
    // is one that wants more bytes than came: the frame may start further on.
    if (length > kMaxRtuRequest)
        return SkipRtuByte();
    // Bytes of no known length wait for the silence that ends them, unless a whole, sound request
    // already stands behind them: then they were noise.
    if (length == -2)
        return SkipToSoundRtuFrame();
    if (length < 0 || length > m_buffer.size())
        return quiet && SkipRtuByte();
    // A meter stays silent on a frame with a bad CRC. The bytes may be noise in front of a real
    // request, so the search goes on one byte further rather than dropping the burst.
    if (length < 4 || !RtuChecksumOk(bytes, length, m_settings.framing == kFramingRtuX25))
        return SkipRtuByte();
    const QByteArray frame = m_buffer.left(length);
    m_buffer.remove(0, length);
    Handle(reinterpret_cast<const std::uint8_t*>(frame.constData()), length - 2, frame, 0);
    return true;
}

bool MeterSession::SkipToSoundRtuFrame()
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_buffer.constData());
    const int size = static_cast<int>(m_buffer.size());
    for (int start = 1; start + 4 <= size; ++start) {
        const int length = RtuRequestLength(bytes + start, size - start);
        if (length >= 4 && length <= kMaxRtuRequest && start + length <= size
            && RtuChecksumOk(bytes + start, length, m_settings.framing == kFramingRtuX25)) {
            m_buffer.remove(0, start);
            return true;
        }
    }
    return false;
}

bool MeterSession::SkipRtuByte()
{
    m_buffer.remove(0, 1);
    return !m_buffer.isEmpty();
}

bool MeterSession::TakeAscii()
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_buffer.constData());
    FrameBounds bounds;
    if (!FindAsciiFrame(bytes, static_cast<int>(m_buffer.size()), bounds))
        return false;
    std::uint8_t unit[kExchangeBufferSize];
    int unitLength = 0;
    const bool valid = DecodeAsciiFrame(bytes, bounds, unit, sizeof unit, unitLength) && unitLength >= 3;
    const QByteArray wire = m_buffer.mid(bounds.start, bounds.end - bounds.start + 1);
    m_buffer.remove(0, bounds.end + 1);
    if (valid)
        Handle(unit, unitLength - 1, wire, 0);  // the LRC is not part of the unit
    return true;
}

bool MeterSession::TakeStuffed()
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_buffer.constData());
    FrameBounds bounds;
    if (!FindStuffedFrame(bytes, static_cast<int>(m_buffer.size()), bounds))
        return false;
    std::uint8_t unit[kExchangeBufferSize];
    int unitLength = 0;
    const bool valid = UnstuffFrame(bytes, bounds, unit, sizeof unit, unitLength) && unitLength >= 4;
    const QByteArray wire = m_buffer.mid(bounds.start, bounds.end - bounds.start + 1);
    m_buffer.remove(0, bounds.end + 1);
    if (valid)
        Handle(unit, unitLength - 2, wire, 0);
    return true;
}

bool MeterSession::TakeMbap()
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_buffer.constData());
    if (m_buffer.size() >= 6) {
        // A foreign protocol id, or a length no request of the meter has: the peer does not speak
        // Modbus TCP, and nothing after it can be trusted. A stream that can be dropped is; on any other
        // line the search for a header goes on one byte further.
        const int length = GetBigEndian16(bytes + 4);
        if (GetBigEndian16(bytes + 2) != 0 || length < 2 || length > kMaxRequestUnit) {
            if (m_settings.closeAllowed) {
                m_buffer.clear();
                m_closing = true;
                m_actions.push_back({SimAction::Close, {}, {}});
                return false;
            }
            m_buffer.remove(0, 1);
            return true;
        }
    }
    const int payload = MbapPayloadLength(bytes, static_cast<int>(m_buffer.size()));
    if (payload < 0)
        return false;
    const std::uint16_t transaction = GetBigEndian16(bytes);
    const QByteArray wire = m_buffer.left(6 + payload);
    m_buffer.remove(0, 6 + payload);
    Handle(reinterpret_cast<const std::uint8_t*>(wire.constData()) + 6, payload, wire, transaction);
    return true;
}

void MeterSession::Handle(const std::uint8_t* unit, int unitLength, const QByteArray& wireRequest,
                          std::uint16_t mbapTransaction)
{
    ++m_requests;
    std::uint8_t answer[kAnswerCapacity];
    const int answerLength = m_slave.Answer(unit, unitLength, answer, sizeof answer);
    if (answerLength == 0)
        return;

    // Every kind is asked once per answer in a fixed order, so a seed replays the same faults.
    const bool close = m_faults.Strike(FaultKind::Close) && m_settings.closeAllowed;
    const bool drop = m_faults.Strike(FaultKind::Drop);
    const bool corrupt = m_faults.Strike(FaultKind::Corrupt) && m_settings.framing != kFramingModbusTcp;
    const bool delay = m_faults.Strike(FaultKind::Delay);
    const bool late = answer[1] == Modbus::kReadWrite48 && m_faults.Strike(FaultKind::Late);
    const bool echo = m_faults.Strike(FaultKind::Echo);
    const bool garbage = m_faults.Strike(FaultKind::Garbage);

    if (close) {
        m_actions.push_back({SimAction::Close, {}, {}});
        return;
    }
    if (drop)
        return;

    QByteArray wire = Encode(answer, answerLength, mbapTransaction);
    if (corrupt && !wire.isEmpty()) {
        if (m_settings.framing == kFramingAscii) {
            // Change one hex digit so the frame still scans but its LRC no longer matches.
            int position = 1 + static_cast<int>(m_faults.NextRandom() % (wire.size() - 3));
            while (position > 1 && !IsHexDigit(wire[position]))
                --position;
            wire[position] = wire[position] == '0' ? '1' : '0';
        } else {
            const int position = static_cast<int>(m_faults.NextRandom() % wire.size());
            wire[position] = static_cast<char>(wire[position] ^ 0x01);
        }
    }

    QByteArray prefix;
    if (echo)
        prefix.append(wireRequest);
    if (garbage) {
        const int count = 1 + static_cast<int>(m_faults.NextRandom() % 8);
        for (int i = 0; i < count; ++i)
            prefix.append(static_cast<char>(m_faults.NextRandom() & 0xFF));
    }

    // The echo is the request itself coming back while it is sent: it costs the line no extra time.
    const qsizetype answerBytes = prefix.size() + wire.size() - (echo ? wireRequest.size() : 0);
    std::chrono::nanoseconds firstDelay = LineTime(static_cast<int>(wireRequest.size()), static_cast<int>(answerBytes));
    if (delay)
        firstDelay += std::chrono::milliseconds(m_settings.faultDelayMs);
    if (late) {
        // The answer to the previous request, arriving now, ahead of the true one.
        std::uint8_t stale[kAnswerCapacity];
        std::copy(answer, answer + answerLength, stale);
        PutBigEndian16(stale + 4, static_cast<std::uint16_t>(GetBigEndian16(answer + 4) - 1));
        PutLittleEndian16(stale + answerLength - 2, Crc16Modbus(stale, answerLength - 2));
        m_actions.push_back({SimAction::Send, prefix + Encode(stale, answerLength, mbapTransaction), firstDelay});
        m_actions.push_back({SimAction::Send, wire, std::chrono::milliseconds(m_settings.lateGapMs)});
        return;
    }
    m_actions.push_back({SimAction::Send, prefix + wire, firstDelay});
}

QByteArray MeterSession::Encode(const std::uint8_t* answer, int length, std::uint16_t mbapTransaction) const
{
    std::uint8_t wire[kExchangeBufferSize];
    int wireLength = 0;
    std::uint16_t transaction = mbapTransaction;
    if (EncodeWireFrame(m_settings.framing, answer, length, wire, sizeof wire, m_settings.flagPlacement, transaction,
                        wireLength)
        != EncodeStatus::kOk)
        return {};
    return QByteArray(reinterpret_cast<const char*>(wire), wireLength);
}

std::chrono::nanoseconds MeterSession::LineTime(int requestBytes, int answerBytes) const
{
    const bool rtu = m_settings.framing == kFramingRtu || m_settings.framing == kFramingRtuX25;
    return ExchangeLineTime(requestBytes, answerBytes, m_settings.baudDelay, rtu);
}

std::vector<SimAction> MeterSession::TakeActions()
{
    std::vector<SimAction> actions;
    actions.swap(m_actions);
    return actions;
}

QString MeterSession::Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
