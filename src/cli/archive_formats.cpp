#include "cli/archive_formats.h"

#include "archives/archive_area_text.h"
#include "archives/database_columns.h"
#include "archives/record_bytes.h"
#include "cli/json_output.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

// The value of one column; invalid for a field the record does not reach.
QVariant ValueOf(const ArchiveColumn& column, std::uint32_t serial, std::span<const std::uint8_t> record)
{
    switch (column.source) {
        case ColumnSource::Serial:
            return QVariant::fromValue(serial);
        case ColumnSource::Date:
            return RecordDateText(RecordFromBytes<TChronoArch>(record));
        default:
            return ColumnValue(column, record);
    }
}

// Enough digits to read back the same single or double value.
QString NumberText(const ArchiveColumn& column, double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QString::number(value, 'g', column.source == ColumnSource::Double ? 17 : 9);
}

QString CsvText(const ArchiveColumn& column, const QVariant& value)
{
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::Double)
        return NumberText(column, value.toDouble());
    return value.toString();
}

QJsonValue JsonOf(const ArchiveColumn& column, const QVariant& value)
{
    if (!value.isValid())
        return QJsonValue::Null;
    if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        // JSON has no NaN or infinity.
        return std::isfinite(number) ? QJsonValue(NumberText(column, number).toDouble()) : QJsonValue::Null;
    }
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return QJsonValue(value.toLongLong());
}

}  // namespace

RecordFormat RecordFormatOf(const QString& name)
{
    if (name == QLatin1String("csv"))
        return RecordFormat::kCsv;
    if (name == QLatin1String("json"))
        return RecordFormat::kJson;
    return RecordFormat::kText;
}

QString RecordDateText(const TChronoArch& date)
{
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:00", date.year + kBaseYear, date.month, date.day, date.hour);
}

QString CsvHeader(ArchiveKind kind)
{
    QStringList names;
    for (const ArchiveColumn& column : ColumnsOf(kind))
        names << column.name;
    return names.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString CsvRecord(ArchiveKind kind, std::uint32_t serial, std::span<const std::uint8_t> record)
{
    QStringList fields;
    for (const ArchiveColumn& column : ColumnsOf(kind))
        fields << CsvText(column, ValueOf(column, serial, record));
    return fields.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString JsonRecord(ArchiveKind kind, std::uint32_t serial, std::span<const std::uint8_t> record)
{
    QJsonObject object;
    for (const ArchiveColumn& column : ColumnsOf(kind))
        object.insert(column.name, JsonOf(column, ValueOf(column, serial, record)));
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
}

QJsonObject CurrentJson(bool totals, std::uint32_t serial, std::span<const std::uint8_t> area)
{
    QJsonObject object;
    for (const ArchiveColumn& column : CurrentColumns(totals)) {
        // The reading's own stamp, to the second, as the meter keeps it.
        const QJsonValue value = column.source == ColumnSource::Date
            ? MeterDateJson(RecordFromBytes<DateTimeStamp>(area))
            : JsonOf(column, ValueOf(column, serial, area));
        object.insert(column.name, value);
    }
    return object;
}

QString ArchiveRecordOutput(ArchiveKind kind, RecordFormat format, std::uint32_t serial,
                            std::span<const std::uint8_t> record)
{
    switch (format) {
        case RecordFormat::kCsv:
            return CsvRecord(kind, serial, record);
        case RecordFormat::kJson:
            return JsonRecord(kind, serial, record);
        case RecordFormat::kText:
            break;
    }
    return ValueArchiveText(kind, record);
}
