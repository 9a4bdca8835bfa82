#pragma once
// Values shared by the channel, its transports and their owners.

#include <bit>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "device blocks are laid over little-endian memory");

// Every request and answer buffer of the channel, the Modbus master and the calibrator link.
constexpr int kExchangeBufferSize = 2148;

// Which transport a channel uses (stored as a 32-bit integer in nodes and settings).
enum ChannelKind : std::int32_t {
    kChannelUsb = 0,
    kChannelDirect = 1,  // "Прямое"
    kChannelModem = 2,   // "Модем"
    kChannelIp = 3,      // "Ethernet/Internet"
    kChannelSharedMemory = 4,
};

// How a Modbus RTU unit is put on the wire. Only 0..2 are offered to the user.
enum TransportProtocol : std::int32_t {
    kFramingRtu = 0,
    kFramingAscii = 1,
    kFramingPpp = 2,          // byte-stuffed frame between flag bytes
    kFramingTransparent = 3,  // calibrator stand: bytes as they are, no frame check
    kFramingModbusTcp = 4,    // MBAP header, no CRC
    kFramingRtuX25 = 5,       // RTU layout with the X.25 frame check sequence
};

// Results of CTransmitChanel::ReadData.
enum ReadResult : int {
    kReadFrame = 0,
    kReadTimeoutEmpty = 1,
    kReadTimeoutGarbage = 2,
    kReadStopped = 3,
    kReadFailed = 4,  // already reported to the user
};

// Results of the serial, IP and shared-memory transports.
enum TransportResult : int {
    kTransportOk = 0,
    kTransportTimeout = 1,
    kTransportStopped = 3,
    kTransportFailed = 4,  // already reported to the user
};
