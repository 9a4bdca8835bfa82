#pragma once
// What the simulated meter holds as its configuration when it starts: a two-input heat meter as a
// fitter would leave it. ТВ1 measures an open system (supply, return and the hot water drawn off on
// pipe 3), ТВ2 a closed one with its make-up water on pipe 3; flow meters and pressure sensors sit on
// their pipes, contract values and hourly limits bracket the flows the archives show, and the four
// controls watch the supply temperature, the return pressure, the hourly dt and ТВ2's flow.
//
// The archives are made from the same inputs (archive_generator.cpp takes DemoInputScheme and
// DemoHourlyVolumeLimits), so a record's scheme is the one the configuration names and an hour
// flagged as out of limits is out of these limits. `--blank-config` keeps the factory-blank memory.

#include "archives/archive_records.h"
#include "config/device_blocks.h"

#include <cstdint>

// СИ, КТ3 and ФРТ of input `input` (0 = ТВ1, 1 = ТВ2) as the meter measures it.
InputScheme DemoInputScheme(int input);

// The hourly volume limits (m³) of pipe `pipe` (0..2) of input `input`.
struct HourlyVolumeLimits {
    float minimum, maximum;
};
HourlyVolumeLimits DemoHourlyVolumeLimits(int input, int pipe);

// The demo configuration for a meter of model `model` answering at `networkAddress`. An input whose
// scheme the model does not allow there stays unused, as does the extra input of a model without one.
void MakeDemoConfiguration(int model, std::uint8_t networkAddress, TunesRecord& tunes, OpenSettings& open,
                           ControlsBlock& controls);
