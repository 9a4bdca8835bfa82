#pragma once
// The meter's protected configuration ("настройки"): 510 bytes exchanged with the meter and the
// settings file exactly as they lie in memory. Little-endian, floats are IEEE-754 singles, pressures in
// MPa and temperatures in °C whatever unit system is shown.
//
//   0  report hour, report day           16  DbSettings "БД1" (240)
//   2  DB1 start: day, month, -, hour   256  DbSettings "БД2" (240)
//   6  DB2 start: day, month, -, hour   496  ExtraInputSettings "ДП" (14)
//  10  u16 DB control word              510  end
//  12  u32 system word
//
// DbSettings: pipes of ТВ1 at 0 (3 x 34), pipes of ТВ2 at 102, InputSettings of ТВ1 at 204, of ТВ2 at 222.
// Numbers of inputs, sets and pipes are 0-based here and 1-based in every text.
//
// Words with bit fields are read and written through the accessors below; bits without a name are
// reserved and every setter leaves them as they are.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "config/bit_field.h"

static_assert(std::endian::native == std::endian::little, "records are laid over little-endian bytes");

inline constexpr int kInputCount = 2;  // thermal inputs ТВ1, ТВ2
inline constexpr int kPipeCount = 3;   // pipes per input
inline constexpr int kDbCount = 2;     // parameter sets БД1, БД2

#pragma pack(push, 1)

struct PipeSettings {
    std::uint16_t flags;         // default 0x0040
    float contractTemperature;   // tдог, °C
    float contractPressure;      // Pдог, MPa
    float heightCorrection;      // Pп, m
    float sensorUpperLimit;      // Pв, MPa
    float pulseWeight;           // l per pulse
    float hourlyVolumeMin;       // Vч.ниж., m³
    float hourlyVolumeMax;       // Vч.верх., m³
    float hourlyVolumeContract;  // Vч.дог., m³

    unsigned VolumeControl() const { return GetBits(flags, 0, 3); }  // "Контр.V"
    void SetVolumeControl(unsigned v) { flags = WithBits(flags, 0, 3, v); }
    unsigned PowerControl() const { return GetBits(flags, 3, 2); }  // "Контроль ВС"
    void SetPowerControl(unsigned v) { flags = WithBits(flags, 3, 2, v); }
    bool PressureSensor() const { return GetBits(flags, 5, 1) != 0; }  // "Датчик P"
    void SetPressureSensor(bool on) { flags = WithBits(flags, 5, 1, on ? 1 : 0); }
    unsigned FlowMeterType() const { return GetBits(flags, 6, 2); }  // "Тип ВС"; bit 7 must be 0
    void SetFlowMeterType(unsigned v) { flags = WithBits(flags, 6, 2, v); }
};

struct InputSettings {
    std::uint8_t scheme;  // "СИ" 1..14, 0 = input not used
    std::uint8_t reserved1;
    float maxImbalance;             // dM max, %
    float contractColdTemperature;  // txд, °C
    float contractColdPressure;     // Pxд, MPa
    std::uint32_t word;

    unsigned Kt3() const { return GetBits(word, 0, 3); }
    void SetKt3(unsigned v) { word = WithBits(word, 0, 3, v); }
    unsigned Frt() const { return GetBits(word, 3, 4); }  // ФРТ
    void SetFrt(unsigned v) { word = WithBits(word, 3, 4, v); }
    unsigned TemperatureControl() const { return GetBits(word, 7, 2); }  // "Контр.t"; bit 8 must be 0
    void SetTemperatureControl(unsigned v) { word = WithBits(word, 7, 2, v); }
    unsigned ImbalanceControl() const { return GetBits(word, 9, 3); }  // "Контр.dM"
    void SetImbalanceControl(unsigned v) { word = WithBits(word, 9, 3, v); }
    unsigned HeatControl() const { return GetBits(word, 12, 3); }  // "Контр.Q"
    void SetHeatControl(unsigned v) { word = WithBits(word, 12, 3, v); }
    unsigned DeltaTControl() const { return GetBits(word, 15, 3); }  // "Контр.dt"
    void SetDeltaTControl(unsigned v) { word = WithBits(word, 15, 3, v); }
    unsigned DeltaTMin() const { return GetBits(word, 18, 3); }  // "dt min": 0 = 2 °C, 1 = 3 °C
    void SetDeltaTMin(unsigned v) { word = WithBits(word, 18, 3, v); }
    unsigned ColdWaterUse() const { return GetBits(word, 21, 4); }  // "Исп.tx"
    void SetColdWaterUse(unsigned v) { word = WithBits(word, 21, 4, v); }
    bool OutdoorAirMeasured() const { return GetBits(word, 25, 1) != 0; }  // "Исп.tнв"
    void SetOutdoorAirMeasured(bool on) { word = WithBits(word, 25, 1, on ? 1 : 0); }
};

