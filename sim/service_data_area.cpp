#include "service_data_area.h"

#include "archive_generator.h"
#include "meter_areas.h"

#include "meter/service_blocks.h"

#include <cstring>

namespace {

constexpr std::uint8_t kLastModel = 4;
constexpr std::uint16_t kMakerId = 0x0017;
constexpr std::uint32_t kBatteryMinutes = 6u * 365 * 24 * 60;  // six years

// The registers past the level's maker data, up to the longest form: only meters from 512 have them.
bool TouchesMissingMakerData(std::uint16_t level, int start, int count)
{
    const int first = AreaRegister(MeterArea::kMakerData);
    const int missing = first + RegistersFor(AreaSize(MeterArea::kMakerData, level));
    const int end = first + RegistersFor(AreaCapacity(MeterArea::kMakerData));
    return missing < end && start < end && missing < start + count;
}

}  // namespace

void ServiceDataArea::Initialise(MeterImage& image, const SimIdentity& identity, MeterSeconds now)
{
    MakerData maker{};
    maker.makerId = kMakerId;
    maker.serialAtManufacture = identity.serialNumber;
    maker.modelIndex = identity.model;
    maker.manufactured = kManufactureDate;
    const int makerBytes = AreaSize(MeterArea::kMakerData, identity.firmwareLevel);
    std::memset(AreaIn(image, MeterArea::kMakerData), 0, static_cast<std::size_t>(AreaCapacity(MeterArea::kMakerData)));
    std::memcpy(AreaIn(image, MeterArea::kMakerData), &maker, static_cast<std::size_t>(makerBytes));

    ServiceCentreData centre{};
    centre.displaySerial = identity.serialNumber;
    centre.SetBatteryType(2);
    const auto used = static_cast<std::uint32_t>(std::max<MeterSeconds>(0, now - SecondsOf(kManufactureDate)) / 60);
    centre.batteryResourceSet = kBatteryMinutes;
    centre.batteryResourceLeft = used < kBatteryMinutes ? kBatteryMinutes - used : 0;
    centre.modbusMinutes = 3 * 24 * 60 + 17;
    centre.displayMinutes = 11 * 24 * 60 + 42;
    std::memcpy(AreaIn(image, MeterArea::kServiceCentreData), &centre, sizeof centre);
}

int ServiceDataArea::CheckWrite(const MeterImage& image, int start, int count, const std::uint8_t* wire)
{
    const std::uint16_t level = FirmwareLevelOf(image);
    if (TouchesMissingMakerData(level, start, count))
        return SlaveException::kIllegalAddress;
    // The model byte is the low byte of its register, the second byte of that register on the wire.
    const int modelOffset = static_cast<int>(offsetof(MakerData, modelIndex));
    const int modelRegister = AreaRegister(MeterArea::kMakerData) + modelOffset / 2;
    if (AreaSize(MeterArea::kMakerData, level) > modelOffset && start <= modelRegister && modelRegister < start + count
        && wire[2 * (modelRegister - start) + 1] > kLastModel)
        return SlaveException::kIllegalValue;
    return 0;
}

int ServiceDataArea::BeforeRead(MeterImage& image, int start, int count)
{
    return TouchesMissingMakerData(FirmwareLevelOf(image), start, count) ? SlaveException::kIllegalAddress : 0;
}
