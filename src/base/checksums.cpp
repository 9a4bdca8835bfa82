#include "base/checksums.h"

#include <array>

namespace {

// Byte-at-a-time tables for the two reflected CRCs; the request path runs them on every frame.
constexpr std::array<std::uint16_t, 256> MakeReflectedTable(std::uint16_t polynomial)
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        std::uint16_t crc = static_cast<std::uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ polynomial)
                            : static_cast<std::uint16_t>(crc >> 1);
        table[byte] = crc;
    }
    return table;
}

constexpr auto kModbusTable = MakeReflectedTable(0xA001);
constexpr auto kX25Table = MakeReflectedTable(0x8408);

std::uint16_t RunReflected(const std::array<std::uint16_t, 256>& table, const std::uint8_t* data, std::size_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    return crc;
}

}  // namespace

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length)
{
    return RunReflected(kModbusTable, data, length);
}

std::uint16_t Crc16X25(const std::uint8_t* data, std::size_t length)
{
    return static_cast<std::uint16_t>(~RunReflected(kX25Table, data, length));
}

std::uint8_t Lrc8(const std::uint8_t* data, std::size_t length)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    return static_cast<std::uint8_t>(-sum);
}
