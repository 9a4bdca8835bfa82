#include "archives/archive_export_extension.h"

#include "archives/database_target.h"
#include "base/message_style.h"
#include "protocol/rovo_redod.h"

ArchiveExportExtension::ArchiveExportExtension(TargetSource target, ExportProgress* progress, CommandExtensions* others)
    : ForwardingExtensions(others), m_target(std::move(target)), m_progress(progress)
{}

bool ArchiveExportExtension::ExportWholeArchive(CRovoRedod& driver)
{
    DatabaseTarget target;
    if (!ChosenDatabaseTarget(m_target, driver, &target))
        return false;
    ArchiveExport exporter(target, m_progress);
    const bool succeeded = exporter.ExportWholeArchive(driver);
    m_counts = exporter.Counts();
    return succeeded;
}

QByteArray ArchiveExportExtension::ReadIdleModemText(CRovoRedod& driver)
{
    return Others() ? Others()->ReadIdleModemText(driver) : QByteArray();
}

bool ChosenDatabaseTarget(const ArchiveExportExtension::TargetSource& source, CRovoRedod& driver,
                          DatabaseTarget* target)
{
    QString error;
    if (source(target, &error))
        return true;
    driver.LogLine(error);
    driver.ShowMessage(error, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
    return false;
}
