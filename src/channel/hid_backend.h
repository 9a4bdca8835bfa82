#pragma once
// The HID access the USB link is built on: list the HID interfaces present, open one by its path, and
// on an open device read its ids, strings and report lengths, write an output report and wait for an
// input report. The program uses hidapi (hidapi_backend.h); tests play a device behind the same calls.

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One HID interface the system lists.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// What Write and ReadTimeout return besides a byte count.
constexpr int kHidFailed = -1;    // the device is gone or refused the transfer
constexpr int kHidTimedOut = -2;  // the device did not take the report in time (Write only)

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Vendor and product id the device reports of itself.
    virtual bool Attributes(std::uint16_t& vendorId, std::uint16_t& productId) = 0;
    // The device's strings; false when it has none or cannot be asked.
    virtual bool SerialNumber(QString& text) = 0;
    virtual bool Manufacturer(QString& text) = 0;
    virtual bool Product(QString& text) = 0;
    // Longest input and output report in bytes, report id included (0 when the device has none);
    // false when the device's report layout cannot be read.
    virtual bool ReportLengths(int& input, int& output) = 0;
    // Sends one output report (its first byte the report id): the byte count, kHidTimedOut or kHidFailed.
    virtual int Write(const std::uint8_t* report, int length, int timeoutMs) = 0;
    // Waits up to `timeoutMs` for one input report: its length (report id first), 0 when none came in
    // time, kHidFailed when the device is gone.
    virtual int ReadTimeout(std::uint8_t* buffer, int capacity, int timeoutMs) = 0;
    // Releases the handle; false when it was no longer valid.
    virtual bool Close() = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every HID interface present, in the system's order (the order gives the interface indices).
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens the interface for reading and writing; null when it cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};
