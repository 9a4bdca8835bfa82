#pragma once
// The frame checks of the meter's wire protocol.

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS: start 0xFFFF, reflected polynomial 0xA001, no final XOR; sent low byte first.
// Check value: "123456789" -> 0x4B37.
std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length);

// Modbus ASCII LRC: two's complement of the 8-bit sum.
std::uint8_t Lrc8(const std::uint8_t* data, std::size_t length);

// CRC-16/X-25 (the RFC 1662 frame check sequence): start 0xFFFF, reflected polynomial 0x8408,
// result complemented. Check value: "123456789" -> 0x906E.
std::uint16_t Crc16X25(const std::uint8_t* data, std::size_t length);

// Stores a 16-bit value low byte first, as both CRCs travel.
inline void PutLittleEndian16(std::uint8_t* where, std::uint16_t value)
{
    where[0] = static_cast<std::uint8_t>(value & 0xFF);
    where[1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint16_t GetLittleEndian16(const std::uint8_t* where)
{
    return static_cast<std::uint16_t>(where[0] | (where[1] << 8));
}

inline void PutBigEndian16(std::uint8_t* where, std::uint16_t value)
{
    where[0] = static_cast<std::uint8_t>(value >> 8);
    where[1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline std::uint16_t GetBigEndian16(const std::uint8_t* where)
{
    return static_cast<std::uint16_t>((where[0] << 8) | where[1]);
}
