#include "archives/archive_read_plan.h"

#include "protocol/driver_commands.h"

#include <algorithm>
#include <limits>

QStringList ArchiveDataTypeNames()
{
    return {QStringLiteral("Часовой"),       QStringLiteral("Суточный"),        QStringLiteral("Месячный"),
            QStringLiteral("Итоговый"),      QStringLiteral("Текущие"),         QStringLiteral("Текущие итоги"),
            QStringLiteral("Архив изм. БД"), QStringLiteral("Архив адм. соб."), QStringLiteral("Архив диагн.")};
}

int FieldNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

ArchiveReadPlan PlanArchiveRead(const ArchiveReadForm& form, int step, ReportTime reportTime)
{
    ArchiveReadPlan plan;
    // Compared unsigned, so that a negative count is over the meter's limit too.
    const auto count = static_cast<std::uint32_t>(FieldNumber(form.countText));
    plan.countText = count > kMaxEventEntries ? QString::number(kMaxEventEntries) : form.countText;
    plan.cyclic = form.cyclic;
    plan.periodMs = static_cast<int>(std::clamp<long long>(FieldNumber(form.periodText) * 1000LL, kMinReadPeriodMs,
                                                           std::numeric_limits<int>::max()));
    plan.date = form.date;
    if (DataTypeUsesDate(form.dataType)) {
        const auto kind = static_cast<ArchiveKind>(form.dataType);
        plan.date = StepArchiveDate(kind, form.date, step, reportTime);
        plan.request = ValueArchiveRequest(kind, StampOf(plan.date));
        plan.command = kCommandReadArchiveValues;
    } else if (DataTypeUsesRecords(form.dataType)) {
        plan.request = EventLogRequest(static_cast<EventLogKind>(form.dataType - kDataDbChanges),
                                       static_cast<std::uint16_t>(FieldNumber(form.recordText)), count);
        plan.command = kCommandReadEventLog;
    } else {
        plan.request.kind = static_cast<std::uint16_t>(form.dataType == kDataCurrentTotals ? kArchiveCurrentTotals
                                                                                           : kArchiveCurrentValues);
        plan.command = kCommandReadCurrentValues;
    }
    return plan;
}

std::optional<TChronoArch> DateInsideArchive(const ArchiveDescriptors& descriptors, int dataType,
                                             const TChronoArch& shown, ReportTime reportTime)
{
    if (!DataTypeUsesDate(dataType) || descriptors.IsEmpty(dataType))
        return std::nullopt;
    const auto kind = static_cast<ArchiveKind>(dataType);
    const TChronoArch first = ChronoOf(descriptors.FirstRecord(kind));
    // The last-record date is the slot the meter is still filling; the newest record is the one before.
    const TChronoArch newest = StepArchiveDate(kind, ChronoOf(descriptors.LastRecord(kind)), -1, reportTime);
    if (HourDifference(newest, first) < 0)
        return std::nullopt;
    if (HourDifference(shown, first) >= 0 && HourDifference(shown, newest) <= 0)
        return std::nullopt;
    return newest;
}
