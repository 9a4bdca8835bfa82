#pragma once
// A page host for the pipes and controls pages: the driver of a DriverRig (the simulated meter behind
// it, started only when a test talks to the meter), a program folder of its own, and message boxes
// recorded and answered by the test.

#include "app/app_environment.h"
#include "gui/widgets/page_host.h"
#include "support/driver_rig.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class PipesPagesRig : public PageHost {
public:
    explicit PipesPagesRig(const RigOptions& options = {});

    CRovoRedod& Driver() override { return rig.driver; }
    AppEnvironment& Environment() override { return *m_environment; }
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    bool SelectNode() override { return false; }
    void SelectPage(int) override {}
    void ConfigurationLabelsChanged() override { ++labelChanges; }

    ConfigurationBlocks& Blocks() { return rig.driver.Configuration(); }

    DriverRig rig;
    QStringList messages;
    int answer = 1;  // MessageAnswer::kOk
    int labelChanges = 0;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<AppEnvironment> m_environment;
};
