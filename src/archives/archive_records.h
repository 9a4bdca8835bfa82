#pragma once
// Records of the hourly, daily and monthly archives and of the totals archive, and the current
// totals (the totals fields behind a 6-byte stamp). Images after the per-register byte swap:
// little-endian values, meter units, nothing converted.
//
// Thermal input n (0, 1) owns pipes 3n..3n+2; texts number inputs and pipes from 1.

#include <cstddef>
#include <cstdint>

#include "meter/archive_date.h"

constexpr int kArchivePipeCount = 6;
constexpr int kArchiveInputCount = 2;
constexpr int kPipesPerInput = 3;

#pragma pack(push, 1)

// Measurement scheme of one thermal input as the record stores it.
struct InputScheme {
    std::uint8_t si;   // СИ, the measurement scheme
    std::uint8_t kt3;  // КТ3
    std::uint8_t frt;  // ФРТ
    std::uint8_t notInterpreted;
};
static_assert(sizeof(InputScheme) == 4);

struct ArchivePipeValues {
    float t;
    float P;
    float V;
    float M;
};
static_assert(sizeof(ArchivePipeValues) == 16);

struct ArchiveInputValues {
    float tnv;  // tнв
    float tx;
    float Px;
    float dt;
    float dM;
    float Qtv;  // Qтв
    float Q12;
    float Qg;           // Qг
    std::uint16_t VNR;  // ВНР
    std::uint16_t VOS;  // ВОС
};
static_assert(sizeof(ArchiveInputValues) == 36);

// One record of the hourly, daily or monthly archive (the longest form, 218 bytes; shorter forms
// leave the tail 0).
struct ArchiveRecord {
    TChronoArch date;
    ArchivePipeValues pipes[kArchivePipeCount];
    ArchiveInputValues inputs[kArchiveInputCount];
    float dp;  // ДП
    std::uint8_t pipeFlags[kArchivePipeCount];
    std::uint16_t inputFlags[kArchiveInputCount];
    std::uint8_t dpFlags;
    std::uint8_t notInterpreted187;
    std::uint16_t events;
    std::uint16_t abstractControls;
    std::uint16_t networkMinutesWithoutPower;  // network operation without main power
    std::uint16_t displayMinutesWithoutPower;  // display operation without main power
    std::uint16_t minutesPowerOff;             // main power off
    std::uint8_t activeSet;                    // 0 = БД1, 1 = БД2
    InputScheme schemes[kArchiveInputCount];
    std::uint8_t notInterpretedTail[11];
};
static_assert(sizeof(ArchiveRecord) == 218);
static_assert(offsetof(ArchiveRecord, pipes) == 4);
static_assert(offsetof(ArchiveRecord, inputs) == 100);
static_assert(offsetof(ArchiveRecord, dp) == 172);
static_assert(offsetof(ArchiveRecord, pipeFlags) == 176);
static_assert(offsetof(ArchiveRecord, inputFlags) == 182);
static_assert(offsetof(ArchiveRecord, dpFlags) == 186);
static_assert(offsetof(ArchiveRecord, events) == 188);
static_assert(offsetof(ArchiveRecord, abstractControls) == 190);
static_assert(offsetof(ArchiveRecord, networkMinutesWithoutPower) == 192);
static_assert(offsetof(ArchiveRecord, minutesPowerOff) == 196);
static_assert(offsetof(ArchiveRecord, activeSet) == 198);
static_assert(offsetof(ArchiveRecord, schemes) == 199);
static_assert(offsetof(ArchiveRecord, notInterpretedTail) == 207);

struct TotalsPipeValues {
    double V;
    double M;
};
static_assert(sizeof(TotalsPipeValues) == 16);

struct TotalsInputValues {
    double dM;
    double Qtv;
    double Q12;
    double Qg;
    std::uint16_t VNR;
    std::uint16_t VOS;
    std::uint16_t vMinTime;      // "НС Vmin"
    std::uint16_t vMaxTime;      // "НС Vmax"
    std::uint16_t dtTime;        // "НС dt"
    std::uint16_t powerOffTime;  // "НС отк.пит."
    std::uint16_t tFaultTime;    // "НС tнеиспр."
};
static_assert(sizeof(TotalsInputValues) == 46);

// Everything of a totals record after its date; shared by the archive and the current form.
struct TotalsBody {
    TotalsPipeValues pipes[kArchivePipeCount];
    TotalsInputValues inputs[kArchiveInputCount];
    double dp;
    std::uint32_t networkMinutesWithoutPower;
    std::uint32_t displayMinutesWithoutPower;
    std::uint32_t minutesPowerOff;
    std::uint8_t activeSet;
    InputScheme schemes[kArchiveInputCount];
    std::uint8_t notInterpretedTail[11];
};
static_assert(sizeof(TotalsBody) == 228);

// One record of the totals archive (the longer form, 232 bytes).
struct TotalsRecord {
    TChronoArch date;
    TotalsBody body;
};
static_assert(sizeof(TotalsRecord) == 232);
static_assert(offsetof(TotalsRecord, body) + offsetof(TotalsBody, inputs) == 100);
static_assert(offsetof(TotalsRecord, body) + offsetof(TotalsBody, dp) == 192);
static_assert(offsetof(TotalsRecord, body) + offsetof(TotalsBody, networkMinutesWithoutPower) == 200);
static_assert(offsetof(TotalsRecord, body) + offsetof(TotalsBody, activeSet) == 212);
static_assert(offsetof(TotalsRecord, body) + offsetof(TotalsBody, schemes) == 213);

// The current totals, and a totals-archive record prepared for display: every field 2 bytes
// further on. The meter delivers the first 222 bytes.
struct CurrentTotalsRecord {
    DateTimeStamp time;
    TotalsBody body;
};
static_assert(sizeof(CurrentTotalsRecord) == 234);
static_assert(offsetof(CurrentTotalsRecord, body) + offsetof(TotalsBody, pipes) == 6);
static_assert(offsetof(CurrentTotalsRecord, body) + offsetof(TotalsBody, dp) == 194);
static_assert(offsetof(CurrentTotalsRecord, body) + offsetof(TotalsBody, activeSet) == 214);

#pragma pack(pop)

// The meter's program version word decides how many bytes a record has on the wire.
std::size_t ArchiveRecordSize(std::uint16_t versionWord);  // 206, 208 or 218
std::size_t TotalsRecordSize(std::uint16_t versionWord);   // 220 or 232
constexpr std::size_t kCurrentAreaSize = 222;              // current values and current totals

// The archive record's date in a zeroed stamp (minute and second 0), its data bytes behind it.
CurrentTotalsRecord ToCurrentTotalsForm(const TotalsRecord& record);
