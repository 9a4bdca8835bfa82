#include "archives/database_literals.h"

#include <QStringList>

#include <charconv>
#include <cmath>

namespace {

// The shortest digits that read back as the same value (a float's own shortest when `single`).
QString ShortestText(double value, bool single)
{
    char digits[32];
    const std::to_chars_result end = single ? std::to_chars(digits, digits + sizeof digits, float(value))
                                            : std::to_chars(digits, digits + sizeof digits, value);
    return QString::fromLatin1(digits, end.ptr - digits);
}

QString FloatingLiteral(double value, DatabaseTarget::Engine engine)
{
    const bool postgresql = engine == DatabaseTarget::Engine::kPostgresql;
    if (std::isnan(value))
        return postgresql ? QStringLiteral("'NaN'") : QStringLiteral("NULL");
    if (std::isinf(value)) {
        if (postgresql)
            return value > 0 ? QStringLiteral("'Infinity'") : QStringLiteral("'-Infinity'");
        return value > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999");
    }
    return ShortestText(value, false);
}

// One element of a PostgreSQL array text: numbers bare (NaN and infinities as float input reads them;
// a REAL column's as the float's shortest digits), NULL, texts in double quotes.
QString ArrayElement(const QVariant& value, bool single)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
        case QMetaType::Float:
        case QMetaType::Double: {
            const double number = value.toDouble();
            if (std::isnan(number))
                return QStringLiteral("NaN");
            if (std::isinf(number))
                return number > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
            return ShortestText(number, single);
        }
        case QMetaType::QString: {
            QString text = value.toString();
            text.replace(u'\\', QLatin1String("\\\\"));
            text.replace(u'"', QLatin1String("\\\""));
            return u'"' + text + u'"';
        }
        default:
            return SqlLiteral(value, DatabaseTarget::Engine::kPostgresql);
    }
}

QString ArrayColumnsSql(const QStringList& types, const std::vector<QVariantList>& rows)
{
    QStringList arrays;
    for (qsizetype column = 0; column < types.size(); ++column) {
        const bool single = types[column] == QLatin1String("REAL");
        QStringList elements;
        elements.reserve(qsizetype(rows.size()));
        for (const QVariantList& row : rows)
            elements << ArrayElement(row.value(column), single);
        arrays << SqlLiteral(u'{' + elements.join(u',') + u'}', DatabaseTarget::Engine::kPostgresql)
                + QStringLiteral("::") + types[column] + QStringLiteral("[]");
    }
    return arrays.join(QStringLiteral(", "));
}

}  // namespace

QString SqlLiteral(const QVariant& value, DatabaseTarget::Engine engine)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
        case QMetaType::Float:
        case QMetaType::Double:
            return FloatingLiteral(value.toDouble(), engine);
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::Long:
        case QMetaType::LongLong:
            return QString::number(value.toLongLong());
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            return QString::number(value.toULongLong());
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        default:
            break;
    }
    QString text = value.toString();
    text.replace(u'\'', QLatin1String("''"));
    return u'\'' + text + u'\'';
}

QString InsertArraysSql(const QString& quotedTable, const QString& columns, const QStringList& types,
                        const std::vector<QVariantList>& rows)
{
    return QStringLiteral("INSERT INTO %1 (%2) SELECT * FROM unnest(%3) ON CONFLICT DO NOTHING")
        .arg(quotedTable, columns, ArrayColumnsSql(types, rows));
}
