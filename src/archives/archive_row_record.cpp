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

// The archive calendar's stamp of a day and a clock; empty before 2000 or past the year byte.
std::optional<DateTimeStamp> CalendarStamp(int year, const QDate& day, const QTime& clock)
{
    if (year < kBaseYear || year > kBaseYear + 254)
        return std::nullopt;
    return DateTimeStamp{std::uint8_t(day.day()),    std::uint8_t(day.month()),    std::uint8_t(year - kBaseYear),
                         std::uint8_t(clock.hour()), std::uint8_t(clock.minute()), std::uint8_t(clock.second())};
}

// Reads `count` digits at `at`; false when one is no digit.
bool ReadDigits(QStringView text, qsizetype at, int count, int* value)
{
    *value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (!text[i].isDigit())
            return false;
        *value = *value * 10 + text[i].digitValue();
    }
    return true;
}

// "yyyy-MM-dd HH:mm:ss" (or with a "T"), the form the Date column is written in, read by hand: QDateTime's
// parser asks the time zone about every value it reads (glibc stats /etc/localtime each time), which
// made a look-up of a few thousand stored dates cost more than the rest of a nightly run.
std::optional<DateTimeStamp> StampOfWrittenText(QStringView text)
{
    if (text.size() < 19 || text[4] != u'-' || text[7] != u'-' || (text[10] != u' ' && text[10] != u'T')
        || text[13] != u':' || text[16] != u':')
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, 0, 4, &year) || !ReadDigits(text, 5, 2, &month) || !ReadDigits(text, 8, 2, &day)
        || !ReadDigits(text, 11, 2, &hour) || !ReadDigits(text, 14, 2, &minute) || !ReadDigits(text, 17, 2, &second)
        || !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return CalendarStamp(year, QDate(year, month, day), QTime(hour, minute, second));
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
        if (const std::optional<DateTimeStamp> written = StampOfWrittenText(text))
            return written;
        time = QDateTime::fromString(text, Qt::ISODate);
    }
    if (!time.isValid())
        return std::nullopt;
    return CalendarStamp(time.date().year(), time.date(), time.time());
}
