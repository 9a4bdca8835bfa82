#pragma once
// The Modbus function codes the meter answers, named once for the framing, the master and the simulator.

#include <cstdint>

namespace Modbus {
constexpr std::uint8_t kReadHoldingRegisters = 0x03;
constexpr std::uint8_t kReadInputRegisters = 0x04;
constexpr std::uint8_t kWriteMultipleRegisters = 0x10;
constexpr std::uint8_t kReadFileRecord = 0x14;
constexpr std::uint8_t kReadWrite48 = 0x48;  // the meter's own: write and read in one exchange
// Set in an answer's function byte when the meter refuses the request.
constexpr std::uint8_t kExceptionBit = 0x80;
}  // namespace Modbus
