#include "meter_image.h"

void MeterImage::ToWire(int start, int count, std::uint8_t* out) const
{
    const std::uint8_t* from = At(start);
    for (int i = 0; i < count; ++i) {
        out[2 * i] = from[2 * i + 1];
        out[2 * i + 1] = from[2 * i];
    }
}

void MeterImage::FromWire(int start, int count, const std::uint8_t* in)
{
    std::uint8_t* to = At(start);
    for (int i = 0; i < count; ++i) {
        to[2 * i] = in[2 * i + 1];
        to[2 * i + 1] = in[2 * i];
    }
}

void MeterImage::PutU16(int byteOffset, std::uint16_t value)
{
    m_bytes[byteOffset] = static_cast<std::uint8_t>(value);
    m_bytes[byteOffset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void MeterImage::PutU32(int byteOffset, std::uint32_t value)
{
    PutU16(byteOffset, static_cast<std::uint16_t>(value));
    PutU16(byteOffset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t MeterImage::GetU16(int byteOffset) const
{
    return static_cast<std::uint16_t>(m_bytes[byteOffset] | (m_bytes[byteOffset + 1] << 8));
}
