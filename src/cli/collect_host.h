#pragma once
// The host of one meter's driver in a collector run: nobody watches, so nothing is shown. The first
// message the driver would show is kept as the meter's error (what CollectRuns and the summary say),
// questions get the careful answer (No, Cancel), and with -v the exchange log goes to stderr under
// the meter's name. Each driver has its own host, used by that driver's thread alone.

#include "protocol/driver_host.h"

#include <QString>

class CollectHost : public DriverHost {
public:
    CollectHost(const QString& meterName, bool verbose);

    // The first message shown, or else the operation the driver was at; asked only of a meter that failed.
    QString ErrorText() const;

    int ShowMessageBox(const QString& text, const QString& caption, unsigned style) override;
    void AppendLogLine(const QString& line) override;
    void SetConnectionText(const QString&) override {}
    void SetOperationText(const QString& text) override { m_operationText = text; }
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester*) override {}
    void CommandFinished(CommandRequester*, int) override {}

private:
    const QString m_meterName;
    const bool m_verbose;
    QString m_firstMessage;
    QString m_operationText;
};
