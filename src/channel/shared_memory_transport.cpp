#include "channel/shared_memory_transport.h"

#include "channel/channel_links.h"

QString SharedMemoryTransport::MonitorName() const
{
    // Numbered from 1 on the screen, from 0 in the settings.
    return QStringLiteral("MAP%1").arg(m_links.settings.sharedMemoryLinkNumber + 1);
}
