#include "channel/modem_line_transport.h"

#include "channel/channel_links.h"
#include "channel/channel_owner.h"
#include "channel/modem_message_scan.h"

bool ModemLineTransport::Connect(bool& openFailed)
{
    ChannelSettings& settings = m_links.settings;
    if (!m_links.modem) {
        LogToOwner(m_links.owner,
                   QString::fromUtf8("Управление модемом недоступно: соединение через модем невозможно!"));
        return false;
    }
    CCommPortClass& port = m_links.serialPort;
    // Nothing but the modem's own texts is expected until the data connection stands.
    const std::int32_t framing = settings.framing;
    settings.framing = kFramingRtu;
    port.SetModemMode(1);
    bool connected = false;
    if (port.Open(settings.portNumber) != kTransportOk) {
        openFailed = true;
        port.SetModemMode(0);
    } else if (ApplyLine(8, 0, 0)) {
        connected = m_links.modem->Initialise(m_links.Modem()) == 0 && m_links.modem->Dial(m_links.Modem()) == 0;
        port.SetModemMode(0);
        if (connected)
            settings.modemConnected = 1;
        else
            port.Close();
    }
    settings.framing = framing;
    // The data connection reads with the short interval of a direct line.
    if (connected)
        port.ApplyTimeouts();
    return connected;
}

void ModemLineTransport::Disconnect()
{
    // The results do not matter: the port is closed whatever the modem says.
    if (m_links.settings.modemConnected != 0 && m_links.modem) {
        m_links.modem->ToCommandMode(m_links.Modem());
        m_links.modem->HangUp(m_links.Modem());
    }
    m_links.serialPort.Close();
}

int ModemLineTransport::QuietGapMs() const
{
    // A modem passes a frame on in its own blocks, with pauses of its own.
    constexpr int kModemMs = 20;
    return kModemMs;
}

bool ModemLineTransport::LineDropped(const std::uint8_t* bytes, int count)
{
    const char* message = FindModemMessage(bytes, count);
    if (!message)
        return false;
    m_links.settings.modemConnected = 0;
    ReportToOwner(m_links.owner,
                  QString::fromUtf8("Сообщение от модема: ") + QString::fromUtf8(message) + QStringLiteral("\r\n"));
    return true;
}

bool ModemLineTransport::LineUp() const
{
    return m_links.settings.modemConnected != 0;
}
