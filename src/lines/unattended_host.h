#pragma once
// The host of one meter's driver when nobody watches (a collector run, the watcher): nothing is shown.
// The first message the driver would show is kept as the meter's error, questions get the careful
// answer (No, Cancel), and the exchange log goes to the sink given (none: dropped). Each driver has its
// own host, used only by the thread that runs the driver.

#include "protocol/driver_host.h"

#include <QString>

#include <functional>

class UnattendedHost : public DriverHost {
public:
    using LogSink = std::function<void(const QString& line)>;
    explicit UnattendedHost(LogSink log = {});

    // The first message shown, or else the operation the driver was at; asked only of a meter that failed.
    QString ErrorText() const;

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;
    void SetConnectionText(const QString&) override {}
    void SetOperationText(const QString& text) override;
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester*) override {}
    void CommandFinished(CommandRequester*, int) override {}

private:
    const LogSink m_log;
    QString m_firstMessage;
    QString m_operation;
};
