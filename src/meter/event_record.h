#pragma once
// One entry of the three event logs (DB changes, administrative events, diagnostics): the time,
// a descriptor word naming what changed and how the old and new values are stored.

#include <cstddef>
#include <cstdint>

#include <QString>

#include "meter/archive_date.h"

// How the old and new value fields are read (descriptor bits 12..14).
enum EventValueKind : int {
    kEventValueNone = 0,
    kEventValueU8 = 1,   // first byte
    kEventValueU16 = 2,  // first two bytes
    kEventValueU32 = 3,  // all four bytes
    kEventValueFloat = 4,
    kEventValueChrono = 5,   // a TChronoArch
    kEventValueChrono2 = 6,  // a TChronoArch as well
    kEventValueTime = 7,     // first three bytes, shown as three two-digit numbers
};

// "нет", "unsigned char", ... as the event-log report names the kind.
QString EventValueKindName(EventValueKind kind);

#pragma pack(push, 1)

struct EventRecord {
    DateTimeStamp time;
    std::uint16_t descriptor;
    std::uint8_t oldValue[4];
    std::uint8_t newValue[4];

    // "Тип изменяемой величины", 0..511; the meaning is the meter's.
    int QuantityType() const { return descriptor & 0x01FF; }
    // Pipe, input or the like, 0..7.
    int Context() const { return (descriptor >> 9) & 0x07; }
    EventValueKind ValueKind() const { return static_cast<EventValueKind>((descriptor >> 12) & 0x07); }
    // 0 = БД1, 1 = БД2.
    int ParameterSet() const { return (descriptor >> 15) & 0x01; }
};

#pragma pack(pop)

static_assert(sizeof(EventRecord) == 16);
static_assert(offsetof(EventRecord, descriptor) == 6);
static_assert(offsetof(EventRecord, oldValue) == 8);
static_assert(offsetof(EventRecord, newValue) == 12);

constexpr std::size_t kEventRecordSize = sizeof(EventRecord);

// A value field read as its kind says. Integer kinds give the unsigned value; the others 0.
std::uint32_t EventValueInteger(EventValueKind kind, const std::uint8_t (&value)[4]);
float EventValueFloat(const std::uint8_t (&value)[4]);
