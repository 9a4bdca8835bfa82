#include "gui/archives/archive_range_runner.h"

ArchiveRangeRunner::ArchiveRangeRunner(AppEnvironment& environment, CommandExtensions* others, QObject* parent)
    : QObject(parent), ArchiveRangeExtension(ConfiguredTargetSource(environment), this, others)
{}

bool ArchiveRangeRunner::ReadArchiveRange(CRovoRedod& driver)
{
    m_throttle.Restart();
    emit rangeStarted();
    const bool succeeded = ArchiveRangeExtension::ReadArchiveRange(driver);
    emit rangeFinished(succeeded);
    return succeeded;
}

void ArchiveRangeRunner::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (m_throttle.Due(done, total))
        emit recordsDone(done, total);
}
