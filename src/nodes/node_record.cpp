#include "nodes/node_record.h"

#include "base/text_codec.h"
#include "channel/channel_types.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr int kNewBaudRate = 115200;
constexpr int kNewByteSize = 8;
constexpr int kNewIpPort = 5001;
constexpr int kNewRepeatCount = 5;
constexpr int kNewRepeatTimeoutSec = 3;
constexpr int kNewModemRepeatTimeoutSec = 7;  // a modem line answers slower

// Up to the first NUL, never past the field: a damaged record has no terminator.
template <std::size_t N>
QString ReadText(const char (&field)[N])
{
    const auto* end = static_cast<const char*>(std::memchr(field, 0, N));
    return DecodeWindows1251(field, end ? end - field : static_cast<qsizetype>(N));
}

template <std::size_t N>
void WriteText(char (&field)[N], const QString& text)
{
    const QByteArray bytes = EncodeWindows1251(text.left(static_cast<qsizetype>(N) - 1));
    std::memset(field, 0, N);
    std::memcpy(field, bytes.constData(), std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), N - 1));
}

NodeTime Normalised(NodeTime time)
{
    if (time.hour > 23)
        time.hour = 0;
    if (time.minute >= 60)
        time.minute = 0;
    if (time.second >= 60)
        time.second = 0;
    return time;
}

}  // namespace

void NodeRecord::CheckLayout()
{
    static_assert(offsetof(NodeRecord, m_deviceTypeCode) == 1);
    static_assert(offsetof(NodeRecord, m_connectionType) == 5);
    static_assert(offsetof(NodeRecord, m_repeatCount) == 9);
    static_assert(offsetof(NodeRecord, m_name) == 10);
    static_assert(offsetof(NodeRecord, m_address) == 74);
    static_assert(offsetof(NodeRecord, m_note) == 138);
    static_assert(offsetof(NodeRecord, m_serialNumber) == 202);
    static_assert(offsetof(NodeRecord, m_scheduleEnabled) == 206);
    static_assert(offsetof(NodeRecord, m_scheduleStart) == 207);
    static_assert(offsetof(NodeRecord, m_scheduleEnd) == 211);
    static_assert(offsetof(NodeRecord, m_ipProtocol) == 215);
    static_assert(offsetof(NodeRecord, m_ipPort) == 219);
    static_assert(offsetof(NodeRecord, m_ipAddress) == 223);
    static_assert(offsetof(NodeRecord, m_comPort) == 287);
    static_assert(offsetof(NodeRecord, m_baudRate) == 291);
    static_assert(offsetof(NodeRecord, m_stopBits) == 303);
    static_assert(offsetof(NodeRecord, m_readIntervalOverrideFlag) == 307);
    static_assert(offsetof(NodeRecord, m_readIntervalOverrideMs) == 311);
    static_assert(offsetof(NodeRecord, m_phoneNumber) == 315);
}

NodeRecord NodeRecord::New(int connectionType, const FreePortTable& freePorts)
{
    NodeRecord record;
    record.m_deviceTypeCode = kDeviceTypeCode;
    record.SetConnectionType(connectionType);
    record.m_transportProtocol = kFramingRtu;
    record.m_functionSet = 1;
    record.m_repeatTimeoutSec = connectionType == kChannelModem ? kNewModemRepeatTimeoutSec : kNewRepeatTimeoutSec;
    record.m_repeatCount = kNewRepeatCount;
    record.SetName(QStringLiteral("---"));
    record.m_ipProtocol = kIpProtocolTcp;
    record.m_ipPort = kNewIpPort;
    record.SetIpAddress(QStringLiteral("192.168.1.1"));
    record.m_comPort = freePorts.FirstFree();
    record.m_baudRate = kNewBaudRate;
    record.m_byteSize = kNewByteSize;
    return record;
}

bool NodeRecord::SetNetworkAddress(int address)
{
    if (address < 0 || address > 255)
        return false;
    m_networkAddress = static_cast<std::uint8_t>(address);
    return true;
}

QString NodeRecord::Name() const
{
    return ReadText(m_name);
}
void NodeRecord::SetName(const QString& name)
{
    WriteText(m_name, name);
}
QString NodeRecord::Address() const
{
    return ReadText(m_address);
}
void NodeRecord::SetAddress(const QString& address)
{
    WriteText(m_address, address);
}
QString NodeRecord::Note() const
{
    return ReadText(m_note);
}
void NodeRecord::SetNote(const QString& note)
{
    WriteText(m_note, note);
}
QString NodeRecord::IpAddress() const
{
    return ReadText(m_ipAddress);
}
QString NodeRecord::IpEndpoint() const
{
    const QString host = IpAddress();
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(shown).arg(m_ipPort);
}
void NodeRecord::SetIpAddress(const QString& address)
{
    WriteText(m_ipAddress, address);
}
QString NodeRecord::PhoneNumber() const
{
    return ReadText(m_phoneNumber);
}
void NodeRecord::SetPhoneNumber(const QString& number)
{
    WriteText(m_phoneNumber, number);
}

void NodeRecord::NormaliseSchedule()
{
    m_scheduleEnabled = m_scheduleEnabled != 0 ? 1 : 0;
    m_scheduleStart = Normalised(m_scheduleStart);
    m_scheduleEnd = Normalised(m_scheduleEnd);
}
