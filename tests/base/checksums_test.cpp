#include "base/checksums.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Checksums, PublishedCheckValuesAndKnownFrames)
{
    const char* digits = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(digits);
    EXPECT_EQ(Crc16Modbus(bytes, std::strlen(digits)), 0x4B37);
    EXPECT_EQ(Crc16X25(bytes, std::strlen(digits)), 0x906E);

    // A function-3 read of 10 registers at 0 from address 1 ends in C5 CD on the wire.
    const std::uint8_t request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
    std::uint8_t crc[2];
    PutLittleEndian16(crc, Crc16Modbus(request, sizeof request));
    EXPECT_EQ(crc[0], 0xC5);
    EXPECT_EQ(crc[1], 0xCD);
    // Its ASCII form carries the LRC F2.
    EXPECT_EQ(Lrc8(request, sizeof request), 0xF2);
    EXPECT_EQ(Lrc8(nullptr, 0), 0x00);
    EXPECT_EQ(Crc16Modbus(nullptr, 0), 0xFFFF);
}
