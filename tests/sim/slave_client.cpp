#include "slave_client.h"

#include "protocol/checksums.h"

#include <gtest/gtest.h>

namespace {

void AppendBig16(QByteArray& unit, int value)
{
    unit.append(static_cast<char>((value >> 8) & 0xFF));
    unit.append(static_cast<char>(value & 0xFF));
}

// Image bytes (little-endian registers) to wire order, padded to whole registers.
QByteArray ToWire(QByteArray bytes)
{
    if (bytes.size() % 2)
        bytes.append('\0');
    for (qsizetype i = 0; i < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

}  // namespace

QByteArray SlaveClient::Ask(const QByteArray& unit, int* exception)
{
    std::uint8_t answer[300];
    const int length = m_meter.Slave().Answer(reinterpret_cast<const std::uint8_t*>(unit.constData()),
                                              static_cast<int>(unit.size()), answer, sizeof answer);
    *exception = 0;
    if (length < 4) {
        ADD_FAILURE() << "the meter stayed silent";
        *exception = -1;
        return {};
    }
    EXPECT_EQ(GetLittleEndian16(answer + length - 2), Crc16Modbus(answer, static_cast<std::size_t>(length - 2)));
    if (answer[1] & 0x80)
        *exception = answer[2];
    return QByteArray(reinterpret_cast<const char*>(answer), length - 2);
}

SlaveReply SlaveClient::Read(int reg, int bytes)
{
    SlaveReply reply;
    QByteArray wire;
    for (int done = 0; done < (bytes + 1) / 2;) {
        const int count = std::min(125, (bytes + 1) / 2 - done);
        QByteArray unit("\x01\x03", 2);
        AppendBig16(unit, reg + done);
        AppendBig16(unit, count);
        const QByteArray answer = Ask(unit, &reply.exception);
        if (reply.exception)
            return reply;
        wire += answer.mid(3);
        done += count;
    }
    reply.bytes = ToWire(wire).left(bytes);
    return reply;
}

int SlaveClient::Write(int reg, const QByteArray& bytes)
{
    const QByteArray wire = ToWire(bytes);
    for (int done = 0; done < wire.size() / 2;) {
        const int count = std::min(123, static_cast<int>(wire.size() / 2) - done);
        QByteArray unit("\x01\x10", 2);
        AppendBig16(unit, reg + done);
        AppendBig16(unit, count);
        unit.append(static_cast<char>(2 * count));
        unit += wire.mid(2 * done, 2 * count);
        int exception = 0;
        Ask(unit, &exception);
        if (exception)
            return exception;
        done += count;
    }
    return 0;
}

SlaveReply SlaveClient::WriteRead48(int writeReg, const QByteArray& write, int readReg, int readBytes)
{
    const QByteArray wire = ToWire(write);
    QByteArray unit("\x01\x48", 2);
    AppendBig16(unit, readReg);
    AppendBig16(unit, (readBytes + 1) / 2);
    AppendBig16(unit, writeReg);
    AppendBig16(unit, static_cast<int>(wire.size() / 2));
    AppendBig16(unit, static_cast<int>(write.size()));
    AppendBig16(unit, m_sequence++);
    unit += wire;
    SlaveReply reply;
    const QByteArray answer = Ask(unit, &reply.exception);
    if (!reply.exception)
        reply.bytes = ToWire(answer.mid(6)).left(readBytes);
    return reply;
}

int SlaveClient::ServiceCommand(std::uint16_t code, const QByteArray& parameters)
{
    QByteArray block(8, '\0');
    block[0] = static_cast<char>(code & 0xFF);
    block[1] = static_cast<char>(code >> 8);
    block.replace(2, std::min<qsizetype>(parameters.size(), 6), parameters.left(6));
    return Write(2665, block);
}
