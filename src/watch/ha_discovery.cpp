#include "watch/ha_discovery.h"

#include "config/model_capabilities.h"
#include "watch/watch_quantities.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct EntityKind {
    const char* deviceClass;  // empty: none
    const char* stateClass;
    const char* unit;
    const char* scale;  // multiplies the state's value in the template, empty for none
};

// The meter's units as Home Assistant knows them: MPa to kPa, t to kg.
EntityKind KindOf(WatchKind kind)
{
    switch (kind) {
        case WatchKind::kTemperature:
            return {"temperature", "measurement", "°C", ""};
        case WatchKind::kPressure:
            return {"pressure", "measurement", "kPa", "1000"};
        case WatchKind::kVolumeFlow:
            return {"volume_flow_rate", "measurement", "m³/h", ""};
        case WatchKind::kMassFlow:
            return {"", "measurement", "t/h", ""};
        case WatchKind::kVolume:
            return {"water", "total_increasing", "m³", ""};
        case WatchKind::kMass:
            return {"weight", "total_increasing", "kg", "1000"};
        case WatchKind::kMassDifference:
            return {"weight", "total", "kg", "1000"};
        case WatchKind::kHeat:
            return {"energy", "total_increasing", "Gcal", ""};
        case WatchKind::kHours:
            return {"duration", "total_increasing", "h", ""};
        case WatchKind::kFlags:
        case WatchKind::kOther:
            break;
    }
    return {"", "measurement", "", ""};
}

QJsonObject Device(const BoardMeter& meter)
{
    return QJsonObject{
        {QStringLiteral("identifiers"), QJsonArray{QStringLiteral("zt5_%1").arg(meter.serial)}},
        {QStringLiteral("name"), meter.node},
        {QStringLiteral("manufacturer"), QStringLiteral("ЗТ5")},
        {QStringLiteral("model"), ModelName(meter.model)},
        {QStringLiteral("sw_version"), meter.version},
        {QStringLiteral("serial_number"), QString::number(meter.serial)},
    };
}

QJsonObject Entity(const DiscoveryNames& names, const BoardMeter& meter, const WatchQuantity& quantity)
{
    const QString id = QStringLiteral("zt5_%1_%2").arg(meter.serial).arg(quantity.key);
    QJsonObject config{
        {QStringLiteral("name"), quantity.label},
        {QStringLiteral("unique_id"), id},
        {QStringLiteral("object_id"), id},
        {QStringLiteral("state_topic"), MeterTopic(names.prefix, meter.serial, "state")},
        {QStringLiteral("availability"),
         QJsonArray{QJsonObject{{QStringLiteral("topic"), MeterTopic(names.prefix, meter.serial, "availability")}},
                    QJsonObject{{QStringLiteral("topic"), WatcherStatusTopic(names.prefix, names.host)}}}},
        {QStringLiteral("availability_mode"), QStringLiteral("all")},
        {QStringLiteral("device"), Device(meter)},
    };
    // A key left out of a state (a total refused in that round) keeps the entity's value as it was.
    const QString present = QStringLiteral("value_json.%1 is defined").arg(quantity.key);
    if (quantity.kind == WatchKind::kFlags) {
        config.insert(QStringLiteral("device_class"), QStringLiteral("problem"));
        config.insert(QStringLiteral("value_template"),
                      QStringLiteral("{{ ('ON' if value_json.%1 != 0 else 'OFF') if %2 else this.state }}")
                          .arg(quantity.key, present));
        return config;
    }
    const EntityKind kind = KindOf(quantity.kind);
    if (*kind.deviceClass)
        config.insert(QStringLiteral("device_class"), QLatin1String(kind.deviceClass));
    config.insert(QStringLiteral("state_class"), QLatin1String(kind.stateClass));
    if (*kind.unit)
        config.insert(QStringLiteral("unit_of_measurement"), QString::fromUtf8(kind.unit));
    const QString value = *kind.scale
        ? QStringLiteral("value_json.%1 * %2").arg(quantity.key, QLatin1String(kind.scale))
        : QStringLiteral("value_json.%1").arg(quantity.key);
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ %1 if %2 else this.state }}").arg(value, present));
    return config;
}

}  // namespace

std::vector<MqttMessage> DiscoveryMessages(const DiscoveryNames& names, const BoardMeter& meter)
{
    std::vector<MqttMessage> messages;
    if (meter.model < 0)
        return messages;
    for (const WatchQuantity& quantity : WatchQuantities()) {
        const char* component = quantity.kind == WatchKind::kFlags ? "binary_sensor" : "sensor";
        const QString topic = QStringLiteral("%1/%2/zt5_%3/%4/config")
                                  .arg(names.discoveryPrefix, QLatin1String(component))
                                  .arg(meter.serial)
                                  .arg(quantity.key);
        messages.push_back({topic, QJsonDocument(Entity(names, meter, quantity)).toJson(QJsonDocument::Compact), true});
    }
    return messages;
}
