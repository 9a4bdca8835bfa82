#pragma once
// Modbus request units as the master builds them: always the RTU layout (address, function, data,
// CRC-16 low byte first); the channel re-frames them for the wire. Nothing here allocates.
//
// Function 3, read holding registers          Function 16, write multiple registers
//   0  address                                  0  address
//   1  0x03                                     1  0x10
//   2  start register      (big-endian)         2  start register      (big-endian)
//   4  register count 1..125                    4  register count 1..123
//   6  CRC-16                                   6  byte count (2 x registers)
//                                               7  data, each register high byte first
//                                             7+n  CRC-16
// Function 0x48, the meter's combined write and read (either part may be empty)
//   0  address              6  write start register     12  sequence number
//   1  0x48                 8  write register count      14  write data, high byte first
//   2  read start register 10  write byte count        14+n  CRC-16
//   4  read register count
//
// A structure lies over the register image: register N is the little-endian word at byte 2N. A field
// of the structure is widened to whole registers; a register only partly covered by the field is a
// surplus byte that is never copied back into the caller's memory.

#include <cstdint>

#include "channel/modbus_functions.h"

namespace Modbus {
constexpr int kMaxReadBlock = 125;
constexpr int kMaxWriteBlock = 123;
constexpr int kMax48ReadBlock = 146;
constexpr int kMax48WriteBlock = 142;

constexpr int kReadDataOffset = 3;    // function 3 answer: address, function, byte count
constexpr int k48DataOffset = 6;      // function 0x48 answer: address, function, 2 bytes, sequence
constexpr int k48RequestHeader = 14;  // bytes before the write data of a 0x48 request
constexpr int k48SequenceInRequest = 12;
constexpr int k48SequenceInAnswer = 4;
}  // namespace Modbus

// A field of a structure, widened to the registers that hold it.
struct RegisterSpan {
    int firstByte = 0;  // offset of the field from the structure's start
    int byteCount = 0;
    int startRegister = 0;
    int registerCount = 0;
};

// Registers [start, start + count) of one request.
struct RegisterBlock {
    int start = 0;
    int count = 0;
};

// False when the range does not fit the 16-bit register space or is negative.
bool MakeRegisterSpan(long long fieldOffset, long long byteCount, RegisterSpan& span);

// Block `index` of a transfer cut into blocks of at most `limit` registers; count 0 past the end.
RegisterBlock BlockAt(const RegisterSpan& span, int limit, int index);
// How many blocks of at most `limit` registers the span needs.
int BlockCount(const RegisterSpan& span, int limit);

// Each builder writes a whole request (CRC included) to `out` and returns its length.
int BuildReadRequest(std::uint8_t* out, std::uint8_t address, RegisterBlock block);
// `field` points at the span's first byte inside its structure.
int BuildWriteRequest(std::uint8_t* out, std::uint8_t address, RegisterBlock block, const RegisterSpan& span,
                      const std::uint8_t* field);
int BuildReadWrite48Request(std::uint8_t* out, std::uint8_t address, RegisterBlock read, RegisterBlock write,
                            std::uint16_t sequence, const RegisterSpan& writeSpan, const std::uint8_t* writeField);

// Copies the registers of `block`, big-endian in `data`, into `destination` (which receives the span's
// bytes), swapping each register and leaving out bytes outside the span.
void CopyAnswerRegisters(const std::uint8_t* data, RegisterBlock block, const RegisterSpan& span,
                         std::uint8_t* destination);
