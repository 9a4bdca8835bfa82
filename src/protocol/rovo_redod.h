#pragma once
// CRovoRedod, the driver of one meter. It owns the channel to the meter and the Modbus master, answers
// the channel's questions from the channel's own settings, carries the stop request between threads,
// and reports everything through its host (nothing is shown without one).

#include "channel/channel_owner.h"
#include "channel/transmit_channel.h"
#include "protocol/modbus_master.h"

#include <atomic>
#include <cstdint>

class DriverHost;

class CRovoRedod : public ChannelOwner {
public:
    CRovoRedod();
    ~CRovoRedod() override = default;
    CRovoRedod(const CRovoRedod&) = delete;
    CRovoRedod& operator=(const CRovoRedod&) = delete;

    // Binds the host and turns every reporting flag on; null detaches and turns them off. Called before
    // the driver's threads run.
    void AttachHost(DriverHost* host);
    DriverHost* Host() const { return m_Host; }

    CTransmitChanel& TransmitChanel() { return m_TransmitChanel; }
    CModbusMaster& ModbusMaster() { return m_ModbusMaster; }

    void SetDeviceAddress(std::uint8_t address) { m_DeviceAddress = address; }

    // The stop request may be raised from any thread; every wait of the channel then ends within one
    // polling interval. It stays raised until the next command clears it.
    void RequestStop() { m_StopRequested.store(true); }
    void ClearStopRequest() { m_StopRequested.store(false); }

    // ChannelOwner, in slot order.
    QString PhoneNumber() const override;
    QString ModemInitString() const override;
    quintptr MainWindowId() const override;
    int SendQueryTo(int attempts, int timeoutSec) override;  // request_engine.cpp
    int ModemConnectTimeoutSec() const override;
    int DialMode() const override;
    int ModemType() const override;
    bool ReportsUnknownKind() const override;
    int BaudRate() const override;
    int ByteSize() const override;
    int ReadIntervalOverrideMs() const override;
    int ReadIntervalOverrideFlag() const override;
    int ModemConnected() const override;
    int Kind() const override;
    int Framing() const override;
    bool StopRequested() const override;
    bool UsbStopRequested() const override;
    int MyOnCharsRecieved(const std::uint8_t* bytes, int count) override;     // exchange_log.cpp
    int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) override;  // exchange_log.cpp
    void LogLine(const QString& text) override;
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    CCommPortClass* SerialPort() override;
    std::uint8_t DeviceAddress() const override { return m_DeviceAddress; }

private:
    // All set while a host is attached.
    struct ReportingFlags {
        bool reportFailures = false;         // a transfer that got no answer is shown in a box
        bool showProgress = false;           // connection, operation and detail texts, lamps
        bool showDeviceInformation = false;
        bool copyLogToMonitor = false;
    };

    void LogExchangeBlock(bool transmitted, const std::uint8_t* bytes, int count);
    void SetConnectionText(const QString& text);

    CTransmitChanel m_TransmitChanel;
    CModbusMaster m_ModbusMaster;
    DriverHost* m_Host = nullptr;
    ReportingFlags m_Reporting;
    std::uint8_t m_DeviceAddress = 1;
    std::atomic<bool> m_StopRequested{false};
};
