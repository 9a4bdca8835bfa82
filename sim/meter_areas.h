#pragma once
// The register map (meter/register_map.h) as the simulated meter's behaviours use it: whether a
// request touches an area, where an area lies in the image, and the blocks of the image that select
// what the meter answers.

#include "meter/register_map.h"

#include <cstdint>

class MeterImage;
struct ArchiveRequest;

// Registers that hold `bytes` bytes.
constexpr int RegistersFor(int bytes)
{
    return (bytes + 1) / 2;
}

// Whether registers [start, start + count) touch the first `bytes` bytes of the area.
bool Touches(int start, int count, MeterArea area, int bytes);
// ... the area at its largest (an answer area: its whole 256-byte slot).
bool Touches(int start, int count, MeterArea area);
// Whether they touch only part of it: a command block written by halves is no command.
bool CutsThrough(int start, int count, MeterArea area);

// The area's first byte in the image.
std::uint8_t* AreaIn(MeterImage& image, MeterArea area);
const std::uint8_t* AreaIn(const MeterImage& image, MeterArea area);

// The answer areas hold up to a 256-byte slot whatever the record size.
bool IsAnswerArea(MeterArea area);

std::uint16_t FirmwareLevelOf(const MeterImage& image);
// The request block last written at register 99 (it selects what the answer areas hold).
ArchiveRequest RequestOf(const MeterImage& image);
