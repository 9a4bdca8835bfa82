#pragma once
// A record's bytes as the meter lays them (native little-endian): a value put in at an offset, a whole
// block taken out.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

template <class T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <class Block>
QByteArray BytesOf(const Block& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block), int(sizeof block));
}
