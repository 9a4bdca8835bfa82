#include "statement/statement_format.h"

#include "statement/statement_writers.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

struct FormatName {
    StatementFormat format;
    const char* name;
};

constexpr FormatName kFormats[] = {
    {StatementFormat::kPdf, "pdf"},
    {StatementFormat::kXlsx, "xlsx"},
    {StatementFormat::kCsv, "csv"},
    {StatementFormat::kHtml, "html"},
};

}  // namespace

std::optional<StatementFormat> StatementFormatNamed(const QString& name)
{
    for (const FormatName& entry : kFormats) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.format;
    }
    return std::nullopt;
}

std::optional<StatementFormat> StatementFormatOfFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("htm"), Qt::CaseInsensitive) == 0)
        return StatementFormat::kHtml;
    return StatementFormatNamed(suffix);
}

QString StatementExtension(StatementFormat format)
{
    for (const FormatName& entry : kFormats) {
        if (entry.format == format)
            return QLatin1String(entry.name);
    }
    return {};
}

bool StatementBytes(const Statement& statement, StatementFormat format, DecimalSeparator separator, QByteArray* bytes,
                    QString* error)
{
    switch (format) {
        case StatementFormat::kPdf:
            return StatementPdf(statement, bytes, error);
        case StatementFormat::kXlsx:
            return StatementXlsx(statement, bytes, error);
        case StatementFormat::kCsv:
            *bytes = StatementCsv(statement, separator);
            return true;
        case StatementFormat::kHtml:
            *bytes = StatementHtml(statement);
            return true;
    }
    return false;
}

QString StatementMadeDate()
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    const QDate day = ok ? QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).date() : QDate::currentDate();
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}
