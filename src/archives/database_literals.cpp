#include "archives/database_literals.h"

#include <QStringList>

#include <cmath>

namespace {

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
    return QString::number(value, 'g', 17);
}

// One element of a PostgreSQL array text: numbers bare (NaN and infinities as float input reads them),
// NULL, texts in double quotes.
QString ArrayElement(const QVariant& value)
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
        return QString::number(number, 'g', 17);
    }
    case QMetaType::QString: {
        QString text = value.toString();
        text.replace(u'\\', QLatin1String("\\\\"));
        text.replace(u'"', QLatin1String("\\\""));
        return u'"' + text + u'"';
    }
    default: return SqlLiteral(value, DatabaseTarget::Engine::kPostgresql);
    }
}

QString ArrayColumnsSql(const QStringList& types, const std::vector<QVariantList>& rows)
{
    QStringList arrays;
    for (qsizetype column = 0; column < types.size(); ++column) {
        QStringList elements;
        elements.reserve(qsizetype(rows.size()));
        for (const QVariantList& row : rows)
            elements << ArrayElement(row.value(column));
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
    case QMetaType::Double: return FloatingLiteral(value.toDouble(), engine);
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong: return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong: return QString::number(value.toULongLong());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default: break;
    }
    QString text = value.toString();
    text.replace(u'\'', QLatin1String("''"));
    return u'\'' + text + u'\'';
}

QString InsertRowsSql(const QString& quotedTable, const QString& columns, const QStringList& types,
                      const std::vector<QVariantList>& rows, DatabaseTarget::Engine engine)
{
    if (engine == DatabaseTarget::Engine::kPostgresql)
        return QStringLiteral("INSERT INTO %1 (%2) SELECT * FROM unnest(%3) ON CONFLICT DO NOTHING")
            .arg(quotedTable, columns, ArrayColumnsSql(types, rows));
    QString sql = QStringLiteral("INSERT OR IGNORE INTO ") + quotedTable + QStringLiteral(" (") + columns
        + QStringLiteral(") VALUES ");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        sql += r == 0 ? QStringLiteral("(") : QStringLiteral(", (");
        const QVariantList& row = rows[r];
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                sql += QStringLiteral(", ");
            sql += SqlLiteral(row[i], engine);
        }
        sql += u')';
    }
    return sql;
}
