#pragma once
// Meters below firmware level 512 keep the controls inside the record: 574 bytes, the 510 of
// TunesRecord followed by the 64 of ControlsBlock (40 bytes of controls, then 24 of alarms). In memory
// the record is always the 510-byte form with a separate ControlsBlock.

#include <array>
#include <cstdint>

#include "config/device_blocks.h"

inline constexpr int kOlderTunesSize = 574;
using OlderTunesImage = std::array<std::uint8_t, kOlderTunesSize>;

static_assert(sizeof(TunesRecord) + sizeof(ControlsBlock) == kOlderTunesSize);

void SplitOlderTunes(const OlderTunesImage& image, TunesRecord& tunes, ControlsBlock& controls);
OlderTunesImage JoinOlderTunes(const TunesRecord& tunes, const ControlsBlock& controls);
