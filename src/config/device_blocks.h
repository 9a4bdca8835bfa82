#pragma once
// The three configuration blocks besides the protected record, and the four blocks together.
//
// DeviceIdentity (38)  0 type code 0x1702 | 2 ПВ | 4 АВ | 6 КСПО | 8 model | 10 u32 serial |
//                      20 firmware level | 24 flags (bit 0: Qг labels of schemes 2, 4, 6)
// OpenSettings (22)    0 network address | 2 organisation code (9 + zero) | 12 contract (9 + zero)
// ControlsBlock (64)   four controls of 10 bytes at 0, 10, 20, 30; four alarm entries of 6 at 40..58

#include <cstddef>
#include <cstdint>

#include "config/tunes_record.h"

inline constexpr std::uint16_t kDeviceTypeCode = 0x1702;
inline constexpr int kControlCount = 4;
inline constexpr int kAlarmEntryCount = 4;
inline constexpr int kAlarmEventCount = 25;
inline constexpr int kOpenTextSize = 10;  // nine characters and a terminating zero

#pragma pack(push, 1)

struct DeviceIdentity {
    std::uint16_t typeCode;
    std::uint16_t softwareVersion;   // "ПВ": high byte major, low byte minor
    std::uint16_t hardwareVersion;   // "АВ"
    std::uint16_t softwareChecksum;  // "КСПО"
    std::uint8_t modelIndex;         // 0..4 = "01", "02", "03", "04", "04.1"
    std::uint8_t reserved9;
    std::uint32_t serialNumber;  // "Заводской номер"
    std::uint8_t reserved14[6];
    std::uint16_t firmwareLevel;  // selects the layouts, see below
    std::uint8_t reserved22[2];
    std::uint16_t flags;
    std::uint8_t reserved26[12];

    // Below 512 the meter keeps the 574-byte record with the controls as its tail.
    bool UsesOlderLayout() const { return firmwareLevel < 512; }
    // From 517 the contract pressure of pipe 3 counts whenever КТ3 is not 0.
    bool Pipe3PressureWithAnyKt3() const { return firmwareLevel >= 517; }
    // From 1024 the start dates of the parameter sets have no hour.
    bool DbStartHasHour() const { return firmwareLevel < 1024; }
    bool AlternativeQgLabels() const { return GetBits(flags, 0, 1) != 0; }
};

struct OpenSettings {
    std::uint8_t networkAddress;  // "Сетевой адрес"
    std::uint8_t reserved1;
    char organisationCode[kOpenTextSize];  // windows-1251
    char contract[kOpenTextSize];          // windows-1251
};

struct ControlEntry {
    std::uint16_t word;
    float minimum;
    float maximum;

    unsigned Kind() const { return GetBits(word, 0, 3); }  // 0 none, 1 pipe, 2 input, 3 extra input
    void SetKind(unsigned v) { word = WithBits(word, 0, 3, v); }
    unsigned Number() const { return GetBits(word, 3, 3); }  // pipe: 3 * input + pipe
    void SetNumber(unsigned v) { word = WithBits(word, 3, 3, v); }
    unsigned Parameter() const { return GetBits(word, 6, 3); }
    void SetParameter(unsigned v) { word = WithBits(word, 6, 3, v); }
};

struct AlarmEntry {
    std::uint16_t word;       // not interpreted here; kept as read
    std::uint32_t eventMask;  // bits 0..24: alarm events on

    bool EventOn(int event) const { return GetBits(eventMask, unsigned(event), 1) != 0; }
    void SetEventOn(int event, bool on) { eventMask = WithBits(eventMask, unsigned(event), 1, on ? 1 : 0); }
};

struct ControlsBlock {
    ControlEntry controls[kControlCount];
    AlarmEntry alarms[kAlarmEntryCount];
};

#pragma pack(pop)

enum ControlKind : unsigned { kControlUnused = 0, kControlPipe = 1, kControlInput = 2, kControlExtra = 3 };

static_assert(sizeof(DeviceIdentity) == 38);
static_assert(offsetof(DeviceIdentity, modelIndex) == 8);
static_assert(offsetof(DeviceIdentity, serialNumber) == 10);
static_assert(offsetof(DeviceIdentity, firmwareLevel) == 20);
static_assert(offsetof(DeviceIdentity, flags) == 24);
static_assert(sizeof(OpenSettings) == 22);
static_assert(offsetof(OpenSettings, organisationCode) == 2);
static_assert(offsetof(OpenSettings, contract) == 12);
static_assert(sizeof(ControlEntry) == 10);
static_assert(sizeof(AlarmEntry) == 6);
static_assert(sizeof(ControlsBlock) == 64);
static_assert(offsetof(ControlsBlock, alarms) == 40);

// The configuration as the driver holds it and the settings file stores it.
struct ConfigurationBlocks {
    DeviceIdentity identity{};
    TunesRecord tunes{};
    OpenSettings open{};
    ControlsBlock controls{};
};
