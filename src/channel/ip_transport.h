#pragma once
// "Ethernet/Internet": the channel's IP socket, a TCP connection or UDP datagrams to the node's
// address and port.

#include "channel/channel_transport.h"

struct ChannelLinks;

class IpTransport : public ChannelTransport {
public:
    explicit IpTransport(ChannelLinks& links) : m_links(links) {}

    bool Connect(bool& openFailed) override;
    void Disconnect() override;
    int Write(const std::uint8_t* bytes, int count) override;
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) override;
    // A socket hands a frame on at once, in one piece or a few close behind each other.
    int QuietGapMs() const override { return 3; }
    QString MonitorName() const override;

private:
    ChannelLinks& m_links;
};
