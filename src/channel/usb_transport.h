#pragma once
// What the channel needs of the USB HID link of channel kind 0. The link itself (device enumeration,
// HID reports) plugs in behind this interface; without one the channel treats USB as unavailable.

#include <QString>

#include <cstdint>

class ChannelOwner;

// Results of the USB link.
enum UsbResult : int {
    kUsbOk = 0,
    kUsbNotOpen = 2,  // also: open of an empty slot
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
inline constexpr const char* kUsbManufacturer = "Texas Instruments";
inline constexpr const char* kUsbProduct = "MSP430-based HID Device";
// The device list holds this many entries.
constexpr int kUsbSlotCount = 6;

class UsbTransport {
public:
    virtual ~UsbTransport() = default;
    virtual void SetOwner(ChannelOwner* owner) = 0;
    // Fills the device list with the devices that carry these ids and strings: the number listed.
    virtual int Enumerate(std::uint16_t vendorId, std::uint16_t productId, const QString& manufacturer,
                          const QString& product) = 0;
    // The USB serial number listed in `slot`; empty for an empty slot.
    virtual QString SlotSerialNumber(int slot) const = 0;
    // Opens the device listed in `slot` (0..5) if it still carries these ids and its serial number.
    virtual int Open(std::uint16_t vendorId, std::uint16_t productId, int slot) = 0;
    virtual int Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends one message, cut into reports.
    virtual int Write(const std::uint8_t* bytes, int count) = 0;
    // Reads one whole message to `buffer` (at most `capacity` bytes), raising `received` by its length.
    virtual int Read(std::uint8_t* buffer, int capacity, int& received, int timeoutMs) = 0;
};
