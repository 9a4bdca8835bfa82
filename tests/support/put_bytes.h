#pragma once
// A value laid into a record's bytes at an offset, as the meter lays it (native little-endian).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

template <class T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}
