#pragma once
// The direct serial line ("Прямое"): the channel's serial port at the node's line settings. The modem
// kind builds on it (modem_line_transport.h).

#include "channel/channel_links.h"

class SerialLineTransport : public PassThroughTransport<CCommPortClass, &ChannelLinks::serialPort> {
public:
    using PassThroughTransport<CCommPortClass, &ChannelLinks::serialPort>::PassThroughTransport;

    bool Connect(bool& openFailed) override;
    void Disconnect() override;
    int QuietGapMs() const override;
    QString MonitorName() const override;

protected:
    // Line settings and read time-outs on the open port; when the line settings fail the port is
    // closed again. A time-out failure has been reported by the port and comes back at the next read
    // or write, which apply them again.
    bool ApplyLine(int byteSize, int stopBits, int parity);
};
