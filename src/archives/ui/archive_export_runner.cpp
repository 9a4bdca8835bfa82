#include "archives/ui/archive_export_runner.h"

#include "app/app_environment.h"
#include "archives/database_target.h"

ArchiveExportRunner::ArchiveExportRunner(AppEnvironment& environment, CommandExtensions* others, QObject* parent)
    : QObject(parent),
      ArchiveExportExtension(
          [&environment](DatabaseTarget* target, QString* error) {
              return ConfiguredDatabaseTarget(environment.Settings(), environment.WorkFolderPath(), target, error);
          },
          this, others)
{
}

bool ArchiveExportRunner::ExportWholeArchive(CRovoRedod& driver)
{
    m_sinceProgress.invalidate();
    emit exportStarted();
    const bool succeeded = ArchiveExportExtension::ExportWholeArchive(driver);
    const ExportCounts& counts = LastCounts();
    emit exportFinished(succeeded, counts.written, counts.skipped, counts.total);
    return succeeded;
}

void ArchiveExportRunner::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (m_sinceProgress.isValid() && m_sinceProgress.elapsed() < kProgressIntervalMs && done < total)
        return;
    m_sinceProgress.start();
    emit recordsDone(done, total);
}
