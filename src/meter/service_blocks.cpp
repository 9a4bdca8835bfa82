#include "meter/service_blocks.h"

#include "meter/register_map.h"

#include <bit>

namespace {

constexpr int kPasswordCharacters = 5;

std::uint32_t Word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return std::uint32_t(b0) | (std::uint32_t(b1) << 8) | (std::uint32_t(b2) << 16) | (std::uint32_t(b3) << 24);
}

std::uint8_t ByteOf(std::uint32_t word, int index)
{
    return static_cast<std::uint8_t>(word >> (8 * index));
}

// Parameter bytes p0..p5 spread over the code word's upper half and the value.
ServiceCommand WithParameters(std::uint16_t code, const PasswordBytes& p)
{
    return ServiceCommand{code | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 24),
                          Word(p[2], p[3], p[4], p[5])};
}

}  // namespace

void ServiceCentreData::SetVariant(unsigned variant)
{
    std::uint8_t bits = batteryAndVariant & std::uint8_t(~0x18u);
    if (variant == 1)
        bits |= 0x08u;
    else if (variant == 2)
        bits |= 0x10u;
    batteryAndVariant = bits;
}

MakerData MakerDataForWrite(const MakerData& previous, std::uint16_t makerId, std::uint32_t serial, std::uint8_t model,
                            const QDateTime& now)
{
    MakerData data = previous;
    data.makerId = makerId;
    data.serialAtManufacture = serial;
    data.modelIndex = model;
    data.manufactured = ChronoOf(StampOf(now));
    return data;
}

ServiceCentreData ServiceCentreDataForWrite(std::uint32_t displaySerial, unsigned batteryType, unsigned variant,
                                            std::uint16_t firmwareLevel)
{
    ServiceCentreData data{};
    data.displaySerial = displaySerial;
    data.SetBatteryType(batteryType);
    if (firmwareLevel >= kLevelSeparateControls)
        data.SetVariant(variant);
    return data;
}

PasswordBytes ServiceCommand::Parameters() const
{
    return {ByteOf(codeWord, 2), ByteOf(codeWord, 3), ByteOf(value, 0),
            ByteOf(value, 1),    ByteOf(value, 2),    ByteOf(value, 3)};
}

ServiceCommand PlainServiceCommand(std::uint16_t code, std::uint32_t value)
{
    return ServiceCommand{code, value};
}

ServiceCommand PasswordServiceCommand(std::uint16_t code, const PasswordBytes& password)
{
    return WithParameters(code, password);
}

ServiceCommand ClockServiceCommand(std::uint16_t firmwareLevel, const QDateTime& localTime)
{
    const DateTimeStamp stamp = StampOf(localTime);
    return WithParameters(ClockCommandCode(firmwareLevel),
                          {stamp.day, stamp.month, stamp.year, stamp.hour, stamp.minute, stamp.second});
}

ParameterChange ParameterChangeOf(std::uint16_t parameterCode, float value)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    return ParameterChange{parameterCode | (bits << 16), bits >> 16, 0};
}

bool ParameterPasswordBytes(const QByteArray& typed, PasswordBytes& out)
{
    if (typed.size() > kPasswordCharacters)
        return false;
    out.fill(' ');
    for (int i = 0; i < typed.size(); ++i)
        out[std::size_t(i)] = static_cast<std::uint8_t>(typed[i]);
    out[kPasswordCharacters] = 0;
    return true;
}
