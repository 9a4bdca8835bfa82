#include "sim/meter_simulator.h"

#include "base/checksums.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ByteVector = std::vector<std::uint8_t>;

// Asks the simulated meter with a request unit (no CRC); returns the answer without its CRC after
// checking the CRC.
ByteVector Ask(MeterSimulator& meter, ByteVector unit)
{
    std::uint8_t answer[300];
    const int length = meter.Slave().Answer(unit.data(), static_cast<int>(unit.size()), answer, sizeof answer);
    if (length == 0)
        return {};
    EXPECT_GE(length, 4);
    EXPECT_EQ(GetLittleEndian16(answer + length - 2), Crc16Modbus(answer, length - 2));
    return ByteVector(answer, answer + length - 2);
}

SimOptions Options()
{
    SimOptions options;
    options.address = 7;
    options.identity.serialNumber = 0x00ABCDEF;
    options.identity.firmwareLevel = 512;
    return options;
}

}  // namespace

TEST(ModbusSlave, ReadsIdentityBigEndianAndAnswersOnlyItsAddress)
{
    MeterSimulator meter(Options());
    // Registers 0..6: type code, ПВ, АВ, КСПО, model, serial number (low register first).
    const ByteVector answer = Ask(meter, {7, 0x03, 0x00, 0x00, 0x00, 0x07});
    const ByteVector expected = {7,    0x03, 14,   0x17, 0x02, 0x02, 0x05, 0x01, 0x03,
                                 0x5A, 0x3C, 0x00, 0x03, 0xCD, 0xEF, 0x00, 0xAB};
    EXPECT_EQ(answer, expected);

    // Address 0 reaches the meter on a point-to-point line; the answer carries the address asked.
    EXPECT_EQ(Ask(meter, {0, 0x03, 0x00, 0x00, 0x00, 0x01}), (ByteVector{0, 0x03, 2, 0x17, 0x02}));
    // Another meter's address stays unanswered.
    EXPECT_TRUE(Ask(meter, {8, 0x03, 0x00, 0x00, 0x00, 0x01}).empty());
}

TEST(ModbusSlave, ExceptionsLikeAMeter)
{
    MeterSimulator meter(Options());
    EXPECT_EQ(Ask(meter, {7, 0x05, 0x00, 0x00, 0xFF, 0x00}), (ByteVector{7, 0x85, 1}));
    // Past the last register (4212) and beyond the block limits.
    EXPECT_EQ(Ask(meter, {7, 0x03, 0x10, 0x74, 0x00, 0x02}), (ByteVector{7, 0x83, 2}));
    EXPECT_EQ(Ask(meter, {7, 0x03, 0x00, 0x00, 0x00, 126}), (ByteVector{7, 0x83, 3}));
    EXPECT_EQ(Ask(meter, {7, 0x03, 0x00, 0x00, 0x00, 0}), (ByteVector{7, 0x83, 3}));
    ByteVector write124 = {7, 0x10, 0x00, 0x00, 0x00, 124, 248};
    write124.resize(write124.size() + 248);
    EXPECT_EQ(Ask(meter, write124), (ByteVector{7, 0x90, 3}));
    // 0x48 reading 147 registers: code in byte 2, sequence number kept at offset 4.
    EXPECT_EQ(Ask(meter, {7, 0x48, 0x00, 0x00, 0x00, 147, 0, 0, 0, 0, 0, 0, 0x12, 0x34}),
              (ByteVector{7, 0xC8, 3, 0, 0x12, 0x34}));
    EXPECT_EQ(Ask(meter, {7, 0x48, 0x10, 0x70, 0x00, 10, 0, 0, 0, 0, 0, 0, 0x00, 0x09}),
              (ByteVector{7, 0xC8, 2, 0, 0x00, 0x09}));
}

TEST(ModbusSlave, WritesLandInTheImageAndReadBack)
{
    MeterSimulator meter(Options());
    // Function 16: two registers at 67 (where the service-centre data start).
    EXPECT_EQ(Ask(meter, {7, 0x10, 0x00, 67, 0x00, 0x02, 4, 0x11, 0x22, 0x33, 0x44}),
              (ByteVector{7, 0x10, 0x00, 67, 0x00, 0x02}));
    EXPECT_EQ(meter.Image().Bytes()[134], 0x22);  // little-endian in the image
    EXPECT_EQ(meter.Image().Bytes()[135], 0x11);
    // An odd byte count travels padded to whole registers.
    EXPECT_EQ(Ask(meter, {7, 0x10, 0x00, 69, 0x00, 0x01, 1, 0x55, 0x00}), (ByteVector{7, 0x10, 0x00, 69, 0x00, 0x01}));

    // 0x48: write one register at 99 and read three from 67 in one go; the sequence number is echoed.
    const ByteVector answer = Ask(meter,
                                  {7, 0x48, 0x00, 67, 0x00, 3, 0x00, 99, 0x00, 1, 0x00, 2, 0xBE, 0xEF, 0xAA, 0xBB});
    EXPECT_EQ(answer, (ByteVector{7, 0x48, 0x00, 6, 0xBE, 0xEF, 0x11, 0x22, 0x33, 0x44, 0x55, 0x00}));
    EXPECT_EQ(meter.Image().GetU16(198), 0xAABB);
    EXPECT_EQ(meter.Slave().LastSequence(), 0xBEEF);
    // Nothing read: the answer is the bare 8 bytes.
    EXPECT_EQ(Ask(meter, {7, 0x48, 0, 0, 0, 0, 0x00, 99, 0x00, 1, 0x00, 2, 0x00, 0x01, 0x01, 0x02}),
              (ByteVector{7, 0x48, 0, 0, 0x00, 0x01}));
    // A write whose data does not match its counts is refused, and the image keeps its bytes.
    EXPECT_EQ(Ask(meter, {7, 0x10, 0x00, 67, 0x00, 0x02, 4, 0x99, 0x99}), (ByteVector{7, 0x90, 3}));
    EXPECT_EQ(meter.Image().Bytes()[135], 0x11);
}
