#include "archives/ui/archive_export_runner.h"

#include "app/app_environment.h"
#include "archives/database_target.h"
#include "protocol/driver_commands.h"

ArchiveExportRunner::ArchiveExportRunner(AppEnvironment& environment, QObject* parent)
    : QObject(parent),
      m_environment(environment),
      m_export(
          [this](DatabaseTarget* target, QString* error) {
              return ConfiguredDatabaseTarget(m_environment.Settings(), m_environment.WorkFolderPath(), target, error);
          },
          this)
{
}

bool ArchiveExportRunner::ExportWholeArchive(CRovoRedod& driver)
{
    m_sinceProgress.invalidate();
    emit exportStarted();
    const bool succeeded = m_export.ExportWholeArchive(driver);
    const ExportCounts& counts = m_export.LastCounts();
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

bool ArchiveExportRunner::CalibrateTemperature(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateTemperature(driver)
                    : ReportMissingExtension(driver, kCommandCalibrateTemperature);
}

bool ArchiveExportRunner::CalibrateCurrent(CRovoRedod& driver)
{
    return m_others ? m_others->CalibrateCurrent(driver) : ReportMissingExtension(driver, kCommandCalibrateCurrent);
}

QByteArray ArchiveExportRunner::ReadIdleModemText(CRovoRedod& driver)
{
    return m_others ? m_others->ReadIdleModemText(driver) : CommandExtensions::ReadIdleModemText(driver);
}
