#include "meter_areas.h"

#include "meter_image.h"

#include "archives/record_bytes.h"
#include "config/device_blocks.h"
#include "meter/archive_descriptors.h"

bool Touches(int start, int count, MeterArea area, int bytes)
{
    const int first = AreaRegister(area);
    return bytes > 0 && start < first + RegistersFor(bytes) && first < start + count;
}

bool Touches(int start, int count, MeterArea area)
{
    return Touches(start, count, area, IsAnswerArea(area) ? kAnswerSlotBytes : AreaCapacity(area));
}

bool CutsThrough(int start, int count, MeterArea area)
{
    const int first = AreaRegister(area);
    return Touches(start, count, area)
        && !(start <= first && start + count >= first + RegistersFor(AreaCapacity(area)));
}

std::uint8_t* AreaIn(MeterImage& image, MeterArea area)
{
    return image.At(AreaRegister(area));
}

const std::uint8_t* AreaIn(const MeterImage& image, MeterArea area)
{
    return image.At(AreaRegister(area));
}

bool IsAnswerArea(MeterArea area)
{
    switch (area) {
        case MeterArea::kArchiveRecord:
        case MeterArea::kTotalsRecord:
        case MeterArea::kEventLogDbChanges:
        case MeterArea::kEventLogAdministrative:
        case MeterArea::kEventLogDiagnostics:
        case MeterArea::kFlashPage:
            return true;
        default:
            return false;
    }
}

std::uint16_t FirmwareLevelOf(const MeterImage& image)
{
    return image.GetU16(AreaOffset(MeterArea::kIdentity) + static_cast<int>(offsetof(DeviceIdentity, firmwareLevel)));
}

ArchiveRequest RequestOf(const MeterImage& image)
{
    return RecordFromBytes<ArchiveRequest>(std::span(
        AreaIn(image, MeterArea::kArchiveRequest), static_cast<std::size_t>(AreaCapacity(MeterArea::kArchiveRequest))));
}
