#pragma once
// The current-values area: instantaneous values, laid out by quantity (each quantity an array over
// the pipes or the thermal inputs). Its first six bytes are the meter's clock.

#include <cstddef>
#include <cstdint>

#include "archives/archive_records.h"
#include "meter/archive_date.h"

#pragma pack(push, 1)

struct CurrentValues {
    DateTimeStamp time;
    float t[kArchivePipeCount];
    float P[kArchivePipeCount];
    float Go[kArchivePipeCount];       // Gо, volume flow
    float Gm[kArchivePipeCount];       // Gм, mass flow
    float pipePhi[kArchivePipeCount];  // Ф of the pipes
    float h[kArchivePipeCount];
    float inputPhi[kArchiveInputCount];  // Ф of the inputs
    float hx[kArchiveInputCount];        // hх
    float dp;                            // ДП
    std::uint8_t pipeFlags[kArchivePipeCount];
    std::uint16_t inputFlags[kArchiveInputCount];
    std::uint8_t dpFlags;
    std::uint8_t notInterpreted181;
    std::uint16_t events;
    std::uint16_t abstractControls;
    float tx[kArchiveInputCount];
    float Px[kArchiveInputCount];
    float dt[kArchiveInputCount];
    float tnv[kArchiveInputCount];  // tнв
    std::uint8_t activeSet;         // bit 0: 0 = БД1, 1 = БД2
    std::uint8_t notInterpretedTail[3];

    int ActiveSetIndex() const { return activeSet & 0x01; }
};

#pragma pack(pop)

static_assert(sizeof(CurrentValues) == kCurrentAreaSize);
static_assert(offsetof(CurrentValues, t) == 6);
static_assert(offsetof(CurrentValues, Go) == 54);
static_assert(offsetof(CurrentValues, inputPhi) == 150);
static_assert(offsetof(CurrentValues, dp) == 166);
static_assert(offsetof(CurrentValues, pipeFlags) == 170);
static_assert(offsetof(CurrentValues, inputFlags) == 176);
static_assert(offsetof(CurrentValues, dpFlags) == 180);
static_assert(offsetof(CurrentValues, events) == 182);
static_assert(offsetof(CurrentValues, tx) == 186);
static_assert(offsetof(CurrentValues, tnv) == 210);
static_assert(offsetof(CurrentValues, activeSet) == 218);
