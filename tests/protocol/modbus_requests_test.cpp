#include "base/checksums.h"
#include "protocol/modbus_requests.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

std::vector<std::uint8_t> Frame(const std::uint8_t* bytes, int length)
{
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

bool CrcMatches(const std::uint8_t* frame, int length)
{
    return length >= 2 && Crc16Modbus(frame, length - 2) == GetLittleEndian16(frame + length - 2);
}

std::vector<int> BlockSizes(const RegisterSpan& span, int limit)
{
    std::vector<int> sizes;
    for (int index = 0; index < BlockCount(span, limit); ++index)
        sizes.push_back(BlockAt(span, limit, index).count);
    return sizes;
}

}  // namespace

TEST(ModbusRequests, ReadOfTheIdentityIsOneRequestForNineteenRegisters)
{
    RegisterSpan span;
    ASSERT_TRUE(MakeRegisterSpan(0, 38, span));
    ASSERT_EQ(BlockCount(span, Modbus::kMaxReadBlock), 1);
    std::uint8_t out[16] = {};
    const int length = BuildReadRequest(out, 1, BlockAt(span, Modbus::kMaxReadBlock, 0));
    EXPECT_EQ(Frame(out, length), (std::vector<std::uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x13, 0x04, 0x07}));
}

TEST(ModbusRequests, LargeTransfersAreCutIntoBlocksOfTheFunctionsLimits)
{
    RegisterSpan span;
    ASSERT_TRUE(MakeRegisterSpan(2 * 105, 600, span));
    EXPECT_EQ(BlockSizes(span, Modbus::kMaxReadBlock), (std::vector<int>{125, 125, 50}));
    EXPECT_EQ(BlockSizes(span, Modbus::kMaxWriteBlock), (std::vector<int>{123, 123, 54}));
    EXPECT_EQ(BlockSizes(span, Modbus::kMax48ReadBlock), (std::vector<int>{146, 146, 8}));
    EXPECT_EQ(BlockAt(span, Modbus::kMaxReadBlock, 1).start, 105 + 125);
    EXPECT_EQ(BlockAt(span, Modbus::kMaxReadBlock, 3).count, 0);

    // Odd start and odd length widen to whole registers; an empty field needs no block at all.
    ASSERT_TRUE(MakeRegisterSpan(3, 2, span));
    EXPECT_EQ(span.startRegister, 1);
    EXPECT_EQ(span.registerCount, 2);
    ASSERT_TRUE(MakeRegisterSpan(10, 0, span));
    EXPECT_EQ(BlockCount(span, Modbus::kMaxReadBlock), 0);

    // The register field is 16 bits wide: nothing past register 65535.
    EXPECT_TRUE(MakeRegisterSpan(2 * 65535, 2, span));
    EXPECT_FALSE(MakeRegisterSpan(2 * 65535, 3, span));
    EXPECT_FALSE(MakeRegisterSpan(-2, 2, span));
}

TEST(ModbusRequests, WriteSwapsEveryRegisterAndKeepsSurplusBytesOutOfTheField)
{
    const std::array<std::uint8_t, 8> record = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7};
    RegisterSpan span;
    std::uint8_t out[32] = {};

    ASSERT_TRUE(MakeRegisterSpan(4, 4, span));
    int length = BuildWriteRequest(out, 5, BlockAt(span, Modbus::kMaxWriteBlock, 0), span, record.data() + 4);
    ASSERT_EQ(length, 13);
    EXPECT_EQ(Frame(out, 11),
              (std::vector<std::uint8_t>{0x05, 0x10, 0x00, 0x02, 0x00, 0x02, 0x04, 0xA5, 0xA4, 0xA7, 0xA6}));
    EXPECT_TRUE(CrcMatches(out, length));

    // Field at byte 3, two bytes: register 1 keeps its low byte from the record, register 2 is padded.
    ASSERT_TRUE(MakeRegisterSpan(3, 2, span));
    length = BuildWriteRequest(out, 5, BlockAt(span, Modbus::kMaxWriteBlock, 0), span, record.data() + 3);
    ASSERT_EQ(length, 13);
    EXPECT_EQ(Frame(out + 2, 9), (std::vector<std::uint8_t>{0x00, 0x01, 0x00, 0x02, 0x04, 0xA3, 0xA2, 0x00, 0xA4}));

    // Odd count from an even start: the last register is padded.
    ASSERT_TRUE(MakeRegisterSpan(0, 3, span));
    length = BuildWriteRequest(out, 5, BlockAt(span, Modbus::kMaxWriteBlock, 0), span, record.data());
    EXPECT_EQ(Frame(out + 7, 4), (std::vector<std::uint8_t>{0xA1, 0xA0, 0x00, 0xA2}));
    EXPECT_TRUE(CrcMatches(out, length));
}

