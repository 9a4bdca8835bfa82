#include "archives/ui/archive_range_runner.h"

#include "app/app_environment.h"
#include "archives/database_target.h"

ArchiveRangeRunner::ArchiveRangeRunner(AppEnvironment& environment, CommandExtensions* others, QObject* parent)
    : QObject(parent),
      ArchiveRangeExtension(
          [&environment](DatabaseTarget* target, QString* error) {
              return ConfiguredDatabaseTarget(environment.Settings(), environment.WorkFolderPath(), target, error);
          },
          this, others)
{
}

bool ArchiveRangeRunner::ReadArchiveRange(CRovoRedod& driver)
{
    m_sinceProgress.invalidate();
    emit rangeStarted();
    const bool succeeded = ArchiveRangeExtension::ReadArchiveRange(driver);
    emit rangeFinished(succeeded);
    return succeeded;
}

void ArchiveRangeRunner::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (m_sinceProgress.isValid() && m_sinceProgress.elapsed() < kProgressIntervalMs && done < total)
        return;
    m_sinceProgress.start();
    emit recordsDone(done, total);
}
