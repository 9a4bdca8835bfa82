#include "cli/json_output.h"

#include "archives/descriptor_rows.h"
#include "archives/record_bytes.h"
#include "config/model_capabilities.h"
#include "config/service_data_texts.h"
#include "meter/event_record.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {

constexpr const char* kArchiveKeys[kValueArchiveCount] = {"hour", "day", "month", "totals"};
constexpr const char* kLogKeys[kEventLogCount] = {"db", "admin", "diag"};

QJsonObject CapacityJson(const CapacityEntry& entry)
{
    return {{QStringLiteral("max_records"), entry.maxRecords},
            {QStringLiteral("write_index"), entry.writeIndex},
            {QStringLiteral("record_size"), entry.recordSize},
            {QStringLiteral("wrapped"), entry.Overwrites()}};
}

QJsonValue ChronoJson(const TChronoArch& date)
{
    return MeterDateJson(DateTimeStamp{date.day, date.month, date.year, date.hour, 0, 0});
}

QJsonValue EventValueJson(EventValueKind kind, const std::uint8_t (&value)[4])
{
    switch (kind) {
        case kEventValueNone:
            return QJsonValue::Null;
        case kEventValueFloat: {
            const float number = EventValueFloat(value);
            return std::isfinite(number) ? QJsonValue(double(number)) : QJsonValue(QJsonValue::Null);
        }
        case kEventValueChrono:
        case kEventValueChrono2:
            return ChronoJson(RecordFromBytes<TChronoArch>(std::span<const std::uint8_t>(value, 4)));
        case kEventValueTime:
            return QString::asprintf("%.2d:%.2d:%.2d", value[0], value[1], value[2]);
        default:
            return qint64(EventValueInteger(kind, value));
    }
}

}  // namespace

QString JsonDocumentText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QString JsonLine(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
}

QJsonValue MeterDateJson(const DateTimeStamp& date)
{
    if (IsEmptyDate(date))
        return QJsonValue::Null;
    return QString::asprintf("%.4d-%.2d-%.2dT%.2d:%.2d:%.2d", date.year + kBaseYear, date.month, date.day, date.hour,
                             date.minute, date.second);
}

QJsonObject IdentityJson(const DeviceIdentity& identity, const QString& versionText)
{
    return {{QStringLiteral("version"), versionText},
            {QStringLiteral("hardware_version"), identity.hardwareVersion},
            {QStringLiteral("software_version"), identity.softwareVersion},
            {QStringLiteral("software_checksum"), identity.softwareChecksum},
            {QStringLiteral("model"), ModelName(identity.modelIndex)},
            {QStringLiteral("serial"), qint64(identity.serialNumber)},
            {QStringLiteral("firmware_level"), identity.firmwareLevel}};
}

QJsonObject DescriptorsJson(const ArchiveDescriptors& descriptors)
{
    QJsonObject archives;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        QJsonObject archive = CapacityJson(descriptors.Capacity(kind));
        archive.insert(QStringLiteral("first_record"), MeterDateJson(descriptors.FirstRecord(kind)));
        archive.insert(QStringLiteral("last_record"), MeterDateJson(descriptors.LastRecord(kind)));
        archives.insert(QLatin1String(kArchiveKeys[kind]), archive);
    }
    QJsonObject logs;
    for (int log = 0; log < kEventLogCount; ++log)
        logs.insert(QLatin1String(kLogKeys[log]), CapacityJson(descriptors.LogCapacity(log)));
    return {{QStringLiteral("archives"), archives}, {QStringLiteral("event_logs"), logs}};
}

QJsonObject MakerJson(const MakerData& data)
{
    return {{QStringLiteral("maker_id"), data.makerId},
            {QStringLiteral("serial_at_manufacture"), qint64(data.serialAtManufacture)},
            {QStringLiteral("model"), ModelName(data.modelIndex)},
            {QStringLiteral("manufactured"), ChronoJson(data.manufactured)}};
}

QJsonObject ServiceCentreJson(const ServiceCentreData& data)
{
    const QStringList batteries = BatteryTypeNames();
    const unsigned battery = data.BatteryType();
    return {{QStringLiteral("display_serial"), qint64(data.displaySerial)},
            {QStringLiteral("battery"),
             battery < unsigned(batteries.size()) ? QJsonValue(batteries[int(battery)]) : QJsonValue(int(battery))},
            {QStringLiteral("variant"), VariantNames()[int(data.Variant())]},
            {QStringLiteral("battery_resource_set_minutes"), qint64(data.batteryResourceSet)},
            {QStringLiteral("battery_resource_left_minutes"), qint64(data.batteryResourceLeft)},
            {QStringLiteral("modbus_minutes"), qint64(data.modbusMinutes)},
            {QStringLiteral("display_minutes"), qint64(data.displayMinutes)}};
}

QString EventEntriesJson(std::span<const std::uint8_t> entries, int count, int first)
{
    QString text;
    for (int i = 0; i < count && std::size_t(i + 1) * kEventRecordSize <= entries.size(); ++i) {
        const auto entry = RecordFromBytes<EventRecord>(entries.subspan(std::size_t(i) * kEventRecordSize));
        text += JsonLine({{QStringLiteral("index"), first + i},
                          {QStringLiteral("time"), MeterDateJson(entry.time)},
                          {QStringLiteral("quantity_type"), entry.QuantityType()},
                          {QStringLiteral("context"), entry.Context()},
                          {QStringLiteral("value_kind"), int(entry.ValueKind())},
                          {QStringLiteral("parameter_set"), entry.ParameterSet()},
                          {QStringLiteral("old_value"), EventValueJson(entry.ValueKind(), entry.oldValue)},
                          {QStringLiteral("new_value"), EventValueJson(entry.ValueKind(), entry.newValue)}});
    }
    return text;
}

QJsonObject ExportCountsJson(const ExportCounts& counts)
{
    QJsonObject archives;
    for (int kind = 0; kind < kValueArchiveCount; ++kind) {
        const ArchiveExportCount& archive = counts.archives[std::size_t(kind)];
        QJsonArray otherDates;
        for (const DateTimeStamp& date : archive.otherDates)
            otherDates.append(MeterDateJson(date));
        archives.insert(QLatin1String(kArchiveKeys[kind]),
                        QJsonObject{{QStringLiteral("total"), qint64(archive.total)},
                                    {QStringLiteral("written"), qint64(archive.written)},
                                    {QStringLiteral("already_there"), qint64(archive.skipped)},
                                    {QStringLiteral("not_stored"), qint64(archive.NotStored())},
                                    {QStringLiteral("stopped_at"),
                                     archive.cutShort && archive.stoppedAtKnown ? MeterDateJson(archive.stoppedAt)
                                                                                : QJsonValue(QJsonValue::Null)},
                                    {QStringLiteral("other_dates"), otherDates}});
    }
    return {{QStringLiteral("total"), qint64(counts.total)},
            {QStringLiteral("written"), qint64(counts.written)},
            {QStringLiteral("already_there"), qint64(counts.skipped)},
            {QStringLiteral("archives"), archives}};
}
