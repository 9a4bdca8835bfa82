#pragma once
// The flash page window at register 3668: 256 bytes of the page whose number was last written at
// offset 8 of the request block. Pages hold deterministic content: the page number (u16), 252 bytes
// from the seed, and a CRC-16 of the first 254 bytes, so a reader can tell a whole page from a torn one.

#include "modbus_slave.h"

#include <QByteArray>

#include <cstdint>

class FlashArea : public AreaBehaviour {
public:
    static constexpr int kPageCount = 2048;  // 512 KiB of 256-byte pages
    static constexpr int kPageBytes = 256;

    explicit FlashArea(std::uint32_t seed) : m_seed(seed) {}

    static QByteArray PageBytes(std::uint32_t seed, int page);

    int BeforeRead(MeterImage& image, int start, int count) override;

private:
    std::uint32_t m_seed;
};
