#pragma once
// A small Modbus master for the simulated meter: blocks of the standard sizes, bytes in the image's
// order (each register little-endian), exceptions returned as codes. It asks the slave directly (the
// answer's CRC checked here) or through a transport over a real line.

#include "sim/meter_simulator.h"

#include "meter/register_map.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <functional>

// A field of a packed record by value: the test macros bind references, which a packed field's
// possibly misaligned address cannot take.
template <class T>
T Value(T field)
{
    return field;
}

struct SlaveReply {
    int exception = 0;  // 0: answered
    QByteArray bytes;

    bool Ok() const { return exception == 0; }
    template <class Record>
    Record As() const
    {
        Record record{};
        std::memcpy(&record, bytes.constData(), std::min<std::size_t>(sizeof record, std::size_t(bytes.size())));
        return record;
    }
};

// Sends a request unit (address, function, data; no checksum) and returns the answer unit without its
// checksum, or empty when nothing valid came back.
using SlaveTransport = std::function<QByteArray(const QByteArray& unit)>;

class SlaveClient {
public:
    explicit SlaveClient(MeterSimulator& meter);
    explicit SlaveClient(SlaveTransport transport) : m_transport(std::move(transport)) {}

    // Function 3 in blocks of at most 125 registers; stops at the first exception.
    SlaveReply Read(int reg, int bytes);
    // Function 16 in blocks of at most 123 registers; an odd count is padded with a zero byte.
    int Write(int reg, const QByteArray& bytes);
    // One function-0x48 transfer: writes (may be empty) and reads (may be 0 bytes).
    SlaveReply WriteRead48(int writeReg, const QByteArray& write, int readReg, int readBytes);

    // The same at the first register of an area of the map.
    SlaveReply Read(MeterArea area, int bytes) { return Read(AreaRegister(area), bytes); }
    int Write(MeterArea area, const QByteArray& bytes) { return Write(AreaRegister(area), bytes); }
    SlaveReply WriteRead48(MeterArea writeArea, const QByteArray& write, MeterArea readArea, int readBytes)
    {
        return WriteRead48(AreaRegister(writeArea), write, AreaRegister(readArea), readBytes);
    }

    // The service command block: u16 code and six parameter bytes.
    int ServiceCommand(std::uint16_t code, const QByteArray& parameters = {});

    template <class Record>
    static QByteArray Bytes(const Record& record)
    {
        return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
    }

private:
    QByteArray Ask(const QByteArray& unit, int* exception);

    SlaveTransport m_transport;
    std::uint16_t m_sequence = 1;
};

// The configuration written the way the configurator writes it: command 1, the record, its checksum
// block, command 2, then the open-settings checksum block and the open settings. The first refusal.
int WriteConfiguration(SlaveClient& client, const QByteArray& record, const QByteArray& open);

// A simulated meter of the given firmware level, all else as by default.
SimOptions AtLevel(std::uint16_t level);
