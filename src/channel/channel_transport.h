#pragma once
// One kind of channel (serial line, modem over a serial line, TCP or UDP socket, USB HID, shared
// memory) as the channel drives it. The channel builds the transport of its kind once
// (channel_transport_factory.h) and otherwise treats them all alike; whatever differs between the
// kinds lives behind this interface. Every call blocks; failures are reported to the owner by the
// transport itself.

#include <QString>

#include <cstdint>

struct ChannelLinks;

class ChannelTransport {
public:
    virtual ~ChannelTransport() = default;

    // Opens the link. False when it could not; `openFailed` tells a device that could not be opened
    // from a failure after it was.
    virtual bool Connect(bool& openFailed) = 0;
    // Closes the link, hanging up a dialled line first.
    virtual void Disconnect() = 0;
    // Hands the bytes to the device; TransportResult (0, 3 stopped, 4 failed).
    virtual int Write(const std::uint8_t* bytes, int count) = 0;
    // Appends whatever arrives to dest (at most freeSpace bytes), raising received by their number.
    // Returns as soon as bytes arrive; TransportResult (0, 1 time-out, 3 stopped, 4 failed).
    virtual int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) = 0;

    // How long the line must stay quiet for a frame to be over.
    virtual int QuietGapMs() const = 0;
    // What the exchange monitor calls the link: "USB", "COM1", "TCP 10.0.0.7:00502", "MAP1".
    virtual QString MonitorName() const = 0;
    // True when the received bytes hold a message of the line itself that ends the exchange (a modem's
    // "NO CARRIER"); reported, and the line counts as down.
    virtual bool LineDropped(const std::uint8_t* bytes, int count)
    {
        static_cast<void>(bytes);
        static_cast<void>(count);
        return false;
    }
    // Whether a dialled connection stands.
    virtual bool LineUp() const { return false; }
};

// A transport that works on the links its channel holds (channel_links.h).
class LinkedTransport : public ChannelTransport {
public:
    explicit LinkedTransport(ChannelLinks& links) : m_links(links) {}

protected:
    ChannelLinks& m_links;
};