struct DbSettings {
    PipeSettings pipes[kInputCount][kPipeCount];
    InputSettings inputs[kInputCount];
};

struct ExtraInputSettings {
    std::uint16_t word;
    float weightOrConfirmation;  // use 2: pulse weight; use 3: confirmation time, s
    float hourlyMin;             // ДПmin
    float hourlyMax;             // ДПmax

    unsigned Use() const { return GetBits(word, 0, 3); }  // "Использование"
    void SetUse(unsigned v) { word = WithBits(word, 0, 3, v); }
    unsigned AlarmLevel() const { return GetBits(word, 3, 1); }  // "Уровень тревоги"
    void SetAlarmLevel(unsigned v) { word = WithBits(word, 3, 1, v); }
    unsigned Units() const { return GetBits(word, 4, 4); }  // "Ед.измер."
    void SetUnits(unsigned v) { word = WithBits(word, 4, 4, v); }
};

struct DbStartDate {
    std::uint8_t day;
    std::uint8_t month;
    std::uint8_t reserved;
    std::uint8_t hour;
};

struct TunesRecord {
    std::uint8_t reportHour;  // "Час отчета"
    std::uint8_t reportDay;   // "Дата отчета"
    DbStartDate dbStart[kDbCount];
    std::uint16_t dbControl;
    std::uint32_t systemWord;
    DbSettings db[kDbCount];
    ExtraInputSettings extra;

    bool Db2Used() const { return GetBits(dbControl, 0, 1) != 0; }  // "Использование БД2"
    void SetDb2Used(bool on) { dbControl = WithBits(dbControl, 0, 1, on ? 1 : 0); }
    unsigned DbChangeMethod() const { return GetBits(dbControl, 1, 2); }  // "Способ изм.акт.БД"
    void SetDbChangeMethod(unsigned v) { dbControl = WithBits(dbControl, 1, 2, v); }
    unsigned KeyboardAccess() const { return GetBits(dbControl, 3, 3); }  // "С клав."
    void SetKeyboardAccess(unsigned v) { dbControl = WithBits(dbControl, 3, 3, v); }
    unsigned PcAccess() const { return GetBits(dbControl, 6, 3); }  // "С ПК"
    void SetPcAccess(unsigned v) { dbControl = WithBits(dbControl, 6, 3, v); }

    unsigned UnitSystem() const { return GetBits(systemWord, 0, 1); }  // 0 "СИ", 1 "МКС"
    void SetUnitSystem(unsigned v) { systemWord = WithBits(systemWord, 0, 1, v); }
    unsigned SensorType() const { return GetBits(systemWord, 1, 4); }  // temperature sensors
    void SetSensorType(unsigned v) { systemWord = WithBits(systemWord, 1, 4, v); }
    bool AutoDaylightSaving() const { return GetBits(systemWord, 6, 1) != 0; }
    void SetAutoDaylightSaving(bool on) { systemWord = WithBits(systemWord, 6, 1, on ? 1 : 0); }
    bool ScreenInversion() const { return GetBits(systemWord, 7, 1) != 0; }
    void SetScreenInversion(bool on) { systemWord = WithBits(systemWord, 7, 1, on ? 1 : 0); }
};

#pragma pack(pop)

inline constexpr unsigned kUnitSystemSi = 0;
inline constexpr unsigned kUnitSystemMks = 1;

static_assert(sizeof(PipeSettings) == 34);
static_assert(offsetof(PipeSettings, contractTemperature) == 2);
static_assert(offsetof(PipeSettings, pulseWeight) == 18);
static_assert(offsetof(PipeSettings, hourlyVolumeContract) == 30);
static_assert(sizeof(InputSettings) == 18);
static_assert(offsetof(InputSettings, maxImbalance) == 2);
static_assert(offsetof(InputSettings, contractColdPressure) == 10);
static_assert(offsetof(InputSettings, word) == 14);
static_assert(sizeof(DbSettings) == 240);
static_assert(offsetof(DbSettings, inputs) == 204);
static_assert(sizeof(ExtraInputSettings) == 14);
static_assert(offsetof(ExtraInputSettings, hourlyMax) == 10);
static_assert(sizeof(TunesRecord) == 510);
static_assert(offsetof(TunesRecord, dbStart) == 2);
static_assert(offsetof(TunesRecord, dbControl) == 10);
static_assert(offsetof(TunesRecord, systemWord) == 12);
static_assert(offsetof(TunesRecord, db) == 16);
static_assert(offsetof(TunesRecord, extra) == 496);
