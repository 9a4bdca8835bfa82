#include "identity_area.h"

#include "meter_areas.h"
#include "meter_image.h"

#include "config/device_blocks.h"

#include <cstring>

void WriteIdentity(MeterImage& image, const SimIdentity& identity)
{
    DeviceIdentity block{};
    block.typeCode = kDeviceTypeCode;
    block.softwareVersion = identity.softwareVersion;
    block.hardwareVersion = identity.hardwareVersion;
    block.softwareChecksum = identity.softwareChecksum;
    block.modelIndex = identity.model;
    block.serialNumber = identity.serialNumber;
    block.firmwareLevel = identity.firmwareLevel;
    std::memcpy(image.At(MeterRegister::kIdentity), &block, sizeof block);
}
