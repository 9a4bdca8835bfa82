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

QString IpTransport::MonitorName() const
{
    const ChannelSettings& settings = m_links.settings;
    return QString::asprintf("%s %s:%.5d", settings.tcp != 0 ? "TCP" : "UDP", settings.ipAddress.toUtf8().constData(),
                             settings.ipPort);
}
