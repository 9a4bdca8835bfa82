#pragma once
// What the driver holds besides its channel: the image of the meter's register space, the working copies
// the pages edit, and the parameters a page fills in before it queues a command. Pages read and edit
// these between commands (a page is told when a command has finished); the command thread alone uses
// them while a command runs.

#include "archives/archive_descriptors.h"
#include "config/device_blocks.h"
#include "protocol/register_map.h"
#include "protocol/service_blocks.h"

#include <QString>

#include <array>
#include <cstdint>
#include <cstring>

using RegisterImage = std::array<std::uint8_t, kImageByteCount>;

struct DriverData {
    RegisterImage image{};

    // Working copies. The record is always held in the 510-byte form with the controls apart.
    ConfigurationBlocks configuration{};
    QString versionText;  // "АВ %d.%d ПВ %d.%d"
    MakerData makerData{};
    ServiceCentreData serviceCentreData{};
    ArchiveDescriptors descriptors{};

    // Filled in by the page that queues the command.
    MakerData makerDataToWrite{};
    ServiceCentreData serviceCentreDataToWrite{};
    ArchiveRequest request{};
    ServiceCommand serviceCommand{};
    ParameterChange parameterChange{};
    PasswordBytes parameterPassword{};
    bool cyclicRead = false;
    int cyclicPeriodMs = 0;
    // The next connect reads the meter's configuration but leaves the working copy as the user edited it.
    bool keepConfigurationOnConnect = false;

    std::uint8_t* At(MeterArea area) { return image.data() + AreaOffset(area); }
    const std::uint8_t* At(MeterArea area) const { return image.data() + AreaOffset(area); }
};

// The service command block as it goes out: the code word, then the value, both little-endian.
inline void PutServiceCommand(RegisterImage& image, const ServiceCommand& command)
{
    std::uint8_t* block = image.data() + AreaOffset(MeterArea::kServiceCommand);
    std::memcpy(block, &command.codeWord, sizeof command.codeWord);
    std::memcpy(block + sizeof command.codeWord, &command.value, sizeof command.value);
}
