#include "channel/shared_memory_transport.h"

#include "channel/channel_links.h"

int SharedMemoryTransport::Write(const std::uint8_t* bytes, int count)
{
    return m_links.mapFile.WriteData(bytes, count);
}

int SharedMemoryTransport::Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
{
    return m_links.mapFile.ReadData(dest, freeSpace, received, timeoutMs);
}

QString SharedMemoryTransport::MonitorName() const
{
    // Numbered from 1 on the screen, from 0 in the settings.
    return QStringLiteral("MAP%1").arg(m_links.settings.sharedMemoryLinkNumber + 1);
}
