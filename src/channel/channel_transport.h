#pragma once
// What the channel needs of a byte transport (serial port, IP socket, shared block). The channel picks
// the transport by its kind and otherwise treats them alike.

#include <cstdint>

class ChannelOwner;

class ChannelTransport {
public:
    virtual ~ChannelTransport() = default;
    virtual void SetOwner(ChannelOwner* owner) = 0;
    // Hands the bytes to the device; TransportResult (0 or 4).
    virtual int Write(const std::uint8_t* bytes, int count) = 0;
    // Appends whatever arrives to dest (at most freeSpace bytes), raising received by their number.
    // Returns as soon as bytes arrive; TransportResult (0, 1 time-out, 3 stopped, 4 failed).
    virtual int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs) = 0;
};
