#include "support/slave_client.h"

#include "sim/meter_areas.h"

#include "base/checksums.h"

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

SlaveClient::SlaveClient(MeterSimulator& meter)
    : m_transport([&meter](const QByteArray& unit) {
          std::uint8_t answer[300];
          const int length = meter.Slave().Answer(reinterpret_cast<const std::uint8_t*>(unit.constData()),
                                                  static_cast<int>(unit.size()), answer, sizeof answer);
          if (length < 4)
              return QByteArray();
          EXPECT_EQ(GetLittleEndian16(answer + length - 2), Crc16Modbus(answer, static_cast<std::size_t>(length - 2)));
          return QByteArray(reinterpret_cast<const char*>(answer), length - 2);
      })
{}

QByteArray SlaveClient::Ask(const QByteArray& unit, int* exception)
{
    const QByteArray answer = m_transport(unit);
    *exception = 0;
    if (answer.size() < 3) {
        ADD_FAILURE() << "no answer from the meter";
        *exception = -1;
        return {};
    }
    if (static_cast<std::uint8_t>(answer[1]) & 0x80)
        *exception = static_cast<std::uint8_t>(answer[2]);
    return answer;
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
    return Write(MeterArea::kServiceCommand, block);
}

namespace {

QByteArray ChecksumBlock(const QByteArray& covered, int size)
{
    QByteArray block(size, '\0');
    PutLittleEndian16(reinterpret_cast<std::uint8_t*>(block.data()),
                      Crc16Modbus(reinterpret_cast<const std::uint8_t*>(covered.constData()),
                                  static_cast<std::size_t>(covered.size())));
    return block;
}

}  // namespace

int WriteConfiguration(SlaveClient& client, const QByteArray& record, const QByteArray& open)
{
    int code = client.ServiceCommand(1);  // the protected write begins
    if (!code)
        code = client.Write(MeterArea::kTunes, record);
    if (!code)
        code = client.Write(MeterArea::kTunesChecksum, ChecksumBlock(record, AreaCapacity(MeterArea::kTunesChecksum)));
    if (!code)
        code = client.ServiceCommand(2);  // ... and ends
    if (!code)
        code = client.Write(MeterArea::kOpenChecksum, ChecksumBlock(open, AreaCapacity(MeterArea::kOpenChecksum)));
    if (!code)
        code = client.Write(MeterArea::kOpenSettings, open);
    return code;
}

SimOptions AtLevel(std::uint16_t level)
{
    SimOptions options;
    options.identity.firmwareLevel = level;
    return options;
}
