#include "archives/other_date_records.h"

#include "archives/descriptor_rows.h"
#include "base/message_style.h"
#include "protocol/rovo_redod.h"

namespace {
constexpr std::size_t kListedDates = 10;
}

QString OtherDatesList(const std::vector<DateTimeStamp>& dates)
{
    QStringList texts;
    for (std::size_t i = 0; i < dates.size() && i < kListedDates; ++i)
        texts << StampText(dates[i]);
    QString list = texts.join(QStringLiteral(", "));
    if (dates.size() > kListedDates)
        list += QStringLiteral(" и еще %1").arg(dates.size() - kListedDates);
    return list;
}

QString OtherDatesOfArchive(int kind, const std::vector<DateTimeStamp>& dates)
{
    return QStringLiteral("%1 архив %2").arg(ValueArchiveName(kind).toLower(), OtherDatesList(dates));
}

void ReportOtherDateRecords(CRovoRedod& driver, std::int64_t count, const QStringList& parts)
{
    const QString text = QStringLiteral(
                             "Записей не записано: %1 - прибор отвечал на их запросы записями за другие "
                             "даты (возможно, его опрашивает и другая программа): %2")
                             .arg(count)
                             .arg(parts.join(QStringLiteral("; ")));
    driver.LogLine(text);
    driver.ShowMessage(text, QString::fromUtf8(kCaptionInformation), MessageStyle::kIconWarning);
}
