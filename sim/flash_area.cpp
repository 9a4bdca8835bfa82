#include "flash_area.h"

#include "meter_areas.h"
#include "seeded_hash.h"

#include "base/checksums.h"
#include "meter/archive_descriptors.h"

#include <cstring>

QByteArray FlashArea::PageBytes(std::uint32_t seed, int page)
{
    QByteArray bytes(kPageBytes, '\0');
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    PutLittleEndian16(data, static_cast<std::uint16_t>(page));
    for (int i = 2; i < kPageBytes - 2; i += 8) {
        const std::uint64_t word = SeededHash(seed, 0xF1A5, static_cast<std::uint64_t>(page),
                                              static_cast<std::uint64_t>(i));
        std::memcpy(data + i, &word, static_cast<std::size_t>(std::min(8, kPageBytes - 2 - i)));
    }
    PutLittleEndian16(data + kPageBytes - 2, Crc16Modbus(data, kPageBytes - 2));
    return bytes;
}

int FlashArea::BeforeRead(MeterImage& image, int start, int count)
{
    if (!Touches(start, count, MeterArea::kFlashPage))
        return 0;
    const auto request = RequestOf(image);
    if (request.recordNumber >= kPageCount)
        return SlaveException::kIllegalValue;
    const QByteArray page = PageBytes(m_seed, request.recordNumber);
    std::memcpy(AreaIn(image, MeterArea::kFlashPage), page.constData(), kPageBytes);
    return 0;
}
