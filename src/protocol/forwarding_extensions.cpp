#include "protocol/forwarding_extensions.h"

#include "protocol/driver_commands.h"

bool ForwardingExtensions::ExportWholeArchive(CRovoRedod& driver)
{
    return m_others ? m_others->ExportWholeArchive(driver) : ReportMissingExtension(driver, kCommandExportArchive);
}

bool ForwardingExtensions::CalibrateTemperature(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateTemperature(driver)
                    : ReportMissingExtension(driver, kCommandCalibrateTemperature);
}

bool ForwardingExtensions::CalibrateCurrent(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateCurrent(driver) : ReportMissingExtension(driver, kCommandCalibrateCurrent);
}

bool ForwardingExtensions::ReadArchiveRange(CRovoRedod& driver)
{
    return m_others ? m_others->ReadArchiveRange(driver) : CommandExtensions::ReadArchiveRange(driver);
}

QByteArray ForwardingExtensions::ReadIdleModemText(CRovoRedod& driver)
{
    return m_others ? m_others->ReadIdleModemText(driver) : CommandExtensions::ReadIdleModemText(driver);
}
