#pragma once
// The meter's USB HID interface as a channel kind: opens the device the user chose from the list, and
// turns the HID link's own results (usb_transport.h) into the channel's, telling the user about a
// failure the link keeps to itself.

#include "channel/channel_transport.h"

class UsbHidTransport : public LinkedTransport {
public:
    using LinkedTransport::LinkedTransport;

    bool Connect(bool& openFailed) override;
    void Disconnect() override;
    int Write(const std::uint8_t* bytes, int count) override;
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) override;
    // A message comes in whole reports, a few close behind each other.
    int QuietGapMs() const override { return 3; }
    QString MonitorName() const override { return QStringLiteral("USB"); }

private:
    void Report(const char* text) const;
};
