#pragma once
// CRovoRedod, the driver of one meter. It owns the channel to the meter and the Modbus master, holds the
// image of the meter's registers with the working copies the pages edit, lends them to its device
// operations (DeviceOperations), and runs the command thread (numbered commands, one at a time) and the
// service thread (stop, break the connection). Everything it shows goes through its host; nothing is
// shown without one.
//
// The operations may also be called directly on one thread with no driver threads running (a script,
// a benchmark); the command thread is then simply never started.

#include "channel/channel_owner.h"
#include "channel/transmit_channel.h"
#include "config/config_messages.h"
#include "protocol/area_transfer.h"
#include "protocol/channel_exchange.h"
#include "protocol/command_queue.h"
#include "protocol/device_operations.h"
#include "protocol/driver_access.h"
#include "protocol/driver_commands.h"
#include "protocol/driver_data.h"
#include "protocol/modbus_master.h"

#include <QMutex>
#include <QWaitCondition>

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

class CommandExtensions;
class DriverHost;
class QThread;

class CRovoRedod final : public ChannelOwner, public DriverAccess, private ConfigMessageHost {
public:
    CRovoRedod();
    // Stops a running command and ends both threads before anything else goes.
    ~CRovoRedod() override;
    CRovoRedod(const CRovoRedod&) = delete;
    CRovoRedod& operator=(const CRovoRedod&) = delete;

    // Binds the host and turns every reporting flag on; null detaches and turns them off. Called while
    // the driver's threads are not running.
    void AttachHost(DriverHost* host);
    DriverHost* Host() const { return m_host; }
    // Commands 16-18 and the idle modem check; null (the default) makes those commands fail.
    void SetCommandExtensions(CommandExtensions* extensions) { m_extensions = extensions; }

    void StartThreads();
    // Quit, then join: a running command is stopped first. The host must outlive this call.
    void StopThreads();

    CTransmitChanel& TransmitChanel() { return m_transmitChanel; }
    const CTransmitChanel& MeterChannel() const override { return m_transmitChanel; }
    CModbusMaster& ModbusMaster() { return m_modbusMaster; }
    void SetDeviceAddress(std::uint8_t address) { m_deviceAddress = address; }
    // How long one second of an answer time-out lasts (1000 ms). Tests that run thousands of exchanges
    // against a meter that loses answers on purpose shorten it; set while no command runs.
    void SetTimeoutUnitMs(int ms) { m_timeoutUnitMs = ms > 0 ? ms : 1000; }

    // --- Queues (any thread) ---
    // DriverCommand; true once it is queued. `requester` takes the requester slot.
    bool QueueCommand(std::uint32_t code, CommandRequester* requester) override;
    // DriverServiceRequest.
    void QueueServiceRequest(std::uint32_t code) override;
    // A page going away makes sure it is not notified any more.
    void ForgetRequester(const CommandRequester* requester) override { m_commands.Forget(requester); }
    bool IsBusy() const override { return m_busy.load(); }
    bool IsDeviceConnected() const override { return m_deviceConnected.load(); }
    // Waits until every queued command has run and its requester has been told; false after `timeoutMs`.
    bool WaitUntilIdle(int timeoutMs) const;

    // The stop request may be raised from any thread; every wait of the channel then ends within one
    // polling interval. It stays raised until the next command clears it (several places of the channel
    // poll it during one wait, so it is a level, not a one-shot event).
    void RequestStop() { m_stopRequested.store(true); }
    void ClearStopRequest() { m_stopRequested.store(false); }

    // --- Data (between commands) ---
    DriverData& Data() override { return m_data; }
    const DriverData& Data() const override { return m_data; }
    ConfigurationBlocks& Configuration() override { return m_data.configuration; }
    std::uint16_t FirmwareLevel() const override { return m_data.configuration.identity.firmwareLevel; }
    // The bytes of an area in the image, as many as the connected meter's firmware level transfers.
    std::span<const std::uint8_t> AreaBytes(MeterArea area) const override;

