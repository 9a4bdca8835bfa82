#include "archives/archive_range_extension.h"

#include "archives/archive_range_read.h"
#include "protocol/rovo_redod.h"

#include <QMutexLocker>

ArchiveRangeExtension::ArchiveRangeExtension(TargetSource target, ExportProgress* progress, CommandExtensions* others)
    : ForwardingExtensions(others), m_target(std::move(target)), m_progress(progress)
{}

void ArchiveRangeExtension::SetRange(const ArchiveRange& range)
{
    const QMutexLocker lock(&m_mutex);
    m_range = range;
}

ArchiveRangeResult ArchiveRangeExtension::LastResult() const
{
    const QMutexLocker lock(&m_mutex);
    return m_result;
}

bool ArchiveRangeExtension::ReadArchiveRange(CRovoRedod& driver)
{
    ArchiveRange range;
    {
        const QMutexLocker lock(&m_mutex);
        range = m_range;
        m_result = ArchiveRangeResult{};
    }
    DatabaseTarget target;
    if (!ChosenDatabaseTarget(m_target, driver, &target))
        return false;
    ArchiveRangeRead read(target, m_progress);
    const bool succeeded = read.Read(driver, range);
    const QMutexLocker lock(&m_mutex);
    m_result = read.Result();
    return succeeded;
}
