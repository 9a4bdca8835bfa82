#include "protocol/modbus_requests.h"

#include "base/checksums.h"

#include <algorithm>

namespace {

constexpr long long kRegisterSpace = 0x10000;

int AppendCrc(std::uint8_t* frame, int length)
{
    PutLittleEndian16(frame + length, Crc16Modbus(frame, static_cast<std::size_t>(length)));
    return length + 2;
}

// The byte at image offset `at` as the request carries it. A register only partly covered by the field
// keeps its other byte: before the field that byte lies inside the caller's structure, so its current
// value is sent; after the field the structure may already have ended, so the register is padded with 0.
std::uint8_t OutgoingByte(const RegisterSpan& span, const std::uint8_t* field, int at)
{
    const int inField = at - span.firstByte;
    if (inField >= 0 && inField < span.byteCount)
        return field[inField];
    if (inField == -1)
        return field[-1];
    return 0;
}

// Writes the block's registers high byte first; returns the number of bytes written.
int PutRegisters(std::uint8_t* out, RegisterBlock block, const RegisterSpan& span, const std::uint8_t* field)
{
    for (int i = 0; i < block.count; ++i) {
        const int low = 2 * (block.start + i);
        out[2 * i] = OutgoingByte(span, field, low + 1);
        out[2 * i + 1] = OutgoingByte(span, field, low);
    }
    return 2 * block.count;
}

}  // namespace

bool MakeRegisterSpan(long long fieldOffset, long long byteCount, RegisterSpan& span)
{
    span = RegisterSpan{};
    if (fieldOffset < 0 || byteCount < 0)
        return false;
    const long long start = fieldOffset / 2;
    const long long end = byteCount == 0 ? start : (fieldOffset + byteCount + 1) / 2;
    if (end > kRegisterSpace)
        return false;
    span.firstByte = static_cast<int>(fieldOffset);
    span.byteCount = static_cast<int>(byteCount);
    span.startRegister = static_cast<int>(start);
    span.registerCount = static_cast<int>(end - start);
    return true;
}

RegisterBlock BlockAt(const RegisterSpan& span, int limit, int index)
{
    const int done = index * limit;
    if (done >= span.registerCount)
        return RegisterBlock{};
    return RegisterBlock{span.startRegister + done, std::min(limit, span.registerCount - done)};
}

int BlockCount(const RegisterSpan& span, int limit)
{
    return (span.registerCount + limit - 1) / limit;
}

int BuildReadRequest(std::uint8_t* out, std::uint8_t address, RegisterBlock block)
{
    out[0] = address;
    out[1] = Modbus::kReadHoldingRegisters;
    PutBigEndian16(out + 2, static_cast<std::uint16_t>(block.start));
    PutBigEndian16(out + 4, static_cast<std::uint16_t>(block.count));
    return AppendCrc(out, 6);
}

int BuildWriteRequest(std::uint8_t* out, std::uint8_t address, RegisterBlock block, const RegisterSpan& span,
                      const std::uint8_t* field)
{
    out[0] = address;
    out[1] = Modbus::kWriteMultipleRegisters;
    PutBigEndian16(out + 2, static_cast<std::uint16_t>(block.start));
    PutBigEndian16(out + 4, static_cast<std::uint16_t>(block.count));
    out[6] = static_cast<std::uint8_t>(2 * block.count);
    return AppendCrc(out, 7 + PutRegisters(out + 7, block, span, field));
}

int BuildReadWrite48Request(std::uint8_t* out, std::uint8_t address, RegisterBlock read, RegisterBlock write,
                            std::uint16_t sequence, const RegisterSpan& writeSpan, const std::uint8_t* writeField)
{
    // An empty part names register 0: the meter looks at the start only when the count is not 0.
    out[0] = address;
    out[1] = Modbus::kReadWrite48;
    PutBigEndian16(out + 2, static_cast<std::uint16_t>(read.count ? read.start : 0));
    PutBigEndian16(out + 4, static_cast<std::uint16_t>(read.count));
    PutBigEndian16(out + 6, static_cast<std::uint16_t>(write.count ? write.start : 0));
    PutBigEndian16(out + 8, static_cast<std::uint16_t>(write.count));
    PutBigEndian16(out + 10, static_cast<std::uint16_t>(2 * write.count));
    PutBigEndian16(out + Modbus::k48SequenceInRequest, sequence);
    const int data = PutRegisters(out + Modbus::k48RequestHeader, write, writeSpan, writeField);
    return AppendCrc(out, Modbus::k48RequestHeader + data);
}

void CopyAnswerRegisters(const std::uint8_t* data, RegisterBlock block, const RegisterSpan& span,
                         std::uint8_t* destination)
{
    const int firstByte = std::max(2 * block.start, span.firstByte);
    const int endByte = std::min(2 * (block.start + block.count), span.firstByte + span.byteCount);
    for (int at = firstByte; at < endByte; ++at) {
        // Byte `at` is the low byte of its register when even; the wire carries the high byte first.
        const int inData = 2 * (at / 2 - block.start) + ((at % 2 == 0) ? 1 : 0);
        destination[at - span.firstByte] = data[inData];
    }
}
