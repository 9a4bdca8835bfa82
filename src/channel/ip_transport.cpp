#include "channel/ip_transport.h"

#include "channel/channel_links.h"

bool IpTransport::Connect(bool& openFailed)
{
    const ChannelSettings& settings = m_links.settings;
    IpSocketLink& socket = m_links.ipSocket;
    socket.SetConnectTimeoutMs(IpSocketLink::ConnectTimeoutMs(
        settings.connectTimeoutSec > 0 ? settings.connectTimeoutSec : settings.answerTimeoutSec));
    if (socket.Open(settings.ipPort, settings.ipAddress, settings.tcp != 0) != kTransportOk) {
        openFailed = true;
        return false;
    }
    return true;
}

void IpTransport::Disconnect()
{
    m_links.ipSocket.Close();
}

int IpTransport::Write(const std::uint8_t* bytes, int count)
{
    return m_links.ipSocket.Send(bytes, count);
}

int IpTransport::Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
{
    return m_links.ipSocket.Read(dest, freeSpace, received, timeoutMs);
}

QString IpTransport::MonitorName() const
{
    const ChannelSettings& settings = m_links.settings;
    return QString::asprintf("%s %s:%.5d", settings.tcp != 0 ? "TCP" : "UDP", settings.ipAddress.toUtf8().constData(),
                             settings.ipPort);
}
