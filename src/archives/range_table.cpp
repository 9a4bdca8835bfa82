#include "archives/range_table.h"

#include "archives/other_date_records.h"
#include "base/text_codec.h"
#include "config/settings_report_markup.h"
#include "reports/report_template.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

constexpr const char* kCrLf = "\r\n";

bool HasFlags(const TrendQuantity& quantity)
{
    return quantity.flagged != FlaggedQuantity::Unflagged;
}

QString DateText(const TChronoArch& date)
{
    return QString::asprintf("%.2d.%.2d.%.4d %.2d:00", date.day, date.month, date.year + kBaseYear, date.hour);
}

QString ShortDate(const TChronoArch& date)
{
    return QString::asprintf("%.2d.%.2d.%.4d", date.day, date.month, date.year + kBaseYear);
}

const char* KindTitle(ArchiveKind kind)
{
    switch (kind) {
        case kArchiveDaily:
            return "Суточный архив";
        case kArchiveMonthly:
            return "Месячный архив";
        default:
            return "Часовой архив";
    }
}

}  // namespace

QString RangeTableTitle(const ArchiveRange& range, std::uint32_t serial)
{
    return QStringLiteral("%1, зав.N %2, %3 - %4")
        .arg(QString::fromUtf8(KindTitle(range.kind)))
        .arg(serial)
        .arg(ShortDate(range.from), ShortDate(range.to));
}

QString RangeResultText(const ArchiveRangeResult& result)
{
    QString text = QStringLiteral("Записей: %1 (из базы: %2, с прибора: %3")
                       .arg(result.records.size())
                       .arg(result.fromDatabase)
                       .arg(result.fromMeter);
    if (result.missing > 0)
        text += QStringLiteral(", не прочитано: %1").arg(result.missing);
    if (!result.otherDates.empty())
        text += QStringLiteral("; ответ с чужой датой: %1").arg(OtherDatesList(result.otherDates));
    return text + QLatin1Char(')');
}

DecimalSeparator LocaleDecimalSeparator()
{
    return QLocale::system().decimalPoint() == QLatin1String(",") ? DecimalSeparator::Comma : DecimalSeparator::Point;
}

std::optional<DecimalSeparator> ParseDecimalSeparator(const QString& word)
{
    if (word == QLatin1String("comma"))
        return DecimalSeparator::Comma;
    if (word == QLatin1String("point"))
        return DecimalSeparator::Point;
    return std::nullopt;
}

QString RangeNumberText(float value, DecimalSeparator separator)
{
    if (!std::isfinite(value))
        return {};
    // The shortest fixed-point text that reads back as this very single, so a table loses nothing.
    char buffer[64];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, end.ptr - buffer);
    if (separator == DecimalSeparator::Comma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QStringList RangeTableHeads(const TrendSelection& quantities)
{
    QStringList heads{QStringLiteral("Дата")};
    for (const TrendQuantity* quantity : quantities)
        heads << QStringLiteral("%1, %2").arg(quantity->label, TrendUnitText(quantity->unit));
    for (const TrendQuantity* quantity : quantities) {
        if (HasFlags(*quantity))
            heads << quantity->label + QStringLiteral(" НС");
    }
    return heads;
}

QStringList RangeTableRow(const RangeRecord& record, const TrendSelection& quantities, DecimalSeparator separator)
{
    QStringList cells{DateText(record.date)};
    for (const TrendQuantity* quantity : quantities)
        cells << RangeNumberText(float(TrendValue(*quantity, record.record)), separator);
    for (const TrendQuantity* quantity : quantities) {
        if (HasFlags(*quantity))
            cells << TrendFlagText(*quantity, record.record);
    }
    return cells;
}

QByteArray RangeCsv(const std::vector<RangeRecord>& records, const TrendSelection& quantities,
                    DecimalSeparator separator)
{
    QString text = RangeTableHeads(quantities).join(QLatin1Char(kCsvSeparator)) + QLatin1String(kCrLf);
    for (const RangeRecord& record : records)
        text += RangeTableRow(record, quantities, separator).join(QLatin1Char(kCsvSeparator)) + QLatin1String(kCrLf);
    return QByteArray(kUtf8Bom) + text.toUtf8();
}

QByteArray RangeHtml(const std::vector<RangeRecord>& records, const TrendSelection& quantities, const QString& title)
{
    using settings_report::AppendRow;
    using settings_report::NumberAttribute;
    using settings_report::Td;
    using settings_report::Th;
    const QString borderless = QStringLiteral("class=\"ltrb\"");
    QString body = QStringLiteral("<table>\r\n");
    AppendRow(body, {Td(title.toHtmlEscaped(), borderless)});
    QStringList heads;
    for (const QString& head : RangeTableHeads(quantities))
        heads << Th(head.toHtmlEscaped());
    AppendRow(body, heads);
    for (const RangeRecord& record : records) {
        const QStringList shown = RangeTableRow(record, quantities);
        const QStringList values = RangeTableRow(record, quantities, DecimalSeparator::Point);
        QStringList cells;
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const bool number = i >= 1 && i <= qsizetype(quantities.size()) && !shown[i].isEmpty();
            const QString& cell = shown[i];
            cells << Td(cell.isEmpty() ? QStringLiteral("&nbsp;") : cell.toHtmlEscaped(),
                        number ? NumberAttribute(values[i]) : QString());
        }
        AppendRow(body, cells);
    }
    body += QStringLiteral("</table>\r\n");
    ReportOptions options = DefaultReportOptions();
    options.landscape = true;
    return EncodeWindows1251(ReportHeader(options) + body + ReportTail());
}
