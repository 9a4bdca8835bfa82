#pragma once
// CCommPortClass drives one serial port for the channel: the direct line and the modem line. It opens
// the port exclusively, applies line settings and read time-outs (skipping the system when nothing
// changed), writes blocks, reads whatever has arrived, and shows every block to the owner's monitor
// hooks. Results: 0 success, 1 time-out (read), 3 stopped by the owner (read), 4 failure already
// reported to the owner.

#include "channel/serial_device.h"

#include <cstdint>
#include <optional>

class ChannelOwner;
struct ChannelSettings;

class CCommPortClass {
public:
    static constexpr unsigned kPurgeTransmit = SerialDevice::kTransmitQueue;
    static constexpr unsigned kPurgeReceive = SerialDevice::kReceiveQueue;
    static constexpr int kOpenAttempts = 5;
    static constexpr int kOpenRetryPauseMs = 500;
    static constexpr int kReadIntervalMs = 5;
    static constexpr int kModemReadIntervalMs = 50;

    CCommPortClass() = default;
    // Closes the port without reporting: the owner may already be half torn down.
    ~CCommPortClass() = default;
    CCommPortClass(const CCommPortClass&) = delete;
    CCommPortClass& operator=(const CCommPortClass&) = delete;

    void SetOwner(ChannelOwner* owner) { m_owner = owner; }
    // Where the framing and the read-interval override come from; null: neither applies.
    void SetSettings(const ChannelSettings* settings) { m_settings = settings; }
    // Modem mode waits longer between bytes (the modem's answers come in pieces).
    void SetModemMode(int on) { m_modemMode = on ? 1 : 0; }
    int ModemMode() const { return m_modemMode; }

    // Opens the device the port table has under COM `portNumber` (1-based).
    int Open(int portNumber);
    void Close();
    bool IsOpen() const { return m_device.IsOpen(); }

    int ApplyLineSettings(int baudRate, int byteSize, int stopBits, int parity);
    int ApplyTimeouts();
    int Purge(unsigned flags);
    int SetDtr(bool on);
    int SetRts(bool on);

    int Write(const std::uint8_t* bytes, int count);
    // Appends whatever arrives to dest (at most freeSpace bytes), raising received by their number.
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs);

    // Index of the first occurrence of `text` in the `length` bytes, or -1.
    static int Find(const std::uint8_t* haystack, int length, const char* text);

private:
    void InvalidateCache();
    // Runs a system call of the device, once more when it was merely interrupted; a failure is reported
    // with the system's text.
    template <typename Call>
    int SystemCall(Call call);
    void Report(const QString& text) const;

    ChannelOwner* m_owner = nullptr;
    const ChannelSettings* m_settings = nullptr;
    int m_modemMode = 0;
    SerialDevice m_device;
    // What the port was last set to; empty when it must be applied again.
    std::optional<SerialLineSettings> m_appliedLine;
    std::optional<SerialTimeouts> m_appliedTimeouts;
};

// True when COM `portNumber` exists and can be opened exclusively; it is closed again at once.
bool ProbePort(int portNumber);
