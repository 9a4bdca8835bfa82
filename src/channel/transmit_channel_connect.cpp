// CTransmitChanel::Connect and Disconnect: opening and closing the transport of the channel's kind.

#include "channel/transmit_channel.h"

#include "channel/channel_owner.h"
#include "channel/channel_transport.h"

bool CTransmitChanel::Connect(bool* openFailed)
{
    if (openFailed)
        *openFailed = false;
    LogToOwner(m_links.owner, QString::fromUtf8("Открытие канала связи"));
    ChannelTransport* transport = Transport();
    if (!transport) {
        Report("Ошибка выполнения CTransmitChanel::Connect!");
        return false;
    }
    bool failedToOpen = false;
    const bool connected = transport->Connect(failedToOpen);
    if (openFailed)
        *openFailed = failedToOpen;
    return connected;
}

bool CTransmitChanel::Disconnect()
{
    if (ChannelTransport* transport = Transport())
        transport->Disconnect();
    else if (m_links.owner && m_links.owner->ReportsUnknownKind())
        Report("Ошибка выполнения CTransmitChanel::Disconnect!");
    return true;
}
