#include "support/meter_image.h"

#include "protocol/checksums.h"

MeterImage::MeterImage(int registers)
    : bytes(static_cast<std::size_t>(2 * registers), 0)
{
}

void MeterImage::FillPattern(std::uint8_t seed)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) + seed);
}

int MeterImage::RequestLength(const std::uint8_t* bytes, int available)
{
    if (available < 2)
        return 0;
    switch (bytes[1]) {
    case 0x03:
        return 8;
    case 0x10:
        return available >= 7 ? 9 + bytes[6] : 0;
    case 0x48:
        return available >= 12 ? 16 + GetBigEndian16(bytes + 10) : 0;
    default:
        return available;  // not a request this meter knows: take what is there
    }
}

QByteArray MeterImage::Answer(const QByteArray& request, int sequenceDelta)
{
    const auto* r = reinterpret_cast<const std::uint8_t*>(request.constData());
    const std::uint8_t address = r[0];
    const std::uint8_t function = r[1];
    QByteArray answer;
    answer.append(static_cast<char>(address));
    answer.append(static_cast<char>(function));
    if (function == 0x03) {
        const int start = GetBigEndian16(r + 2);
        const int count = GetBigEndian16(r + 4);
        if (!InImage(start, count))
            return Exception(address, function, 2);
        answer.append(static_cast<char>(2 * count));
        AppendRegisters(answer, start, count);
    } else if (function == 0x10) {
        const int start = GetBigEndian16(r + 2);
        const int count = GetBigEndian16(r + 4);
        if (!InImage(start, count))
            return Exception(address, function, 2);
        StoreRegisters(r + 7, start, count);
        answer.append(request.mid(2, 4));
    } else if (function == 0x48) {
        const int readStart = GetBigEndian16(r + 2);
        const int readCount = GetBigEndian16(r + 4);
        const int writeStart = GetBigEndian16(r + 6);
        const int writeCount = GetBigEndian16(r + 8);
        if (!InImage(readStart, readCount) || !InImage(writeStart, writeCount))
            return Exception(address, function, 2);
        StoreRegisters(r + 14, writeStart, writeCount);
        const auto sequence = static_cast<std::uint16_t>(GetBigEndian16(r + 12) + sequenceDelta);
        answer.append('\0').append('\0');
        answer.append(static_cast<char>(sequence >> 8)).append(static_cast<char>(sequence & 0xFF));
        AppendRegisters(answer, readStart, readCount);
    } else {
        return Exception(address, function, 1);
    }
    return WithCrc(answer);
}

QByteArray MeterImage::WithCrc(QByteArray frame)
{
    const std::uint16_t crc =
        Crc16Modbus(reinterpret_cast<const std::uint8_t*>(frame.constData()), static_cast<std::size_t>(frame.size()));
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

QByteArray MeterImage::Exception(std::uint8_t address, std::uint8_t function, std::uint8_t code)
{
    QByteArray frame;
    frame.append(static_cast<char>(address));
    frame.append(static_cast<char>(function | 0x80));
    frame.append(static_cast<char>(code));
    return WithCrc(frame);
}

bool MeterImage::InImage(int start, int count) const
{
    return 2 * (start + count) <= static_cast<int>(bytes.size());
}

void MeterImage::AppendRegisters(QByteArray& answer, int start, int count) const
{
    for (int reg = start; reg < start + count; ++reg) {
        answer.append(static_cast<char>(bytes[2 * reg + 1]));
        answer.append(static_cast<char>(bytes[2 * reg]));
    }
}

void MeterImage::StoreRegisters(const std::uint8_t* data, int start, int count)
{
    for (int i = 0; i < count; ++i) {
        bytes[2 * (start + i) + 1] = data[2 * i];
        bytes[2 * (start + i)] = data[2 * i + 1];
    }
}
