#include "watch/watch_topics.h"

#include "watch/watch_quantities.h"

#include <QJsonDocument>
#include <QJsonObject>

QString MeterTopic(const QString& prefix, std::uint32_t serial, const char* leaf)
{
    return QStringLiteral("%1/%2/%3").arg(prefix).arg(serial).arg(QLatin1String(leaf));
}

QString WatcherStatusTopic(const QString& prefix, const QString& host)
{
    return QStringLiteral("%1/watch/%2/status").arg(prefix, host);
}

QByteArray StatePayload(const BoardMeter& meter)
{
    QJsonObject state{{QStringLiteral("serial"), qint64(meter.serial)},
                      {QStringLiteral("node"), meter.node},
                      {QStringLiteral("time"), IsoTimeWithOffset(meter.time)}};
    for (const WatchQuantity& quantity : WatchQuantities()) {
        const auto value = meter.values.find(quantity.key);
        if (value != meter.values.end() && !meter.refusedKeys.contains(quantity.key))
            state.insert(quantity.key, value->second);
    }
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}
