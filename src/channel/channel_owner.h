#pragma once
// The interface through which a channel and its transports reach their owner: what only the owner
// knows. The stop request, the exchange-monitor hooks, the log and message boxes, and for the Modbus
// master the request engine and the device address. The channel's own settings travel with the
// channel, never through here. Implemented by the meter driver and by the calibrator link.

#include <QString>
#include <cstdint>

class ChannelOwner {
public:
    virtual ~ChannelOwner() = default;
    // Participant id of the shared block.
    virtual quintptr MainWindowId() const = 0;
    // One request and its answer, with retries: 1 answered, 0 no answer (reported), -1 stopped or failed.
    virtual int SendQueryTo(int attempts, int timeoutSec) = 0;
    virtual std::uint8_t DeviceAddress() const = 0;
    // A flag of the owner's main window: whether an unknown kind is reported on disconnect.
    virtual bool ReportsUnknownKind() const = 0;
    // Polled without waiting.
    virtual bool StopRequested() const = 0;
    virtual bool UsbStopRequested() const = 0;
    virtual int MyOnCharsRecieved(const std::uint8_t* bytes, int count) = 0;
    virtual int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) = 0;
    virtual void LogLine(const QString& text) = 0;
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0;
    // A failure of the line, already worded: a log line and an information box unless the owner knows
    // better (the meter driver shows one loss of a line once).
    virtual void ReportLineTrouble(const QString& text);
};

// Most channel reports go to the owner twice: as a log line and as an information box.
void ReportToOwner(ChannelOwner* owner, const QString& text);
// Log only (no box); skipped without an owner.
void LogToOwner(ChannelOwner* owner, const QString& text);
