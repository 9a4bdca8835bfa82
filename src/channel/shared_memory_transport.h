#pragma once
// The shared-memory link: frames through a block shared with another local program. The block is
// attached from outside the channel, so connecting and disconnecting do nothing here.

#include "channel/channel_transport.h"

struct ChannelLinks;

class SharedMemoryTransport : public ChannelTransport {
public:
    explicit SharedMemoryTransport(ChannelLinks& links) : m_links(links) {}

    bool Connect(bool&) override { return true; }
    void Disconnect() override {}
    int Write(const std::uint8_t* bytes, int count) override;
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) override;
    // A frame is handed on whole.
    int QuietGapMs() const override { return 3; }
    QString MonitorName() const override;

private:
    ChannelLinks& m_links;
};
