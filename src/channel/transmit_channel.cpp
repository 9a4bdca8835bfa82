#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/modem_control.h"
#include "channel/modem_dialer.h"
#include "channel/usb_hid_link.h"
#include "channel/wire_framing.h"

#include <cstring>

// The modem kind dials with the Hayes dialogue unless another one is set.
CTransmitChanel::CTransmitChanel() : m_usb(std::make_unique<UsbHidLink>()), m_modem(std::make_unique<ModemDialer>())
{
}

CTransmitChanel::~CTransmitChanel() = default;

void CTransmitChanel::SetOwner(ChannelOwner* owner)
{
    m_owner = owner;
    m_serialPort.SetOwner(owner);
    m_ipSocket.SetOwner(owner);
    m_mapFile.SetOwner(owner);
    if (m_usb)
        m_usb->SetOwner(owner);
}

void CTransmitChanel::SetUsbTransport(std::unique_ptr<UsbTransport> usb)
{
    m_usb = std::move(usb);
    if (m_usb)
        m_usb->SetOwner(m_owner);
}

void CTransmitChanel::SetModemControl(std::unique_ptr<ModemControl> modem)
{
    m_modem = std::move(modem);
}

void CTransmitChanel::Report(const char* text)
{
    ReportToOwner(m_owner, QString::fromUtf8(text));
}

bool CTransmitChanel::PrepareBufferByProtocol(const std::uint8_t* frame, int length)
{
    std::memset(m_transmit, 0, sizeof m_transmit);
    m_transmitLength = 0;
    if (!frame)
        length = 0;
    int wireLength = 0;
    const EncodeStatus status = EncodeWireFrame(m_settings.framing, frame, length, m_transmit, kExchangeBufferSize,
                                                m_settings.flagPlacement, m_mbapTransaction, wireLength);
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
    switch (m_settings.framing) {
    case kFramingAscii:
        Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(2.1)!" : "Ошибка выполнения CTransmitChanel::Send(2.2)!");
        break;
    case kFramingPpp:
        Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(3.1)!" : "Ошибка выполнения CTransmitChanel::Send(3.2)!");
        break;
    case kFramingModbusTcp:
        Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(4.1)!" : "Ошибка выполнения CTransmitChanel::Send(4.2)!");
        break;
    default:  // RTU, RTU with X.25, and a transparent frame larger than the buffer
        Report(tooLong ? "Ошибка выполнения CTransmitChanel::Send(1.1)!" : "Ошибка выполнения CTransmitChanel::Send(1.2)!");
        break;
    }
}

bool CTransmitChanel::WriteData(const std::uint8_t* frame, int length)
{
    if (!PrepareBufferByProtocol(frame, length))
        return false;
    switch (m_settings.kind) {
    case kChannelUsb: {
        const int result = m_usb ? m_usb->Write(m_transmit, m_transmitLength) : kUsbNotOpen;
        if (result == kUsbOk)
            return true;
        if (result == kUsbStopped)
            LogToOwner(m_owner, QString::fromUtf8("Операция завершена по желанию пользователя!"));
        else
            Report("Не удалось записать данные в USB порт!");
        return false;
    }
    case kChannelDirect:
    case kChannelModem:
        return m_serialPort.Write(m_transmit, m_transmitLength) == kTransportOk;
    case kChannelIp:
        return m_ipSocket.Write(m_transmit, m_transmitLength) == kTransportOk;
    case kChannelSharedMemory:
        return m_mapFile.Write(m_transmit, m_transmitLength) == kTransportOk;
    default:
        Report("Ошибка выполнения CTransmitChanel::WriteData!");
        return false;
    }
}
