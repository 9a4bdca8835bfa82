// CTransmitChanel::Connect and Disconnect: opening and closing the transport of the channel's kind.

#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/modem_control.h"
#include "channel/usb_transport.h"

namespace {

void SetFlag(bool* flag, bool value)
{
    if (flag)
        *flag = value;
}

}  // namespace

bool CTransmitChanel::Connect(bool* openFailed)
{
    SetFlag(openFailed, false);
    LogToOwner(m_owner, QString::fromUtf8("Открытие канала связи"));
    switch (m_settings.kind) {
    case kChannelUsb:
        if (!m_usb || m_usb->Open(kUsbVendorId, kUsbProductId, m_settings.usbDeviceIndex) != kUsbOk) {
            SetFlag(openFailed, true);
            Report("Не удалось открыть USB соединение!!");
            return false;
        }
        return true;
    case kChannelDirect:
        return ConnectSerial(openFailed);
    case kChannelModem:
        return ConnectModem(openFailed);
    case kChannelIp:
        m_ipSocket.SetConnectTimeoutMs(IpSocketLink::ConnectTimeoutMs(
            m_settings.connectTimeoutSec > 0 ? m_settings.connectTimeoutSec : m_settings.answerTimeoutSec));
        if (m_ipSocket.Open(m_settings.ipPort, m_settings.ipAddress, m_settings.tcp != 0) != kTransportOk) {
            SetFlag(openFailed, true);
            return false;
        }
        return true;
    case kChannelSharedMemory:
        return true;  // the shared block is attached from outside the channel
    default:
        Report("Ошибка выполнения CTransmitChanel::Connect!");
        return false;
    }
}

// Line settings and read time-outs on the open port; when the line settings fail the port is closed
// again. A time-out failure has been reported by the port and comes back at the next read or write,
// which apply them again.
bool CTransmitChanel::ApplySerialLine(int byteSize, int stopBits, int parity)
{
    if (m_serialPort.ApplyLineSettings(m_settings.baudRate, byteSize, stopBits, parity) != kTransportOk) {
        m_serialPort.SetModemMode(0);
        m_serialPort.Close();
        return false;
    }
    m_serialPort.ApplyTimeouts();
    return true;
}

bool CTransmitChanel::ConnectSerial(bool* openFailed)
{
    m_serialPort.SetModemMode(0);
    if (m_serialPort.Open(m_settings.portNumber) != kTransportOk) {
        SetFlag(openFailed, true);
        return false;
    }
    return ApplySerialLine(m_settings.byteSize, m_settings.stopBits, m_settings.parity);
}

bool CTransmitChanel::ConnectModem(bool* openFailed)
{
    if (!m_modem) {
        LogToOwner(m_owner, QString::fromUtf8("Управление модемом недоступно: соединение через модем невозможно!"));
        return false;
    }
    // Nothing but the modem's own texts is expected until the data connection stands.
    const std::int32_t framing = m_settings.framing;
    m_settings.framing = kFramingRtu;
    m_serialPort.SetModemMode(1);
    bool connected = false;
    if (m_serialPort.Open(m_settings.portNumber) != kTransportOk) {
        SetFlag(openFailed, true);
        m_serialPort.SetModemMode(0);
    } else if (ApplySerialLine(8, 0, 0)) {
        connected = m_modem->Initialise(m_owner) == 0 && m_modem->Dial(m_owner) == 0;
        m_serialPort.SetModemMode(0);
        if (connected) {
            m_settings.modemConnected = 1;
        } else {
            m_serialPort.Close();
        }
    }
    m_settings.framing = framing;
    // The data connection reads with the short interval of a direct line.
    if (connected)
        m_serialPort.ApplyTimeouts();
    return connected;
}

bool CTransmitChanel::Disconnect()
{
    switch (m_settings.kind) {
    case kChannelUsb:
        if (m_usb && m_usb->IsOpen() && m_usb->Close() != kUsbOk)
            Report("Не удалось корректно закрыть USB соединение!!");
        break;
    case kChannelModem:
        // The results do not matter: the port is closed whatever the modem says.
        if (m_settings.modemConnected != 0 && m_modem) {
            m_modem->ToCommandMode(m_owner);
            m_modem->HangUp(m_owner);
        }
        m_serialPort.Close();
        break;
    case kChannelDirect:
        m_serialPort.Close();
        break;
    case kChannelIp:
        m_ipSocket.Close();
        break;
    case kChannelSharedMemory:
        break;
    default:
        if (m_owner && m_owner->ReportsUnknownKind())
            Report("Ошибка выполнения CTransmitChanel::Disconnect!");
        break;
    }
    return true;
}
