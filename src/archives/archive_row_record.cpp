#include "archives/archive_row_record.h"

#include <QDateTime>

#include <cstring>
#include <limits>

namespace {

template <class T>
void PutField(std::span<std::uint8_t> record, std::size_t offset, T value)
{
    if (offset > record.size() || record.size() - offset < sizeof(T))
        return;
    std::memcpy(record.data() + offset, &value, sizeof(T));
}

}  // namespace

void StoreColumnValue(const ArchiveColumn& column, const QVariant& value, std::span<std::uint8_t> record)
{
    const bool null = value.isNull();
    switch (column.source) {
        case ColumnSource::Float:
            PutField(record, column.offset, null ? std::numeric_limits<float>::quiet_NaN() : float(value.toDouble()));
            break;
        case ColumnSource::Double:
            PutField(record, column.offset, null ? std::numeric_limits<double>::quiet_NaN() : value.toDouble());
            break;
        case ColumnSource::U8:
            PutField(record, column.offset, std::uint8_t(value.toLongLong()));
            break;
        case ColumnSource::U16:
            PutField(record, column.offset, std::uint16_t(value.toLongLong()));
            break;
        case ColumnSource::U32:
            PutField(record, column.offset, std::uint32_t(value.toLongLong()));
            break;
        case ColumnSource::Serial:
        case ColumnSource::Date:
        case ColumnSource::NotFilled:
            break;
    }
}

std::optional<DateTimeStamp> StampOfDatabaseDate(const QVariant& value)
{
    QDateTime time;
    if (value.typeId() == QMetaType::QDateTime) {
        time = value.toDateTime();
    } else {
        const QString text = value.toString().trimmed();
        time = QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!time.isValid())
            time = QDateTime::fromString(text, Qt::ISODate);
    }
    if (!time.isValid())
        return std::nullopt;
    const QDate day = time.date();
    const QTime clock = time.time();
    if (day.year() < kBaseYear || day.year() > kBaseYear + 254)
        return std::nullopt;
    return DateTimeStamp{std::uint8_t(day.day()),    std::uint8_t(day.month()),    std::uint8_t(day.year() - kBaseYear),
                         std::uint8_t(clock.hour()), std::uint8_t(clock.minute()), std::uint8_t(clock.second())};
}
