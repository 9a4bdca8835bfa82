#include "archives/export_plan.h"

#include "archives/descriptor_rows.h"

namespace {

constexpr int kFutureHours = 24;

// Records from one after `newer` back to `older`, neither counted: how many steps of the kind lie between.
std::int64_t StepsBetween(ArchiveKind kind, const TChronoArch& older, const TChronoArch& newer)
{
    switch (kind) {
        case kArchiveHourly:
            return HourDifference(newer, older) - 1;
        case kArchiveMonthly:
            return (newer.year * 12 + newer.month) - (older.year * 12 + older.month) - 1;
        default:
            return DayNumber(newer) - DayNumber(older) - 1;
    }
}

// "120 ч", "3 сут.", "2 мес.": how many records, in the archive's own step.
QString StepsText(int kind, std::int64_t steps)
{
    const char* unit = kind == kArchiveHourly ? "ч" : kind == kArchiveMonthly ? "мес." : "сут.";
    return QString::number(steps) + u' ' + QString::fromUtf8(unit);
}

}  // namespace

ExportPlan::ExportPlan(const ArchiveDescriptors& descriptors, ReportTime reportTime, const NewestStored& newest,
                       const QDateTime& now)
    : m_descriptors(descriptors), m_reportTime(reportTime)
{
    const TChronoArch clock = ChronoOf(StampOf(now.toLocalTime()));
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        PlannedArchive& archive = m_archives[std::size_t(kind)];
        ArchiveWalk walk = Walk(kind);
        if (walk.IsEmpty())
            continue;
        const TChronoArch first = ChronoOf(walk.Date());
        for (; !walk.AtEnd(); walk.Next()) {
            ++archive.dates;
            if (HourDifference(ChronoOf(walk.Date()), clock) > kFutureHours) {
                ++archive.future;
                archive.newestFuture = walk.Date();
            }
        }
        if (!newest[std::size_t(kind)])
            continue;
        const TChronoArch stored = ChronoOf(*newest[std::size_t(kind)]);
        const std::int64_t lost = StepsBetween(ArchiveKind(kind), stored, first);
        if (lost > 0) {
            archive.lost = lost;
            archive.lostFrom = StepArchiveDate(ArchiveKind(kind), stored, 1, reportTime);
            archive.lostTo = StepArchiveDate(ArchiveKind(kind), first, -1, reportTime);
        }
    }
}

std::int64_t ExportPlan::Dates() const
{
    std::int64_t dates = 0;
    for (const PlannedArchive& archive : m_archives)
        dates += archive.dates;
    return dates;
}

std::int64_t ExportPlan::FutureDates() const
{
    std::int64_t future = 0;
    for (const PlannedArchive& archive : m_archives)
        future += archive.future;
    return future;
}

std::optional<DateTimeStamp> ExportPlan::NewestFuture() const
{
    std::optional<DateTimeStamp> newest;
    for (const PlannedArchive& archive : m_archives) {
        if (archive.future > 0 && (!newest || HourDifference(ChronoOf(archive.newestFuture), ChronoOf(*newest)) > 0))
            newest = archive.newestFuture;
    }
    return newest;
}

QStringList ExportPlanNotes(const ExportPlan& plan)
{
    QStringList notes;
    if (const std::optional<DateTimeStamp> newest = plan.NewestFuture())
        notes << QStringLiteral(
                     "в приборе есть записи с датами позже часов компьютера более чем на сутки: %1, последняя %2")
                     .arg(plan.FutureDates())
                     .arg(StampText(*newest));
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const PlannedArchive& archive = plan.Archive(kind);
        if (archive.lost > 0)
            notes << QStringLiteral("%1 архив: в приборе перезаписаны до чтения %2, с %3 по %4")
                         .arg(ValueArchiveName(kind).toLower(), StepsText(kind, archive.lost),
                              StampText(StampOf(archive.lostFrom)), StampText(StampOf(archive.lostTo)));
    }
    return notes;
}
