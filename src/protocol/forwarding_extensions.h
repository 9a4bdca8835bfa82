#pragma once
// Command extensions that carry out some commands themselves and pass every other one on to the next
// extensions in a chain (the archive database work, the calibrations). At the end of the chain a command
// nothing carries out fails with its message, and the idle modem check reads the driver's channel.

#include "protocol/command_extensions.h"

class ForwardingExtensions : public CommandExtensions {
public:
    explicit ForwardingExtensions(CommandExtensions* others) : m_others(others) {}

    bool ExportWholeArchive(CRovoRedod& driver) override;
    bool CalibrateTemperature(CRovoRedod& driver) override;
    bool CalibrateCurrent(CRovoRedod& driver) override;
    bool ReadArchiveRange(CRovoRedod& driver) override;
    QByteArray ReadIdleModemText(CRovoRedod& driver) override;

protected:
    CommandExtensions* Others() const { return m_others; }

private:
    CommandExtensions* m_others;
};
