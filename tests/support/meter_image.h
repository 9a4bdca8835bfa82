#pragma once
// The register image of a test meter and the RTU answers it gives to functions 3, 16 and 0x48: enough
// of a Modbus slave to check what the master sends and copies back.

#include <QByteArray>

#include <cstdint>
#include <vector>

class MeterImage {
public:
    explicit MeterImage(int registers = 4213);

    // Register N is the little-endian word at byte 2N, as the driver lays its structures over it.
    std::vector<std::uint8_t> bytes;

    // Fills every byte with a pattern that differs from its neighbours and from its register's twin.
    void FillPattern(std::uint8_t seed);

    // Length of the RTU request at the start of `bytes` once its header is there, else 0.
    static int RequestLength(const std::uint8_t* bytes, int available);

    // Carries out the request (writes change the image) and returns the RTU answer, CRC included;
    // an exception answer for a request outside the image. `sequenceDelta` is added to the sequence
    // number of a 0x48 answer (-1 answers as if to the request before).
    QByteArray Answer(const QByteArray& request, int sequenceDelta = 0);

    static QByteArray WithCrc(QByteArray frame);
    static QByteArray Exception(std::uint8_t address, std::uint8_t function, std::uint8_t code);

private:
    bool InImage(int start, int count) const;
    void AppendRegisters(QByteArray& answer, int start, int count) const;
    void StoreRegisters(const std::uint8_t* data, int start, int count);
};
