#include "archives/archive_export_extension.h"

#include "archives/database_target.h"
#include "channel/message_style.h"
#include "protocol/rovo_redod.h"

ArchiveExportExtension::ArchiveExportExtension(TargetSource target, ExportProgress* progress,
                                               CommandExtensions* others)
    : m_target(std::move(target)), m_progress(progress), m_others(others)
{
}

bool ArchiveExportExtension::ExportWholeArchive(CRovoRedod& driver)
{
    DatabaseTarget target;
    QString error;
    if (!m_target(&target, &error)) {
        driver.LogLine(error);
        driver.ShowMessage(error, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
        return false;
    }
    ArchiveExport exporter(target, m_progress);
    const bool succeeded = exporter.ExportWholeArchive(driver);
    m_counts = exporter.Counts();
    return succeeded;
}

bool ArchiveExportExtension::CalibrateTemperature(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateTemperature(driver)
                    : ReportMissingExtension(driver, kCommandCalibrateTemperature);
}

bool ArchiveExportExtension::CalibrateCurrent(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateCurrent(driver) : ReportMissingExtension(driver, kCommandCalibrateCurrent);
}

QByteArray ArchiveExportExtension::ReadIdleModemText(CRovoRedod& driver)
{
    return m_others ? m_others->ReadIdleModemText(driver) : QByteArray();
}
