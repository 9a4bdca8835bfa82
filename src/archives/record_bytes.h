#pragma once
// Laying a packed record over received bytes and back. A short buffer leaves the rest of the
// record 0, as the meter's receive areas are cleared before every read; a long one is cut.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

#include <QByteArray>

template <class Record>
Record RecordFromBytes(std::span<const std::uint8_t> bytes)
{
    static_assert(std::is_trivially_copyable_v<Record> && alignof(Record) == 1, "a packed record");
    Record record{};
    if (!bytes.empty())
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof(Record)));
    return record;
}

template <class Record>
Record RecordFromBytes(const QByteArray& bytes)
{
    return RecordFromBytes<Record>(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

// The first `size` bytes of a record image (all of it by default), as the meter would send them.
template <class Record>
QByteArray RecordToBytes(const Record& record, std::size_t size = sizeof(Record))
{
    static_assert(std::is_trivially_copyable_v<Record> && alignof(Record) == 1, "a packed record");
    return QByteArray(reinterpret_cast<const char*>(&record), static_cast<qsizetype>(std::min(size, sizeof(Record))));
}
