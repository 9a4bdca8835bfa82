#include "gui/archives/archive_export_runner.h"

ArchiveExportRunner::ArchiveExportRunner(AppEnvironment& environment, CommandExtensions* others, QObject* parent)
    : QObject(parent), ArchiveExportExtension(ConfiguredTargetSource(environment), this, others)
{}

bool ArchiveExportRunner::ExportWholeArchive(CRovoRedod& driver)
{
    m_throttle.Restart();
    emit exportStarted();
    const bool succeeded = ArchiveExportExtension::ExportWholeArchive(driver);
    const ExportCounts& counts = LastCounts();
    emit exportFinished(succeeded, counts.total, ExportCountsText(counts));
    return succeeded;
}

void ArchiveExportRunner::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (m_throttle.Due(done, total))
        emit recordsDone(done, total);
}
