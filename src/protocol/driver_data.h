#pragma once
// What the driver holds besides its channel: the image of the meter's register space, the working copies
// the pages edit, and the parameters a page fills in before it queues a command. Pages read and edit
// these between commands (a page is told when a command has finished); the command thread alone uses
// them while a command runs.

#include "config/device_blocks.h"
#include "meter/archive_descriptors.h"
#include "meter/register_map.h"
#include "meter/service_blocks.h"

#include <QString>

#include <array>
#include <cstdint>
#include <cstring>

using RegisterImage = std::array<std::uint8_t, kImageByteCount>;

struct DriverData {
    RegisterImage image{};

    // Working copies. The record is always held in the 510-byte form with the controls apart.
    ConfigurationBlocks configuration{};
    // What the settings file the working copy was opened from lacked (its settings there are zeros);
    // empty when the file was whole or the copy came from the meter.
    QString configurationMissing;
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
    // Whether a settings record read with a checksum that does not match is asked about ("clear it?");
    // when not, the answer is "no" (the record is kept as the meter holds it) and only the warning shows.
    bool askTunesChecksum = true;

    // Set by every settings read: the record's checksum did not match; tunesAsRead then holds the
    // record as it came, for a copy made to repair it (the working copy holds the factory defaults).
    bool tunesChecksumMismatch = false;
    TunesRecord tunesAsRead{};
    // The next connect reads the meter's configuration but leaves the working copy as the user edited it.
    bool keepConfigurationOnConnect = false;
    // What the last connect did with that request: true when the working copy was left as edited.
    bool connectKeptConfiguration = false;

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