    // --- Device operations (command thread); true on success, failures already reported ---
    DeviceOperations& Operations() { return m_operations; }

    // --- Command flows (command thread) ---
    // Opens the channel for a connect: a modem link that is up while the meter is not connected is kept.
    bool OpenChannel();
    // Command 0 (reopen) and command 1.
    bool ConnectDevice(bool reopenChannel);
    void BreakConnection();
    // Command 2: the meter's model and clock checks, then the configuration.
    bool WriteConfiguration();

    // ChannelOwner.
    quintptr MainWindowId() const override;
    int SendQueryTo(int attempts, int timeoutSec) override;  // request_engine.cpp
    bool ReportsUnknownKind() const override;
    bool StopRequested() const override;
    bool UsbStopRequested() const override;
    int MyOnCharsRecieved(const std::uint8_t* bytes, int count) override;
    int MyOnCharsTransmitted(const std::uint8_t* bytes, int count) override;
    void LogLine(const QString& text) override;
    // Also what the write-time checks of the configuration ask through.
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    std::uint8_t DeviceAddress() const override { return m_deviceAddress; }
    // main_process.cpp: a line that was up and fails during a command is lost, and said so once.
    void ReportLineTrouble(const QString& text) override;

private:
    // All set while a host is attached.
    struct ReportingFlags {
        bool reportFailures = false;  // a transfer that got no answer is shown in a box
        bool showProgress = false;    // connection, operation and detail texts, lamps
        bool showDeviceInformation = false;
        bool copyLogToMonitor = false;
    };
    using Limits = AreaTransfer::Limits;

    // Logs the title with "..."; the main window shows `progressTitle` (the title when empty) the same
    // way as operation text and bare as detail.
    void BeginOperation(const QString& title, const QString& progressTitle = QString());

    // main_process.cpp
    bool MainProcess(std::uint32_t code);
    bool RunCommand(std::uint32_t code);
    void ShowCommandResult(bool succeeded);
    bool RunServiceCommand();
    bool RunExtension(std::uint32_t code);
    bool ReadCurrentValuesCyclic();
    void NotifyRequester(bool refreshFirst, int code);

    // driver_threads.cpp
    void CommandThreadLoop();
    void ServiceProcessLoop();
    void RunQueuedCommand(std::uint32_t code);
    void CountOutstanding(int change);
    void RunService(std::uint32_t code);
    void BreakOnRequest();
    void ModemIdlePass();

    void SetConnectionText(const QString& text);
    void SetOperationText(const QString& text);
    void SetDetailText(const QString& text);
    void SetDeviceInformation(const QString& text);
    void RaiseBusyChanged();

    CTransmitChanel m_transmitChanel;
    CModbusMaster m_modbusMaster;
    ChannelExchange m_exchange;
    DriverHost* m_host = nullptr;
    CommandExtensions* m_extensions = nullptr;
    ReportingFlags m_reporting;
    std::uint8_t m_deviceAddress = 1;
    int m_timeoutUnitMs = 1000;
    DriverData m_data;
    AreaTransfer m_areas;
    DeviceOperations m_operations;

    CommandQueue m_commands;
    CommandQueue m_service;
    std::uint32_t m_currentCommand = 0;
    // Commands queued and not yet finished (their notifications included), guarded by m_idleLock.
    int m_outstanding = 0;
    mutable QMutex m_idleLock;
    mutable QWaitCondition m_idle;
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_breakRequested{false};
    std::atomic<bool> m_deviceConnected{false};
    std::atomic<bool> m_quit{false};
    int m_idlePasses = 0;
    // Of the command running, on its thread: whether it began with the meter connected, and whether the
    // line has failed under it since.
    bool m_lineWasUp = false;
    bool m_lineLost = false;
    std::unique_ptr<QThread> m_commandThread;
    std::unique_ptr<QThread> m_serviceThread;
};
