#pragma once
// The checksum blocks that guard the configuration record (register 2669, 8 bytes) and the open
// settings (register 2673, 6 bytes): the CRC-16/MODBUS of the guarded bytes as a little-endian word,
// the rest of the block zero.

#include "base/checksums.h"

#include <cstdint>
#include <cstring>

inline void PutChecksumBlock(std::uint8_t* block, int blockBytes, const std::uint8_t* guarded, int guardedBytes)
{
    std::memset(block, 0, std::size_t(blockBytes));
    PutLittleEndian16(block, Crc16Modbus(guarded, std::size_t(guardedBytes)));
}

inline bool ChecksumBlockMatches(const std::uint8_t* block, const std::uint8_t* guarded, int guardedBytes)
{
    return Crc16Modbus(guarded, std::size_t(guardedBytes)) == GetLittleEndian16(block);
}
