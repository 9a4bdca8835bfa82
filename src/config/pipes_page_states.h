#pragma once
// What the pipes page says about each channel of a pipe: whether its temperature, pressure and volume
// are measured, taken as contract values or not used at all, and the page's texts for these states.
// A channel is unused when the input's scheme leaves the pipe out (or КТ3 leaves pipe 3 out); what is
// used is measured only where the meter model has the channel (and, for a pressure, a sensor is set).

#include "config/device_blocks.h"

#include <QString>

enum class ChannelState { kMeasured, kContract, kUnused };

struct PipeChannelStates {
    ChannelState temperature = ChannelState::kUnused;
    ChannelState pressure = ChannelState::kUnused;
    ChannelState volume = ChannelState::kUnused;  // never kContract
    bool pressureChannel = false;                 // the model has this pipe's pressure channel
};

// `set`, `input` and `pipe` count from 0. An input without a valid scheme has every channel unused.
PipeChannelStates PipeChannelStatesOf(const ConfigurationBlocks& blocks, int set, int input, int pipe);

// Whether the pipes of an input can be edited at all: its set is in use and it has a scheme.
bool PipesEditable(const TunesRecord& tunes, int set, int input);

// "(t измеряется)", "(t договорное)", "(t не исп.)"; the same with P; "(V измеряется)", "(V не исп.)".
QString TemperatureStateText(ChannelState state);
QString PressureStateText(ChannelState state);
QString VolumeStateText(ChannelState state);

// The captions that carry the pressure unit of the unit system (kUnitSystemSi, kUnitSystemMks).
QString ContractPressureCaption(unsigned unitSystem);
QString SensorLimitCaption(unsigned unitSystem);
