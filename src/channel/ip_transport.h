#pragma once
// "Ethernet/Internet": the channel's IP socket, a TCP connection or UDP datagrams to the node's
// address and port.

#include "channel/channel_links.h"

class IpTransport : public PassThroughTransport<IpSocketLink, &ChannelLinks::ipSocket> {
public:
    using PassThroughTransport<IpSocketLink, &ChannelLinks::ipSocket>::PassThroughTransport;

    bool Connect(bool& openFailed) override;
    void Disconnect() override;
    // A socket hands a frame on at once, in one piece or a few close behind each other.
    int QuietGapMs() const override { return 3; }
    QString MonitorName() const override;
};
