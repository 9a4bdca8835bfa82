#include "statement/statement_writers.h"

QByteArray StatementCsv(const Statement& statement, DecimalSeparator separator)
{
    const bool several = statement.sections.size() > 1;
    QStringList heads{QStringLiteral("Дата")};
    for (const StatementSection& section : statement.sections) {
        for (const StatementColumn& column : section.columns)
            heads << StatementHead(column, several ? section.name : QString());
        heads << (several ? QStringLiteral("НС %1").arg(section.name) : QStringLiteral("НС"));
    }
    QString text = heads.join(QLatin1Char(kCsvSeparator)) + QLatin1String(kCsvLineEnd);
    const std::size_t rowCount = statement.sections.empty() ? 0 : statement.sections.front().rows.size();
    for (std::size_t i = 0; i < rowCount; ++i) {
        QStringList cells{StatementDateText(statement.kind, statement.sections.front().rows[i].date)};
        for (const StatementSection& section : statement.sections) {
            const StatementRow& row = section.rows[i];
            for (std::size_t c = 0; c < section.columns.size(); ++c)
                cells << StatementNumber(row.values[c], section.columns[c].decimals, separator);
            cells << (row.missing ? QString::fromUtf8(kNoDataText) : row.marks);
        }
        text += cells.join(QLatin1Char(kCsvSeparator)) + QLatin1String(kCsvLineEnd);
    }
    QStringList total{QString::fromUtf8(kTotalRowText)};
    for (const StatementSection& section : statement.sections) {
        for (std::size_t c = 0; c < section.columns.size(); ++c)
            total << StatementNumber(section.total[c], section.columns[c].decimals, separator);
        total << QString();
    }
    text += total.join(QLatin1Char(kCsvSeparator)) + QLatin1String(kCsvLineEnd);
    return QByteArray(kUtf8Bom) + text.toUtf8();
}
