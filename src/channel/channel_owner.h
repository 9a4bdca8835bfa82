#pragma once
// The interface through which a channel and its transports reach their owner: settings, the stop
// request, the exchange-monitor hooks, the log and message boxes. Implemented by the meter driver and
// by the calibrator link. The virtual operations keep the order the channel was designed around.

#include <QString>
#include <cstdint>

class CCommPortClass;

class ChannelOwner {
public:
    virtual QString PhoneNumber() const = 0;                   // 1
    virtual QString ModemInitString() const = 0;               // 2
    virtual quintptr MainWindowId() const = 0;                 // 3: participant id of the shared block
    virtual int SendQueryTo(int attempts, int timeoutSec) = 0; // 4
    virtual int ModemConnectTimeoutSec() const = 0;            // 5
    virtual int DialMode() const = 0;                          // 6
    virtual int ModemType() const = 0;                         // 7
    virtual bool ReportsUnknownKind() const = 0;               // 8: a flag of the owner's main window
    virtual int BaudRate() const = 0;                          // 9
    virtual int ByteSize() const = 0;                          // 10
    virtual int ReadIntervalOverrideMs() const = 0;            // 11
    virtual int ReadIntervalOverrideFlag() const = 0;          // 12
    virtual int ModemConnected() const = 0;                    // 13
    virtual int Kind() const = 0;                              // 14
    virtual int Framing() const = 0;                           // 15
    virtual bool StopRequested() const = 0;                    // 16: polled without waiting
    virtual bool UsbStopRequested() const = 0;                 // 17
    virtual int MyOnCharsRecieved(const std::uint8_t* bytes, int count) = 0;    // 18
    virtual int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) = 0; // 19
    virtual void LogLine(const QString& text) = 0;             // 20
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0; // 21
    virtual CCommPortClass* SerialPort() = 0;                  // 22
    virtual std::uint8_t DeviceAddress() const = 0;            // 23
    virtual ~ChannelOwner() = default;                         // 24
};

// Most channel reports go to the owner twice: as a log line and as an information box.
void ReportToOwner(ChannelOwner* owner, const QString& text);
// Log only (no box); skipped without an owner.
void LogToOwner(ChannelOwner* owner, const QString& text);
