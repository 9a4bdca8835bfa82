#pragma once
// A page host for the input pages: the driver talks to the in-process simulated meter (with the
// factory-blank configuration), messages are recorded and answered from a script, page selections and tree
// relabelling are counted.

#include "app/app_environment.h"
#include "base/user_message.h"
#include "gui/widgets/page_host.h"
#include "support/driver_rig.h"

#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

class WiPageHost : public PageHost {
    static RigOptions BlankMeter()
    {
        RigOptions options;
        options.blankConfiguration = true;
        return options;
    }

public:
    // `model`: the model index the simulated meter reports.
    explicit WiPageHost(int model = 3);

    // Connects and reads the meter's configuration; false when the driver did not get there.
    bool Connect();
    // Writes the driver's configuration into the meter; false when it was not accepted.
    bool WriteToMeter();
    ConfigurationBlocks& Blocks() { return rig.driver.Configuration(); }
    InputSettings& In(int set, int input) { return Blocks().tunes.db[set].inputs[input]; }
    QStringList MessageTexts() const;

    CRovoRedod& Driver() override { return rig.driver; }
    AppEnvironment& Environment() override { return *m_environment; }
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    bool SelectNode() override { return false; }
    void SelectPage(int pageId) override { selectedPages.push_back(pageId); }
    void ConfigurationLabelsChanged() override { ++labelsChanged; }

    // The input pages are tested from a meter whose inputs are all unused.
    DriverRig rig{BlankMeter()};
    std::vector<UserMessage> messages;
    std::deque<int> answers;  // one per message; OK once they run out
    std::vector<int> selectedPages;
    int labelsChanged = 0;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<AppEnvironment> m_environment;
};
