#pragma once
// What a channel holds for its transports: its owner and settings, and one link of each sort. The
// transport of the channel's kind works on these; the links outlive every transport built over them,
// so a port stays open (and its tests can look at it) whichever transport is current.

#include "channel/channel_settings.h"
#include "channel/channel_transport.h"
#include "channel/ip_socket_link.h"
#include "channel/modem_control.h"
#include "channel/serial_port.h"
#include "channel/shared_memory_link.h"
#include "channel/usb_transport.h"

#include <memory>

class ChannelOwner;

struct ChannelLinks {
    ChannelOwner* owner = nullptr;
    ChannelSettings settings;
    CCommPortClass serialPort;
    IpSocketLink ipSocket;
    CMapFile mapFile;
    std::unique_ptr<UsbTransport> usb;    // null: USB is unavailable
    std::unique_ptr<ModemControl> modem;  // null: a modem channel cannot connect

    // The modem dialogue's view of the line.
    ModemContext Modem() { return ModemContext{&serialPort, &settings, owner}; }
};

// A transport whose link already speaks the channel's results: its reads and writes go straight through
// to the link `member` of the channel.
template <typename Link, Link ChannelLinks::*member>
class PassThroughTransport : public LinkedTransport {
public:
    using LinkedTransport::LinkedTransport;

    int Write(const std::uint8_t* bytes, int count) override { return (m_links.*member).Write(bytes, count); }
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) override
    {
        return (m_links.*member).Read(dest, freeSpace, received, timeoutMs);
    }
};
