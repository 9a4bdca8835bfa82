#pragma once
// UsbHidLink: the meter's USB interface, a HID device. Finds the meters plugged in, opens the one the
// user chose by its USB serial number, and carries Modbus frames over HID reports: a message goes out
// cut into reports of at most 61 data bytes and comes in the same way.
//
// Report layout, both directions (the output report is padded with zeros to its full length):
//
//   byte 0     report id 0x3F (input reports with another id are shown in the monitor and skipped)
//   byte 1     data count + 1 (output; not examined on input)
//   byte 2     data count n, 0..61
//   byte 3..   n data bytes
//
// n = 61 means more reports of the same message follow; n < 61 (also 0) ends it, so a message of L
// bytes takes L / 61 + 1 reports.

#include "channel/hid_backend.h"
#include "channel/usb_transport.h"

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// One entry of the device list.
struct HidDeviceSlot {
    QString serialNumber;  // the device's USB serial number
    std::string path;      // where the backend opens it
    bool empty = true;
};

class UsbHidLink : public UsbTransport {
public:
    static constexpr std::uint8_t kReportId = 0x3F;
    static constexpr int kReportHeader = 3;
    static constexpr int kReportData = 61;
    static constexpr int kReadWaitMs = 1500;   // the longest wait for one input report
    static constexpr int kWriteWaitMs = 1500;  // the longest wait for one output report to go
    static constexpr int kPaceMs = 10;         // pause between the output reports of one message
    static constexpr int kPollMs = 10;         // a wait is cut into slices this long to see a stop
    static constexpr int kInterfaceIndices = 128;
    static constexpr int kReportBufferSize = 8192;

    // The program's link: hidapi.
    UsbHidLink();
    explicit UsbHidLink(std::unique_ptr<HidBackend> backend);
    ~UsbHidLink() override;
    UsbHidLink(const UsbHidLink&) = delete;
    UsbHidLink& operator=(const UsbHidLink&) = delete;

    void SetOwner(ChannelOwner* owner) override { m_owner = owner; }

    // Lists the first device at or after the remembered interface index whose ids and strings match
    // (one device per call: the list stops at the first match). Returns the number of slots filled.
    int Enumerate(std::uint16_t vendorId, std::uint16_t productId, const QString& manufacturer,
                  const QString& product) override;
    QString SlotSerialNumber(int slot) const override;
    const HidDeviceSlot& Slot(int slot) const { return m_slots.at(static_cast<std::size_t>(slot)); }
    int SlotCount() const { return m_slotCount; }
    int EnumerationPosition() const { return m_position; }

    // UsbResult: 0, 2 empty slot, 3 the device cannot be opened or is not the one listed.
    int Open(std::uint16_t vendorId, std::uint16_t productId, int slot) override;
    // UsbResult: 0, 2 not open, 6 the handle was no longer valid.
    int Close() override;
    bool IsOpen() const override { return m_open; }
    int InputReportLength() const { return m_inputLength; }
    int OutputReportLength() const { return m_outputLength; }

    // UsbResult: 0, 2, 4, 5, 8.
    int Write(const std::uint8_t* bytes, int count) override;
    // Reads one whole message into `buffer` and raises `received` by its length. UsbResult: 0, 2, 4,
    // 5, 7 longer than `capacity`, 8.
    int HID_ReadFile(std::uint8_t* buffer, int capacity, int& received, int timeoutMs);
    int Read(std::uint8_t* buffer, int capacity, int& received, int timeoutMs) override
    {
        return HID_ReadFile(buffer, capacity, received, timeoutMs);
    }

private:
    // Opens `path` when the device there carries the ids; null otherwise.
    std::unique_ptr<HidDevice> OpenMatching(const std::string& path, std::uint16_t vendorId, std::uint16_t productId);
    void CloseDevice();
    bool UsbStopRequested() const;
    int InputCapacity() const;
    int SendReport(const std::uint8_t* data, int count);
    void DiscardStaleInput();
    int WaitForReport(const QElapsedTimer& start, int timeoutMs, int& count);
    void ShowReceived(int count);

    ChannelOwner* m_owner = nullptr;
    std::unique_ptr<HidBackend> m_backend;
    std::array<HidDeviceSlot, kUsbSlotCount> m_slots;
    std::uint16_t m_slotCount = 0;
    int m_position = 0;  // interface index where the next enumeration starts
    const bool m_stopAtFirstMatch = true;
    std::unique_ptr<HidDevice> m_device;
    bool m_open = false;
    int m_inputLength = 0;
    int m_outputLength = 0;
    std::array<std::uint8_t, kReportBufferSize> m_report = {};
    std::array<std::uint8_t, kReportBufferSize> m_outputReport = {};
};
