#pragma once
// What each meter model has: the measuring channels of its thermal inputs and the extra pulse input.
// Channel bits are numbered 3 * input + pipe (both from 0); bit 2 of an input is its spare temperature
// channel (X3 for ТВ1, X4 for ТВ2), which may carry pipe 3, the cold water or the outdoor air.

#include <QString>
#include <cstdint>

inline constexpr int kModelCount = 5;    // "01", "02", "03", "04", "04.1"
inline constexpr int kDefaultModel = 3;  // "04"

struct ModelCapabilities {
    std::uint8_t temperatureChannels;
    std::uint8_t pressureChannels;
    std::uint8_t volumeChannels;  // bit 6 is set for every model and not tested
    std::uint8_t extraInput;      // bit 0: extra pulse input present
};

// The row of a model index, or null for an index the meter family lacks (5 and above).
const ModelCapabilities* CapabilitiesOf(int model);

// "01".."04.1"; "error" for an invalid index, as every label out of its range.
QString ModelName(int model);

// The bit a scheme combination's model mask is tested with: "04.1" is allowed what "01" is;
// 0 for an invalid index, so that no combination allows it.
unsigned ModelPermissionBit(int model);

bool HasTemperatureChannel(int model, int input, int pipe);
bool HasPressureChannel(int model, int input, int pipe);
bool HasVolumeChannel(int model, int input, int pipe);
bool HasSpareTemperatureChannel(int model, int input);
bool HasExtraInput(int model);
