#pragma once
// What the channel needs of the USB HID link of channel kind 0. The link itself (device enumeration,
// HID reports) plugs in behind this interface; until one is set the channel treats USB as unavailable.

#include <cstdint>

class ChannelOwner;

// Results of the USB link.
enum UsbResult : int {
    kUsbOk = 0,
    kUsbNotOpen = 2,        // also: open of an empty slot
    kUsbOpenFailed = 3,
    kUsbTimeout = 4,
    kUsbIoError = 5,
    kUsbInvalidHandle = 6,  // close
    kUsbTooLong = 7,        // message longer than the buffer
    kUsbStopped = 8,        // the owner's USB stop request
};

// The meter's USB interface.
constexpr std::uint16_t kUsbVendorId = 0x2047;
constexpr std::uint16_t kUsbProductId = 0x0301;

class UsbTransport {
public:
    virtual ~UsbTransport() = default;
    virtual void SetOwner(ChannelOwner* owner) = 0;
    // Opens the device listed in `slot` (0..5) if it still carries these ids and its serial number.
    virtual int Open(std::uint16_t vendorId, std::uint16_t productId, int slot) = 0;
    virtual int Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends one message, cut into reports.
    virtual int Write(const std::uint8_t* bytes, int count) = 0;
    // Reads one whole message to `buffer` (at most `capacity` bytes), raising `received` by its length.
    virtual int Read(std::uint8_t* buffer, int capacity, int& received, int timeoutMs) = 0;
};
