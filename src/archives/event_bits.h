#pragma once
// Names of the event bits of archive records and current values.

#include <cstdint>

#include <QStringList>

constexpr int kNamedEventBits = 13;  // bits 0..12 are shown (10..12 without a name); 13..15 are not

// The lines of the events section for the set bits, in bit order; an unnamed bit gives an empty line.
QStringList EventBitLines(std::uint16_t events);
