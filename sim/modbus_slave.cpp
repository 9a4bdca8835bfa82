#include "modbus_slave.h"

#include "base/checksums.h"
#include "channel/modbus_functions.h"

int ModbusSlave::Answer(const std::uint8_t* unit, int length, std::uint8_t* out, int capacity)
{
    // The largest answer (0x48 reading 146 registers) is 300 bytes.
    if (length < 2 || capacity < 300 || !Accepts(unit[0]))
        return 0;
    m_requestAddress = unit[0];
    m_requestFunction = unit[1];
    switch (unit[1]) {
        case Modbus::kReadHoldingRegisters:
            return ReadHolding(unit, length, out);
        case Modbus::kWriteMultipleRegisters:
            return WriteMultiple(unit, length, out);
        case Modbus::kReadWrite48:
            return WriteRead48(unit, length, out);
        default:
            return Exception(unit[1], SlaveException::kIllegalFunction, out);
    }
}

int ModbusSlave::ReadHolding(const std::uint8_t* unit, int length, std::uint8_t* out)
{
    if (length != 6)
        return Exception(Modbus::kReadHoldingRegisters, SlaveException::kIllegalValue, out);
    const int start = GetBigEndian16(unit + 2);
    const int count = GetBigEndian16(unit + 4);
    if (count < 1 || count > kMaxRead3)
        return Exception(Modbus::kReadHoldingRegisters, SlaveException::kIllegalValue, out);
    if (!MeterImage::InRange(start, count))
        return Exception(Modbus::kReadHoldingRegisters, SlaveException::kIllegalAddress, out);
    if (const int code = PrepareRead(start, count))
        return Exception(Modbus::kReadHoldingRegisters, code, out);
    out[0] = m_requestAddress;
    out[1] = Modbus::kReadHoldingRegisters;
    out[2] = static_cast<std::uint8_t>(2 * count);
    m_image.ToWire(start, count, out + 3);
    return Finish(out, 3 + 2 * count);
}

int ModbusSlave::WriteMultiple(const std::uint8_t* unit, int length, std::uint8_t* out)
{
    if (length < 7)
        return Exception(Modbus::kWriteMultipleRegisters, SlaveException::kIllegalValue, out);
    const int start = GetBigEndian16(unit + 2);
    const int count = GetBigEndian16(unit + 4);
    const int byteCount = unit[6];
    // An odd byte count travels padded to whole registers.
    if (count < 1 || count > kMaxWrite16 || (byteCount + 1) / 2 != count || length != 7 + 2 * count)
        return Exception(Modbus::kWriteMultipleRegisters, SlaveException::kIllegalValue, out);
    if (!MeterImage::InRange(start, count))
        return Exception(Modbus::kWriteMultipleRegisters, SlaveException::kIllegalAddress, out);
    if (const int code = CheckAndWrite(start, count, unit + 7))
        return Exception(Modbus::kWriteMultipleRegisters, code, out);
    for (int i = 0; i < 6; ++i)
        out[i] = unit[i];
    out[0] = m_requestAddress;
    return Finish(out, 6);
}

int ModbusSlave::WriteRead48(const std::uint8_t* unit, int length, std::uint8_t* out)
{
    if (length < 14)
        return Exception48(SlaveException::kIllegalValue, 0, out);
    const int readStart = GetBigEndian16(unit + 2);
    const int readCount = GetBigEndian16(unit + 4);
    const int writeStart = GetBigEndian16(unit + 6);
    const int writeCount = GetBigEndian16(unit + 8);
    const int writeBytes = GetBigEndian16(unit + 10);
    const std::uint16_t sequence = GetBigEndian16(unit + 12);
    m_lastSequence = sequence;
    if (readCount > kMaxRead48 || writeCount > kMaxWrite48 || (writeBytes + 1) / 2 != writeCount
        || length != 14 + 2 * writeCount)
        return Exception48(SlaveException::kIllegalValue, sequence, out);
    if ((writeCount > 0 && !MeterImage::InRange(writeStart, writeCount))
        || (readCount > 0 && !MeterImage::InRange(readStart, readCount)))
        return Exception48(SlaveException::kIllegalAddress, sequence, out);
    if (writeCount > 0) {
        if (const int code = CheckAndWrite(writeStart, writeCount, unit + 14))
            return Exception48(code, sequence, out);
    }
    if (readCount > 0) {
        if (const int code = PrepareRead(readStart, readCount))
            return Exception48(code, sequence, out);
    }
    out[0] = m_requestAddress;
    out[1] = Modbus::kReadWrite48;
    PutBigEndian16(out + 2, static_cast<std::uint16_t>(2 * readCount));
    PutBigEndian16(out + 4, sequence);
    m_image.ToWire(readStart, readCount, out + 6);
    return Finish(out, 6 + 2 * readCount);
}

int ModbusSlave::CheckAndWrite(int start, int count, const std::uint8_t* wire)
{
    for (AreaBehaviour* behaviour : m_behaviours) {
        if (const int code = behaviour->CheckWrite(m_image, start, count, wire))
            return code;
    }
    m_image.FromWire(start, count, wire);
    for (AreaBehaviour* behaviour : m_behaviours) {
        if (const int code = behaviour->AfterWrite(m_image, start, count))
            return code;
    }
    return 0;
}

int ModbusSlave::PrepareRead(int start, int count)
{
    for (AreaBehaviour* behaviour : m_behaviours) {
        if (const int code = behaviour->BeforeRead(m_image, start, count))
            return code;
    }
    return 0;
}

int ModbusSlave::Exception(std::uint8_t function, int code, std::uint8_t* out)
{
    out[0] = m_requestAddress;
    out[1] = static_cast<std::uint8_t>(function | Modbus::kExceptionBit);
    out[2] = static_cast<std::uint8_t>(code);
    return Finish(out, 3);
}

int ModbusSlave::Exception48(int code, std::uint16_t sequence, std::uint8_t* out)
{
    // The code stands in byte 2 and the sequence number where a normal answer keeps it.
    out[0] = m_requestAddress;
    out[1] = static_cast<std::uint8_t>(Modbus::kReadWrite48 | Modbus::kExceptionBit);
    out[2] = static_cast<std::uint8_t>(code);
    out[3] = 0;
    PutBigEndian16(out + 4, sequence);
    return Finish(out, 6);
}

int ModbusSlave::Finish(std::uint8_t* out, int lengthWithoutCrc)
{
    PutLittleEndian16(out + lengthWithoutCrc, Crc16Modbus(out, lengthWithoutCrc));
    return lengthWithoutCrc + 2;
}
