#pragma once
// The shared-memory link: frames through a block shared with another local program. The block is
// attached from outside the channel, so connecting and disconnecting do nothing here.

#include "channel/channel_links.h"

class SharedMemoryTransport : public PassThroughTransport<CMapFile, &ChannelLinks::mapFile> {
public:
    using PassThroughTransport<CMapFile, &ChannelLinks::mapFile>::PassThroughTransport;

    bool Connect(bool&) override { return true; }
    void Disconnect() override {}
    // A frame is handed on whole.
    int QuietGapMs() const override { return 3; }
    QString MonitorName() const override;
};
