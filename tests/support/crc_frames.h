#pragma once
// Test frames with their Modbus CRC appended, low byte first.

#include "base/checksums.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> WithModbusCrc(std::vector<std::uint8_t> frame)
{
    const std::uint16_t crc = Crc16Modbus(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

// The same for a QByteArray (a name of its own: a braced list would fit both).
inline QByteArray ByteArrayWithModbusCrc(QByteArray frame)
{
    const std::uint16_t crc = Crc16Modbus(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                          static_cast<std::size_t>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}
