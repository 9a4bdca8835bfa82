#pragma once
// The small blocks of the meter's service areas and how their words are made up.
//
// Maker data (register 35; 6 bytes below firmware level 512, else 14; the driver keeps 16)
//   0 u16 maker id | 2 u32 serial at manufacture | 6 u8 model | 7 3 bytes kept | 10 day, month, year-2000, hour
// Service-centre data (register 67, 28 bytes)
//   0 u32 displayed serial | 4 battery type (bits 0-2) and variant (bit 3: 1, else bit 4: 2, else 0) |
//   8 u32 battery resource set | 12 u32 resource left | 16 u32 Modbus minutes | 20 u32 display minutes
// Service command (register 2665, 8 bytes): u16 code, six parameter bytes. It is sent as a 32-bit code
//   word and a 32-bit value, so the code word's upper half gives parameter bytes 0-1, the value 2-5.
// Parameter change (register 3796, 10 bytes): u16 parameter code, f32 value, four zero bytes; sent as a
//   32-bit word, a 32-bit word and a 16-bit word.
// Password block (register 99, 12 bytes): six password bytes, six zero bytes.

#include "meter/archive_date.h"

#include <QByteArray>
#include <QDateTime>

#include <array>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct MakerData {
    std::uint16_t makerId;              // "ID производителя"
    std::uint32_t serialAtManufacture;  // "Сер. номер при выпуске"
    std::uint8_t modelIndex;            // "Модель:", as in the identity
    std::uint8_t notInterpreted7[3];
    TChronoArch manufactured;  // day, month, year - 2000, hour
    std::uint8_t spare[2];     // the driver's copy is two bytes longer than the area
};

struct ServiceCentreData {
    std::uint32_t displaySerial;  // "Серийный номер для отобр."
    std::uint8_t batteryAndVariant;
    std::uint8_t notInterpreted5[3];
    std::uint32_t batteryResourceSet;   // minutes
    std::uint32_t batteryResourceLeft;  // minutes
    std::uint32_t modbusMinutes;
    std::uint32_t displayMinutes;
    std::uint8_t notInterpreted24[4];

    unsigned BatteryType() const { return batteryAndVariant & 0x07u; }  // "Тип батареи пит."
    void SetBatteryType(unsigned type)
    {
        batteryAndVariant = std::uint8_t((batteryAndVariant & ~0x07u) | (type & 0x07u));
    }
    // "Исполнение:" 0, 1 or 2.
    unsigned Variant() const { return (batteryAndVariant & 0x08u) ? 1u : (batteryAndVariant & 0x10u) ? 2u : 0u; }
    void SetVariant(unsigned variant);
};

#pragma pack(pop)

static_assert(sizeof(MakerData) == 16);
static_assert(offsetof(MakerData, modelIndex) == 6);
static_assert(offsetof(MakerData, manufactured) == 10);
static_assert(sizeof(ServiceCentreData) == 28);
static_assert(offsetof(ServiceCentreData, batteryResourceSet) == 8);
static_assert(offsetof(ServiceCentreData, displayMinutes) == 20);

// What the maker's page writes: identifier, serial number and model as entered, the date of manufacture
// from the computer's clock (day, month, year - 2000, hour), the uninterpreted bytes as they were.
MakerData MakerDataForWrite(const MakerData& previous, std::uint16_t makerId, std::uint32_t serial, std::uint8_t model,
                            const QDateTime& now);
// What the service-centre page writes: everything zero but the displayed serial and the battery type,
// and the variant bits from firmware level 512 on.
ServiceCentreData ServiceCentreDataForWrite(std::uint32_t displaySerial, unsigned batteryType, unsigned variant,
                                            std::uint16_t firmwareLevel);

using PasswordBytes = std::array<std::uint8_t, 6>;

// A service command as the driver sends it.
struct ServiceCommand {
    std::uint32_t codeWord = 0;
    std::uint32_t value = 0;

    std::uint16_t Code() const { return static_cast<std::uint16_t>(codeWord); }
    // Parameter bytes 0..5 of the block.
    PasswordBytes Parameters() const;
};

// A plain command: the code zero-extended, the value as given.
ServiceCommand PlainServiceCommand(std::uint16_t code, std::uint32_t value = 0);
// Codes 7 and 8 carry the six password bytes as their parameters.
ServiceCommand PasswordServiceCommand(std::uint16_t code, const PasswordBytes& password);
// Sets the meter's clock to `localTime`: code 6 or 9 by firmware level, then day, month, year - 2000,
// hour, minute, second.
ServiceCommand ClockServiceCommand(std::uint16_t firmwareLevel, const QDateTime& localTime);

struct ParameterChange {
    std::uint32_t codeWord = 0;
    std::uint32_t valueWord = 0;
    std::uint16_t extra = 0;
};

ParameterChange ParameterChangeOf(std::uint16_t parameterCode, float value);

// The password typed on the parameter page as the meter expects it: padded with blanks to five
// characters and ended by a zero byte. False (and `out` untouched) when it is longer than five bytes.
bool ParameterPasswordBytes(const QByteArray& typed, PasswordBytes& out);
