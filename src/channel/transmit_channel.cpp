#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/channel_transport_factory.h"
#include "channel/modem_dialer.h"
#include "channel/usb_hid_link.h"
#include "channel/wire_framing.h"

#include <cstring>

// The modem kind dials with the Hayes dialogue unless another one is set.
CTransmitChanel::CTransmitChanel()
{
    m_links.usb = std::make_unique<UsbHidLink>();
    m_links.modem = std::make_unique<ModemDialer>();
    m_links.serialPort.SetSettings(&m_links.settings);
    m_links.ipSocket.SetSettings(&m_links.settings);
}

CTransmitChanel::~CTransmitChanel() = default;

void CTransmitChanel::SetOwner(ChannelOwner* owner)
{
    m_links.owner = owner;
    m_links.serialPort.SetOwner(owner);
    m_links.ipSocket.SetOwner(owner);
    m_links.mapFile.SetOwner(owner);
    if (m_links.usb)
        m_links.usb->SetOwner(owner);
}

void CTransmitChanel::SetUsbTransport(std::unique_ptr<UsbTransport> usb)
{
    m_links.usb = std::move(usb);
    if (m_links.usb)
        m_links.usb->SetOwner(m_links.owner);
}

void CTransmitChanel::SetModemControl(std::unique_ptr<ModemControl> modem)
{
    m_links.modem = std::move(modem);
}

ChannelTransport* CTransmitChanel::Transport()
{
    if (!m_transport || m_transportKind != m_links.settings.kind) {
        m_transport = MakeChannelTransport(m_links);
        m_transportKind = m_links.settings.kind;
    }
    return m_transport.get();
}

QString CTransmitChanel::MonitorHead(bool transmitted, int count)
{
    ChannelTransport* transport = Transport();
    if (!transport)
        return QString();
    return QString::asprintf("(%.4d) %s %s", count, transport->MonitorName().toUtf8().constData(),
                             transmitted ? "Out" : "In ");
}

bool CTransmitChanel::ModemLineUp()
{
    ChannelTransport* transport = Transport();
    return transport && transport->LineUp();
}

void CTransmitChanel::Report(const char* text)
{
    ReportToOwner(m_links.owner, QString::fromUtf8(text));
}

bool CTransmitChanel::PrepareBufferByProtocol(const std::uint8_t* frame, int length)
{
    std::memset(m_transmit, 0, sizeof m_transmit);
    m_transmitLength = 0;
    if (!frame)
        length = 0;
    int wireLength = 0;
    const EncodeStatus status = EncodeWireFrame(m_links.settings.framing, frame, length, m_transmit,
                                                kExchangeBufferSize, m_links.settings.flagPlacement, m_mbapTransaction,
                                                wireLength);
    switch (status) {
        case EncodeStatus::kOk:
            m_transmitLength = static_cast<std::uint16_t>(wireLength);
            return true;
        case EncodeStatus::kTooLong:
        case EncodeStatus::kTooShort:
            ReportSendLimit(status == EncodeStatus::kTooLong);
            return false;
        case EncodeStatus::kUnknownFraming:
            break;
    }
    Report("Ошибка выполнения CTransmitChanel::PrepareBufferByProtocol(4.1)!");
    return false;
}

void CTransmitChanel::ReportSendLimit(bool tooLong)
{
    switch (m_links.settings.framing) {
        case kFramingAscii:
            Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(2.1)!"
                           : "Ошибка выполнения CTransmitChanel::Send(2.2)!");
            break;
        case kFramingPpp:
            Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(3.1)!"
                           : "Ошибка выполнения CTransmitChanel::Send(3.2)!");
            break;
        case kFramingModbusTcp:
            Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(4.1)!"
                           : "Ошибка выполнения CTransmitChanel::Send(4.2)!");
            break;
        default:  // RTU, RTU with X.25, and a transparent frame larger than the buffer
            Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(1.1)!"
                           : "Ошибка выполнения CTransmitChanel::Send(1.2)!");
            break;
    }
}

bool CTransmitChanel::WriteData(const std::uint8_t* frame, int length)
{
    if (!PrepareBufferByProtocol(frame, length))
        return false;
    ChannelTransport* transport = Transport();
    if (!transport) {
        Report("Ошибка выполнения CTransmitChanel::WriteData!");
        return false;
    }
    return transport->Write(m_transmit, m_transmitLength) == kTransportOk;
}
