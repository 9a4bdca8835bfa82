#include "channel/channel_transport_factory.h"

#include "channel/channel_links.h"
#include "channel/ip_transport.h"
#include "channel/modem_line_transport.h"
#include "channel/serial_line_transport.h"
#include "channel/shared_memory_transport.h"
#include "channel/usb_hid_transport.h"

std::unique_ptr<ChannelTransport> MakeChannelTransport(ChannelLinks& links)
{
    switch (links.settings.kind) {
        case kChannelUsb:
            return std::make_unique<UsbHidTransport>(links);
        case kChannelDirect:
            return std::make_unique<SerialLineTransport>(links);
        case kChannelModem:
            return std::make_unique<ModemLineTransport>(links);
        case kChannelIp:
            return std::make_unique<IpTransport>(links);
        case kChannelSharedMemory:
            return std::make_unique<SharedMemoryTransport>(links);
        default:
            return nullptr;
    }
}
