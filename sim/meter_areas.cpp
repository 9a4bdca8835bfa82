#include "meter_areas.h"

#include "meter_image.h"

#include "archives/archive_descriptors.h"
#include "archives/record_bytes.h"
#include "config/device_blocks.h"

std::uint16_t FirmwareLevelOf(const MeterImage& image)
{
    return image.GetU16(ByteOffset(MeterRegister::kIdentity) + offsetof(DeviceIdentity, firmwareLevel));
}

ArchiveRequest RequestOf(const MeterImage& image)
{
    return RecordFromBytes<ArchiveRequest>(
        std::span(image.At(MeterRegister::kRequest), static_cast<std::size_t>(MeterRegister::kRequestBytes)));
}
