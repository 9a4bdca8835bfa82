#include "config/settings_report_markup.h"

#include "config/tunes_record.h"
#include "reports/format_value.h"

#include <QRegularExpression>

namespace settings_report {

namespace {

QString Cell(const char* tag, const QString& text, const QString& attributes)
{
    QString cell = QStringLiteral("  <") + QLatin1String(tag);
    if (!attributes.isEmpty())
        cell += QLatin1Char(' ') + attributes;
    return cell + QLatin1Char('>') + text + QStringLiteral("</") + QLatin1String(tag) + QLatin1Char('>')
        + QLatin1String(kCrLf);
}

}  // namespace

QString Td(const QString& text, const QString& attributes)
{
    return Cell("td", text, attributes);
}

QString Th(const QString& text, const QString& attributes)
{
    return Cell("th", text, attributes);
}

QString SpanTd(const QString& text, int columns)
{
    const QString shown = text.isEmpty() ? QString::fromLatin1(kEmpty) : text;
    QString attributes = columns > 1 ? QStringLiteral("colspan=%1").arg(columns) : QString();
    const QString number = FractionAttribute(text);
    if (!number.isEmpty())
        attributes += attributes.isEmpty() ? number : QLatin1Char(' ') + number;
    return Td(shown, attributes);
}

QString NumberAttribute(const QString& value)
{
    return QStringLiteral("x:num=\"%1\" sdval=\"%1\" sdnum=\"1033;\"").arg(value);
}

QString FractionAttribute(const QString& text)
{
    static const QRegularExpression fraction(QStringLiteral("^-?[0-9]+\\.[0-9]+$"));
    const QString trimmed = text.trimmed();
    return fraction.match(trimmed).hasMatch() ? NumberAttribute(trimmed) : QString();
}

void AppendRow(QString& out, const QStringList& cells)
{
    out += QStringLiteral(" <tr>\r\n");
    for (const QString& cell : cells)
        out += cell;
    out += QStringLiteral(" </tr>\r\n");
}

void AppendTitleRow(QString& out, const QString& title)
{
    const QString borderless = QStringLiteral("class=\"ltrb\"");
    QStringList cells{Td(title, borderless)};
    for (int i = 0; i < kFillerCells; ++i)
        cells << Td(QLatin1String(kEmpty), borderless);
    AppendRow(out, cells);
}

QString Enumerated(ValueTexts table, unsigned value)
{
    return ShortTextOf(table, value, "недоп.значение");
}

QString Decimal(double value, int decimals, int width)
{
    return FormatValue(value, decimals, width, false);
}

QString PressureUnit(unsigned unitSystem)
{
    return unitSystem == kUnitSystemMks ? QStringLiteral("кгс/см2") : QStringLiteral("МПа");
}

}  // namespace settings_report
