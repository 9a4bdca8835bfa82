#include "statement/statement_writers.h"

#include <cmath>

QString StatementNumber(double value, int decimals, DecimalSeparator separator)
{
    if (!std::isfinite(value))
        return {};
    // No "-0,000" for a value that rounds to zero.
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', decimals);
    if (separator == DecimalSeparator::Comma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString StatementHead(const StatementColumn& column, const QString& input)
{
    const QString head = input.isEmpty() ? column.head : column.head + QLatin1Char(' ') + input;
    return QStringLiteral("%1, %2").arg(head, column.unit);
}

QStringList IntegratorHeads()
{
    return {QStringLiteral("Интегратор"), QStringLiteral("На начало"), QStringLiteral("На конец"),
            QStringLiteral("Разность"), QStringLiteral("По строкам")};
}

QStringList IntegratorCells(const StatementIntegrator& line, DecimalSeparator separator)
{
    const QString none = QString::fromUtf8(kNoDataText);
    QStringList cells{QStringLiteral("%1, %2").arg(line.head, line.unit)};
    cells << (line.start ? StatementNumber(*line.start, line.decimals, separator) : none);
    cells << (line.end ? StatementNumber(*line.end, line.decimals, separator) : none);
    cells << (line.difference ? StatementNumber(*line.difference, line.decimals, separator)
                      + (line.differs ? QStringLiteral(" ≠") : QString())
                              : none);
    cells << StatementNumber(line.rows, line.decimals, separator);
    return cells;
}
