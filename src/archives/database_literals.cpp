#include "archives/database_literals.h"

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

QString InsertRowsSql(const QString& quotedTable, const QString& columns, const std::vector<QVariantList>& rows,
                      DatabaseTarget::Engine engine)
{
    const bool postgresql = engine == DatabaseTarget::Engine::kPostgresql;
    QString sql = postgresql ? QStringLiteral("INSERT INTO ") : QStringLiteral("INSERT OR IGNORE INTO ");
    sql += quotedTable + QStringLiteral(" (") + columns + QStringLiteral(") VALUES ");
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
    if (postgresql)
        sql += QStringLiteral(" ON CONFLICT DO NOTHING");
    return sql;
}
