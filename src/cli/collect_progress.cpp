#include "cli/collect_progress.h"

#include "archives/descriptor_rows.h"
#include "cli/terminal_output.h"

namespace {
constexpr qint64 kEveryMs = 5000;
}

CollectProgress::CollectProgress(const QString& line, const QString& meter)
    : m_prefix(line + QStringLiteral(": ") + meter + QStringLiteral(": "))
{}

void CollectProgress::ArchiveStarted(int kind)
{
    m_archive = ValueArchiveName(kind) + QStringLiteral(" архив");
    m_printed.invalidate();
}

void CollectProgress::RecordsDone(std::int64_t done, std::int64_t total)
{
    if (m_archive.isEmpty() || (m_printed.isValid() && !m_printed.hasExpired(kEveryMs)))
        return;
    Print(done, total);
}

void CollectProgress::Print(std::int64_t done, std::int64_t total)
{
    m_printed.start();
    PrintNotice(m_prefix + m_archive + QStringLiteral(", %1 из %2 записей\n").arg(done).arg(total));
}