TEST(ModbusRequests, CombinedRequestCarriesBothPartsAndTheSequenceNumber)
{
    RegisterSpan readSpan;
    RegisterSpan writeSpan;
    ASSERT_TRUE(MakeRegisterSpan(0, 600, readSpan));
    ASSERT_TRUE(MakeRegisterSpan(0, 0, writeSpan));
    std::uint8_t out[400] = {};
    int length = BuildReadWrite48Request(out, 1, BlockAt(readSpan, Modbus::kMax48ReadBlock, 2),
                                         BlockAt(writeSpan, Modbus::kMax48WriteBlock, 2), 0x1234, writeSpan, nullptr);
    ASSERT_EQ(length, 16);
    EXPECT_EQ(Frame(out, 14),
              (std::vector<std::uint8_t>{0x01, 0x48, 0x01, 0x24, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12,
                                         0x34}));
    EXPECT_TRUE(CrcMatches(out, length));

    // A full write block: 142 registers, 284 data bytes, 300 bytes in all.
    std::vector<std::uint8_t> record(400);
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(MakeRegisterSpan(10, 390, writeSpan));
    ASSERT_TRUE(MakeRegisterSpan(0, 0, readSpan));
    length = BuildReadWrite48Request(out, 7, RegisterBlock{}, BlockAt(writeSpan, Modbus::kMax48WriteBlock, 0), 1,
                                     writeSpan, record.data() + 10);
    ASSERT_EQ(length, 300);
    EXPECT_EQ(Frame(out, 16),
              (std::vector<std::uint8_t>{0x07, 0x48, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x8E, 0x01, 0x1C, 0x00,
                                         0x01, 11, 10}));
    EXPECT_EQ(out[14 + 283], static_cast<std::uint8_t>(2 * 146));  // low byte of register 146
    EXPECT_TRUE(CrcMatches(out, length));
}

TEST(ModbusRequests, AnswerCopiesOnlyTheFieldsBytesAcrossBlocks)
{
    // Registers 0..125 of an image whose byte b holds b ^ 0x5A, as the wire carries them (high first).
    std::vector<std::uint8_t> wire(2 * 126);
    for (int reg = 0; reg < 126; ++reg) {
        wire[2 * reg] = static_cast<std::uint8_t>((2 * reg + 1) ^ 0x5A);
        wire[2 * reg + 1] = static_cast<std::uint8_t>((2 * reg) ^ 0x5A);
    }
    // Field from byte 1 to byte 250: starts in the high half of register 0, ends in the low half of 125.
    RegisterSpan span;
    ASSERT_TRUE(MakeRegisterSpan(1, 250, span));
    ASSERT_EQ(BlockCount(span, Modbus::kMaxReadBlock), 2);
    std::vector<std::uint8_t> destination(251, 0xEE);
    for (int index = 0; index < 2; ++index) {
        const RegisterBlock block = BlockAt(span, Modbus::kMaxReadBlock, index);
        CopyAnswerRegisters(wire.data() + 2 * block.start, block, span, destination.data());
    }
    for (int i = 0; i < 250; ++i)
        ASSERT_EQ(destination[i], static_cast<std::uint8_t>((i + 1) ^ 0x5A)) << "byte " << i;
    EXPECT_EQ(destination[250], 0xEE);  // the surplus byte of register 125 stays out
}
