#include "statement/statement_writers.h"

#include "base/text_codec.h"
#include "config/settings_report_markup.h"
#include "reports/report_template.h"

namespace {

using settings_report::AppendRow;
using settings_report::NumberAttribute;
using settings_report::Td;
using settings_report::Th;

// Escaped for HTML, and the characters windows-1251 lacks ("²", "−", "≠") as character references.
QString Html(const QString& text)
{
    QString out;
    for (const QChar ch : text.toHtmlEscaped()) {
        bool lossless = true;
        if (ch.unicode() > 0x7F)
            EncodeWindows1251(QString(ch), &lossless);
        out += lossless ? QString(ch) : QStringLiteral("&#%1;").arg(ch.unicode());
    }
    return out;
}

QString Cell(const QString& text, const QString& attributes = {})
{
    return Td(text.isEmpty() ? QStringLiteral("&nbsp;") : Html(text), attributes);
}

QString NumberCell(double value, int decimals)
{
    const QString shown = StatementNumber(value, decimals);
    return shown.isEmpty() ? Cell(shown)
                           : Td(shown, NumberAttribute(StatementNumber(value, decimals, DecimalSeparator::Point)));
}

void AppendLines(QString& body, const QStringList& lines, int span)
{
    for (const QString& line : lines)
        AppendRow(body, {Cell(line, QStringLiteral("class=\"ltrb\" colspan=\"%1\"").arg(span))});
}

void AppendSection(QString& body, const Statement& statement, const StatementSection& section)
{
    const int span = int(section.columns.size()) + 2;
    AppendLines(body, {QString(), section.name}, span);
    AppendLines(body, section.about, span);
    QStringList heads{Th(QStringLiteral("Дата"))};
    for (const StatementColumn& column : section.columns)
        heads << Th(Html(StatementHead(column)));
    heads << Th(QStringLiteral("НС"));
    AppendRow(body, heads);
    for (const StatementRow& row : section.rows) {
        QStringList cells{Cell(StatementDateText(statement.kind, row.date))};
        if (row.missing) {
            cells << Cell(QString::fromUtf8(kNoDataText),
                          QStringLiteral("colspan=\"%1\"").arg(section.columns.size() + 1));
        } else {
            for (std::size_t c = 0; c < section.columns.size(); ++c)
                cells << NumberCell(row.values[c], section.columns[c].decimals);
            cells << Cell(row.marks);
        }
        AppendRow(body, cells);
    }
    QStringList total{Cell(QString::fromUtf8(kTotalRowText))};
    for (std::size_t c = 0; c < section.columns.size(); ++c)
        total << NumberCell(section.total[c], section.columns[c].decimals);
    total << Cell(QString());
    AppendRow(body, total);
    AppendLines(body, {QString()}, span);
    QStringList integratorHeads;
    for (const QString& head : IntegratorHeads())
        integratorHeads << Th(Html(head));
    AppendRow(body, integratorHeads);
    for (const StatementIntegrator& line : section.integrators) {
        QStringList cells;
        for (const QString& cell : IntegratorCells(line))
            cells << Cell(cell);
        AppendRow(body, cells);
    }
    AppendLines(body, {QString()}, span);
    for (const StatementLine& line : section.hours)
        AppendRow(body, {Cell(line.label), Cell(line.value)});
}

}  // namespace

QByteArray StatementHtml(const Statement& statement)
{
    int span = 2;
    for (const StatementSection& section : statement.sections)
        span = std::max(span, int(section.columns.size()) + 2);
    QString body = QStringLiteral("<table>\r\n");
    AppendLines(body, {statement.title, statement.subtitle}, span);
    AppendLines(body, statement.heading, span);
    for (const StatementSection& section : statement.sections)
        AppendSection(body, statement, section);
    AppendLines(body, QStringList{QString()} + statement.legend, span);
    QStringList signatures{QString()};
    for (const QString& who : statement.signatures)
        signatures << QStringLiteral("%1: ____________________ / ____________________ /").arg(who);
    signatures << QStringLiteral("Дата составления: %1").arg(statement.madeDate);
    AppendLines(body, signatures, span);
    body += QStringLiteral("</table>\r\n");
    ReportOptions options = DefaultReportOptions();
    options.landscape = true;
    return EncodeWindows1251(ReportHeader(options) + body + ReportTail());
}
