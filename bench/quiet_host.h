#pragma once
// A driver host that takes every notification and shows nothing, so a benchmark measures the driver's
// own cost. Benchmarks override the notifications they count.

#include "base/message_style.h"
#include "protocol/driver_host.h"

class QuietHost : public DriverHost {
public:
    int ShowMessageBox(const QString&, const QString&, unsigned) override { return MessageAnswer::kOk; }
    void AppendLogLine(const QString&) override {}
    void SetConnectionText(const QString&) override {}
    void SetOperationText(const QString&) override {}
    void SetDetailText(const QString&) override {}
    void BusyChanged() override {}
    void SetDeviceInformation(const QString&) override {}
    void FlashLamp(Lamp) override {}
    void RefreshConfigurationPages() override {}
    void RefreshCommandStates(CommandRequester*) override {}
    void CommandFinished(CommandRequester*, int) override {}
};
