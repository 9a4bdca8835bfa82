#include "archives/export_counts.h"

#include "archives/descriptor_rows.h"
#include "archives/other_date_records.h"
#include "meter/archive_date.h"

namespace {

QString ArchiveLine(int kind, const ArchiveExportCount& count)
{
    QString line = QStringLiteral("%1 архив: записано %2, уже были в базе %3, не записано %4")
                       .arg(ValueArchiveName(kind))
                       .arg(count.written)
                       .arg(count.skipped)
                       .arg(count.NotStored());
    QStringList notes;
    if (!count.otherDates.empty())
        notes << QStringLiteral("ответ с чужой датой: %1").arg(OtherDatesList(count.otherDates));
    if (count.cutShort && count.stoppedAtKnown)
        notes << QStringLiteral("остановлено на %1").arg(StampText(count.stoppedAt));
    else if (count.cutShort && count.NotStored() > std::int64_t(count.otherDates.size()))
        notes << QStringLiteral("не завершен");
    return notes.isEmpty() ? line : line + QStringLiteral(" (%1)").arg(notes.join(QStringLiteral("; ")));
}

}  // namespace

bool ExportCounts::AnyCutShort() const
{
    for (const ArchiveExportCount& archive : archives) {
        if (archive.cutShort)
            return true;
    }
    return false;
}

QString ExportCountsText(const ExportCounts& counts, bool everyArchive)
{
    QString text = QStringLiteral("Записано: %1\nУже были в базе: %2\nВсего записей в архивах: %3")
                       .arg(counts.written)
                       .arg(counts.skipped)
                       .arg(counts.total);
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        if (everyArchive || counts.archives[kind].cutShort)
            text += u'\n' + ArchiveLine(kind, counts.archives[kind]);
    }
    return text;
}
