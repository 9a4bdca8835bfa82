#pragma once
// The operating system's side of a serial port: every system call the serial port makes goes through
// this class, so another system needs another implementation of this file's functions and nothing
// else. Operations return 0 or the system's error code (errno here).

#include <QString>

#include <cstdint>

// Line settings in the usual serial-API encodings.
struct SerialLineSettings {
    int baudRate = 0;
    int byteSize = 0;  // data bits, 5..8
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
    int parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space

    bool operator==(const SerialLineSettings&) const = default;
};

// The five read/write time-outs of a port, in ms.
struct SerialTimeouts {
    int readInterval = 0;
    int readTotalMultiplier = 0;
    int readTotalConstant = 0;
    int writeTotalMultiplier = 0;
    int writeTotalConstant = 0;

    bool operator==(const SerialTimeouts&) const = default;
};

class SerialDevice {
public:
    enum Queue : unsigned { kTransmitQueue = 1, kReceiveQueue = 2 };
    enum ModemLine { kLineDtr, kLineRts };

    SerialDevice() = default;
    ~SerialDevice() { Close(); }
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the device for reading and writing, exclusively (a second opener fails), in raw mode.
    int Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    int SetLine(const SerialLineSettings& settings);
    // Only the total read time-out matters here: a wait for input never lasts longer.
    int SetTimeouts(const SerialTimeouts& timeouts);
    int Purge(unsigned queues);
    // A device without modem lines (a pseudo-terminal) counts as success.
    int SetModemLine(ModemLine line, bool on);

    // Waits at most the total read time-out for input, then takes what is there (up to `capacity`
    // bytes); `got` 0 means nothing came. Returns as soon as the first bytes are in.
    int ReadSome(std::uint8_t* dest, int capacity, int& got);
    // Hands all `count` bytes to the driver.
    int WriteAll(const std::uint8_t* bytes, int count);

    // True for the errors worth one more try of the same call (an interrupted call).
    static bool IsRetryable(int code);
    // The system's own text for an error code.
    static QString ErrorText(int code);

private:
    int m_fd = -1;
    int m_readWaitMs = 0;
};
