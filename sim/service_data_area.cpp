#include "service_data_area.h"

#include "archive_generator.h"
#include "meter_areas.h"

#include <cstring>

namespace {

constexpr int kLongMakerBytes = 14;
constexpr int kModelOffset = 6;  // in the maker data
constexpr std::uint8_t kLastModel = 4;
constexpr std::uint16_t kMakerId = 0x0017;
constexpr std::uint32_t kBatteryMinutes = 6u * 365 * 24 * 60;  // six years

// The registers that only meters from level 512 have.
int LongMakerStart(std::uint16_t level) { return MeterRegister::kMakerData + RegistersFor(MakerDataBytes(level)); }
constexpr int kLongMakerEnd = MeterRegister::kMakerData + RegistersFor(kLongMakerBytes);

bool TouchesMissingMakerData(std::uint16_t level, int start, int count)
{
    const int missing = LongMakerStart(level);
    return missing < kLongMakerEnd && start < kLongMakerEnd && missing < start + count;
}

}  // namespace

void ServiceDataArea::Initialise(MeterImage& image, const SimIdentity& identity, MeterSeconds now)
{
    const int maker = ByteOffset(MeterRegister::kMakerData);
    std::memset(image.Bytes() + maker, 0, kLongMakerBytes);
    image.PutU16(maker, kMakerId);
    image.PutU32(maker + 2, identity.serialNumber);
    if (identity.firmwareLevel >= Layout::kSeparateControls) {
        image.Bytes()[maker + kModelOffset] = identity.model;
        std::memcpy(image.Bytes() + maker + 10, &kManufactureDate, sizeof kManufactureDate);
    }

    const int centre = ByteOffset(MeterRegister::kServiceCentre);
    std::memset(image.Bytes() + centre, 0, MeterRegister::kServiceCentreBytes);
    image.PutU32(centre, identity.serialNumber);
    image.Bytes()[centre + 4] = 0x02;  // battery type 2, variant 0
    const auto used = static_cast<std::uint32_t>(std::max<MeterSeconds>(0, now - SecondsOf(kManufactureDate)) / 60);
    image.PutU32(centre + 8, kBatteryMinutes);
    image.PutU32(centre + 12, used < kBatteryMinutes ? kBatteryMinutes - used : 0);
    image.PutU32(centre + 16, 3 * 24 * 60 + 17);   // Modbus operating time
    image.PutU32(centre + 20, 11 * 24 * 60 + 42);  // display operating time
}

int ServiceDataArea::CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire)
{
    const std::uint16_t level = FirmwareLevelOf(image);
    if (TouchesMissingMakerData(level, start, count))
        return SlaveException::kIllegalAddress;
    // The model byte is the low byte of its register, the second byte of that register on the wire.
    const int modelRegister = MeterRegister::kMakerData + kModelOffset / 2;
    if (level >= Layout::kSeparateControls && start <= modelRegister && modelRegister < start + count
        && wire[2 * (modelRegister - start) + 1] > kLastModel)
        return SlaveException::kIllegalValue;
    return 0;
}

int ServiceDataArea::BeforeRead(MeterImage& image, int start, int count)
{
    return TouchesMissingMakerData(FirmwareLevelOf(image), start, count) ? SlaveException::kIllegalAddress : 0;
}
