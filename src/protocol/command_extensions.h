#pragma once
// Work of the command thread that lives outside the driver: the whole-archive export into the database,
// the calibrations against the reference stand, and reading what a modem sent while the line was idle.
// The driver calls them on its command thread; without an implementation those commands fail with a
// message and the idle modem check reads the driver's own serial port.

#include <QByteArray>

#include <cstdint>

class CRovoRedod;

class CommandExtensions {
public:
    virtual ~CommandExtensions() = default;

    // Commands 16, 17 and 18; true on success. Failures are reported by the implementation.
    virtual bool ExportWholeArchive(CRovoRedod& driver) = 0;
    virtual bool CalibrateTemperature(CRovoRedod& driver) = 0;
    virtual bool CalibrateCurrent(CRovoRedod& driver) = 0;
    // Command 20, a stretch of a value archive from the database and the meter; by default unavailable.
    virtual bool ReadArchiveRange(CRovoRedod& driver);

    // Up to 1000 characters the modem has sent on its own since the last look; empty when none. By
    // default read off the driver's channel.
    virtual QByteArray ReadIdleModemText(CRovoRedod& driver);
};

// What command 16, 17, 18 or 20 does when nothing carries it out: the driver logs and shows that the
// operation is not available. Returns false, the command's result.
bool ReportMissingExtension(CRovoRedod& driver, std::uint32_t code);
