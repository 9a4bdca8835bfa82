#pragma once
// CRkm8, the link to the reference stand "РКМ8" that feeds the meter's temperature inputs with
// resistance measures and its pressure inputs with current measures during automatic calibration. It
// owns its own channel (a serial line at 2400 baud, transparent framing) and reports the way the meter
// driver does: through a DriverHost, its monitor lines headed "РКМ8". Only the driver's command thread
// uses it, while a calibration runs; the driver's stop request also ends a wait for the stand.
//
// In simulation (the meter itself is reached over the shared-memory link, no stand is attached) every
// command is answered "Ok" at once without touching a line.

#include "channel/channel_owner.h"
#include "channel/channel_types.h"
#include "channel/transmit_channel.h"
#include "protocol/channel_exchange.h"
#include "protocol/rkm8_commands.h"

#include <cstdint>

class DriverHost;

class CRkm8 : public ChannelOwner {
public:
    // The stand's line: 2400 baud 8N1, unframed, 500 ms between characters ends a read.
    static constexpr int kBaudRate = 2400;
    static constexpr int kByteSize = 8;
    static constexpr int kReadIntervalMs = 500;
    static constexpr int kAnswerTimeoutSec = 2;
    static constexpr int kAttempts = 5;
    static constexpr int kExecuteTries = 3;

    CRkm8();
    CRkm8(const CRkm8&) = delete;
    CRkm8& operator=(const CRkm8&) = delete;

    // Binds the host and turns every reporting flag on; null turns them off.
    void AttachHost(DriverHost* host);
    // Whose stop request ends the waits (the meter driver's); null: nothing stops them.
    void SetStopSource(const ChannelOwner* source) { m_stopSource = source; }
    // Puts the stand's channel settings in place on COM `portNumber`; `simulate` when the meter is
    // reached over the shared-memory link.
    void PrepareChannel(int portNumber, bool simulate);
    // The same beside the meter's channel: a meter reached over the shared-memory link has no stand at
    // its side, so the stand is simulated.
    void PrepareChannelBeside(int portNumber, const CTransmitChanel& meter);
    bool Simulating() const { return m_simulate; }

    CTransmitChanel& TransmitChanel() { return m_transmitChanel; }

    // True when the stand answered the probe (51.0 Ohm).
    bool Connect();
    // Values outside the measure tables are refused before anything is sent.
    bool SetResistance(double ohm);
    // All four current outputs are set to the value.
    bool SetCurrent(double milliampere);
    // Sends the prepared command; up to three tries while the stand answers without "Ok".
    bool Execute();

    const std::uint8_t* Request() const { return m_request; }
    std::uint16_t RequestLength() const { return m_requestLength; }
    const std::uint8_t* Answer() const { return m_answer; }
    std::uint16_t AnswerLength() const { return m_answerLength; }

    // ChannelOwner.
    quintptr MainWindowId() const override;
    int SendQueryTo(int attempts, int timeoutSec) override;  // rkm8_query.cpp
    bool ReportsUnknownKind() const override { return m_host != nullptr; }
    bool StopRequested() const override;
    bool UsbStopRequested() const override { return StopRequested(); }
    int MyOnCharsRecieved(const std::uint8_t* bytes, int count) override;     // rkm8_query.cpp
    int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) override;  // rkm8_query.cpp
    void LogLine(const QString& text) override;
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    std::uint8_t DeviceAddress() const override { return 0; }

private:
    void Prepare(const StandCommand& command);
    // Logged (with "..." when `dotsInLog`), and shown as operation text with "..." and `detail` as
    // detail text.
    void Progress(const QString& text, const QString& detail, bool dotsInLog = false);
    void ReportError(const QString& text);

    CTransmitChanel m_transmitChanel;
    ChannelExchange m_exchange;
    DriverHost* m_host = nullptr;
    bool m_showProgress = false;
    bool m_copyLogToMonitor = false;
    bool m_reportFailures = false;
    const ChannelOwner* m_stopSource = nullptr;
    bool m_simulate = false;

    StandCommand m_command{};
    std::uint8_t m_request[kExchangeBufferSize] = {};
    std::uint16_t m_requestLength = 0;
    std::uint8_t m_answer[kExchangeBufferSize] = {};
    std::uint16_t m_answerLength = 0;
};
